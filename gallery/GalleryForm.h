// The gallery's form: a sizeable skinned form that shows what the skin
// engine draws, all in one place. A frame component draws its border and
// title; a menu bar and a popup menu (right click on the form) are drawn
// from the skin's menu sections; the left column holds the skin buttons and
// push buttons in each of their looks, the right ones a tree view, the
// platform's edit skinned by subclassing and the shell's folder tree; the
// status bar names the skin. The skin is chosen live from the File menu, the
// popup menu or the skin buttons: BlueIce, Slate or none.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/sBitBtn.h"
#include "controls/sBoundLabel.h"
#include "controls/sStatusBar.h"
#include "controls/sTreeView.h"
#include "forms/sSkinProvider.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "gallery/GalleryLayout.h"
#include "gallery/GalleryMemo.h"
#include "gallery/GallerySkins.h"
#include "shell/tree/acShellTreeView.h"
#include "skin/sSkinManager.h"

namespace translit::gallery {

// Indexes of kSkinChoices.
enum TSkinChoiceIndex { scBlueIce, scSlate, scNone };

class TGalleryForm : public fw::TForm {
 public:
  // Looks for its skins where the renaming dialog does.
  explicit TGalleryForm(fw::TComponent* owner) : TGalleryForm(owner, kStoredSkinDirectory) {}
  TGalleryForm(fw::TComponent* owner, const std::string& skinDirectory);
  ~TGalleryForm() override;
  const char* ClassName() const override { return "TGalleryForm"; }

  // Switches to a skin of kSkinChoices (scNone: the platform's look) and
  // shows which one took: a skin that cannot be found leaves none.
  void SelectSkin(int choice);
  // The choice in effect: the loaded skin's, or scNone.
  int CurrentChoice() const;
  // The demo controls (not the skin choice) enabled or disabled at once.
  void SetControlsEnabled(bool on);
  void SetStatusBarShown(bool on);

  TsSkinManager* SkinManager = nullptr;
  TsSkinProvider* SkinProvider = nullptr;
  fw::TMainMenu* MainMenu = nullptr;
  fw::TPopupMenu* Popup = nullptr;
  std::array<TsBitBtn*, 3> SkinButtons{};
  std::array<TsBitBtn*, kDemoButtons> Buttons{};
  TsTreeView* Tree = nullptr;
  TGalleryMemo* Memo = nullptr;
  TsShellTreeView* ShellTree = nullptr;
  TsStatusBar* StatusBar = nullptr;
  // The skin items of the File menu and of the popup menu, with their choice.
  std::vector<std::pair<fw::TMenuItem*, int>> SkinItems;
  fw::TMenuItem* EnabledItem = nullptr;
  fw::TMenuItem* StatusBarItem = nullptr;

  // Panels of the status bar.
  enum { spSkin, spSize, spAction };

  void AlignControls() override;

 protected:
  void WndProc(fw::TMessage& m) override;

 private:
  void MakeMenus();
  void AddSkinItems(fw::TMenuItem& parent);
  void MakeSkinButtons();
  void MakeDemoButtons();
  void MakeTrees();
  void MakeMemo();
  void MakeStatusBar();
  // A caption above a control that has no bound label of its own.
  void AddCaption(fw::TControl* control, const std::string& caption);
  // Puts the state of the skin choice on the menus, buttons and status bar.
  void ShowSkinChoice(const std::string& requested);
  void ShowAction(const std::string& text);
  void ShowAbout();
  // The next choice after the current one, round.
  void NextSkin();

  std::vector<std::unique_ptr<TsBoundLabel>> FCaptions;
  std::vector<fw::TControl*> FDemoControls;
  std::unique_ptr<fw::TBitmap> FGlyph;
};

}  // namespace translit::gallery
