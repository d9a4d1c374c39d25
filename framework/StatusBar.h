// The status bar: a superclassed platform status bar docked at the bottom of
// its parent, with a collection of panels.
//
// The platform control draws the bar, its frames and grip; the panels' texts
// are drawn by the bar itself (every part is owner-drawn at the platform
// level, with the platform's own text routine). Setting a text therefore only
// stores it and marks the bar for repainting once: a program that sets a text
// per file of a long loop pays for one paint after the loop, not one per file.
// The texts are still answered to the platform's text queries, so other
// programs reading the bar see them.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/core/ButtonLayout.h"

namespace fw {

class TStatusBar;

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel : public TPersistent {
 public:
  explicit TStatusPanel(TStatusBar* bar) : FBar(bar) {}
  const char* ClassName() const override { return "TStatusPanel"; }

  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel b);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle s);
  // Where the text stands in the panel.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  int Index() const;

 private:
  TStatusBar* FBar;
  std::string FText;
  int FWidth = 50;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
  TAlignment FAlignment = taLeftJustify;
};

class TStatusPanels {
 public:
  explicit TStatusPanels(TStatusBar* bar) : FBar(bar) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TStatusPanel& operator[](int i) { return *FItems.at(static_cast<std::size_t>(i)); }
  TStatusPanel& Add();
  void Clear();
  int IndexOf(const TStatusPanel* p) const;

 private:
  TStatusBar* FBar;
  std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

class TStatusBar;
// Paints a panel of style psOwnerDraw into rect (client coordinates).
using TDrawPanelEvent = std::function<void(TStatusBar* bar, TStatusPanel& panel, const RECT& rect)>;

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* owner);
  const char* ClassName() const override { return "TStatusBar"; }

  TStatusPanels& Panels() { return FPanels; }
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& s);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool v);

  TDrawPanelEvent OnDrawPanel;
  void SetOnDrawPanel(TDrawPanelEvent e) { OnDrawPanel = std::move(e); }

  // Pushes the panels' widths and styles to the window.
  void UpdatePanels();
  void UpdatePanel(int index);
  // A panel's text changed: the bar is repainted when messages are next
  // processed.
  virtual void PanelTextChanged();

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  // Paints panel's text (style psText) or fires OnDrawPanel (psOwnerDraw).
  virtual void DrawPanel(TStatusPanel& panel, HDC dc, const RECT& rect);
  // For a bar that paints itself instead of the platform: the window has
  // painted, so the next text needs a new invalidation.
  void RepaintDone() { FRepaintPending = false; }

 private:
  bool AnswerTextQuery(TMessage& m);

  TStatusPanels FPanels;
  bool FSimplePanel = false;
  std::string FSimpleText;
  bool FSizeGrip = true;
  // Set when the bar has been invalidated for new texts and has not painted
  // since; further texts need no new invalidation.
  bool FRepaintPending = false;
};

}  // namespace fw
