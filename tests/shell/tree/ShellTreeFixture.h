// What the shell tree tests share: a form with a shell tree on it, a message
// pump with a time limit, real mouse and keyboard input, an answerer for the
// boxes that come up while a test waits, and a drive without a medium.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "shell/tree/acShellTreeView.h"
#include "tests/support/GuiPump.h"
#include "tests/support/RealInput.h"

namespace translit::test {

using testing_gui::PumpFor;
using testing_gui::PumpUntil;

// Real input at screen points.
inline void MouseMove(POINT p) { testing_gui::MoveMouse(p); }
inline void MouseButton(DWORD flags) { testing_gui::MouseButtons(flags); }
void ClickAt(POINT p, bool right = false);
// Types text (as characters, whatever the keyboard layout), then nothing.
void TypeText(const std::string& ansi);
using testing_gui::PressKey;

// A form of the application with a shell tree filling most of it, shown and
// in front.
class TreeForm {
 public:
  explicit TreeForm(const TacRoot& root, TacShellObjectTypes types = {otFolders});
  ~TreeForm();
  TreeForm(const TreeForm&) = delete;
  TreeForm& operator=(const TreeForm&) = delete;

  // The node of a top-level child of node with that caption, or none.
  static fw::TTreeNode* Child(fw::TTreeNode* node, const std::string& text);
  static std::vector<std::string> ChildTexts(fw::TTreeNode* node);
  fw::TTreeNode* Root() const { return tree->Items().GetFirstNode(); }
  // The screen point in the middle of a node's text.
  POINT TextPoint(fw::TTreeNode* node) const;
  HWND EditControl() const;
  void BringToFront();

  std::unique_ptr<fw::TForm> form;
  TsShellTreeView* tree = nullptr;
};

// Answers every box that comes up while it lives: the framework's message
// forms with their first button, the platform's dialogs with the button of
// the answer given (IDOK by default). It remembers the boxes' texts.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int platformAnswer = IDOK);
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  void SetAnswer(int answer) { FAnswer = answer; }
  std::vector<std::string> texts;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  static inline BoxAnswerer* active = nullptr;
  int FAnswer;
  UINT_PTR FTimer = 0;
};

// The command numbers of the shell's context menu of folder by verb, as the
// tree's menu numbers them (from 1).
std::vector<std::pair<std::string, UINT>> ContextMenuVerbs(TacShellFolder& folder);
UINT CommandOfVerb(TacShellFolder& folder, const std::string& verb);

// Acts on the popup menu that comes up while it lives: clicks the item of a
// command with the mouse, or closes the menu with Escape when the command is
// 0. It remembers the menu's commands and whether the menu's extension
// interface was in the process-wide slot meanwhile.
class MenuDriver {
 public:
  explicit MenuDriver(UINT command);
  ~MenuDriver();
  MenuDriver(const MenuDriver&) = delete;
  MenuDriver& operator=(const MenuDriver&) = delete;

  bool seen = false;
  bool slotFilled = false;
  std::vector<UINT> commands;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  static inline MenuDriver* active = nullptr;
  UINT FCommand;
  UINT_PTR FTimer = 0;
};

// A CD drive of the platform with no disc in it, made through Wine's mount
// manager for as long as the object lives, on the first free letter from M.
class NoMediumDrive {
 public:
  NoMediumDrive();
  ~NoMediumDrive();
  NoMediumDrive(const NoMediumDrive&) = delete;
  NoMediumDrive& operator=(const NoMediumDrive&) = delete;
  bool Made() const { return FLetter != 0; }
  // "M:\".
  std::string Root() const { return std::string(1, FLetter) + ":\\"; }

 private:
  bool Define(char letter, bool remove);
  char FLetter = 0;
};

// The visible top-level windows of this process other than the given ones.
std::vector<HWND> OtherVisibleWindows(const std::vector<HWND>& known);

}  // namespace translit::test
