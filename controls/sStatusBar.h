// The skinned status bar: the framework's status bar drawn from a skin
// section ("STATUSBAR" unless told otherwise) while a skin is loaded: the
// bar's background, each panel framed by the section's "STATUSPANELMASK" or
// divided from the next by the section "DIVIDER", the texts in the skin's
// colours and the size grip image. The look lives in a cache picture that is
// rebuilt only when something changed. Setting a panel's text still only
// stores it and marks the bar once: the bar repaints when messages are next
// processed, and other programs keep reading the texts with the platform's
// status bar messages.
#pragma once

#include <windows.h>

#include "controls/skindata/sCommonData.h"
#include "framework/Graphics.h"
#include "framework/StatusBar.h"

namespace translit {

class TsStatusBar : public fw::TStatusBar {
 public:
  explicit TsStatusBar(fw::TComponent* owner);
  ~TsStatusBar() override;
  const char* ClassName() const override { return "TsStatusBar"; }

  // Published.
  TsCtrlSkinData& SkinData() { return FSkinData; }

  // Where an owner-drawn panel's handler draws: pointed at the picture
  // being painted for the duration of the call.
  fw::TCanvas& Canvas() { return FCanvas; }

  // The skin draws the bar (a valid section and a window to paint).
  bool SkinnedNow();
  // Repaints the cache when it is stale, when the bar lies partly outside
  // its parent or the parent says it does.
  void PaintBarCache();
  // The client area from the cache into dc (the window's own, through
  // BeginPaint, without one).
  void PaintBar(HDC given);

  void Loaded() override;
  void PanelTextChanged() override;

 protected:
  void WndProc(fw::TMessage& m) override;
  void DrawPanel(fw::TStatusPanel& panel, HDC dc, const RECT& rect) override;

 private:
  bool SkinMessage(fw::TMessage& m);
  bool SkinnedMessage(fw::TMessage& m);
  void RepaintCache();
  void DrawPanels();
  // R is the panel's rectangle inside its frame; bar the whole bar for the
  // simple panel, else R.
  void DrawSkinnedPanel(fw::TStatusPanel* panel, const RECT& r, bool last, bool simple);
  void DrawDivider(const RECT& r);
  void DrawGrip();
  // The cache's client part into dc at the client's origin; graphic
  // children over it.
  void CopyClient(HDC dc);
  // The cache's border strips, BorderWidth wide, into dc in window
  // coordinates.
  void CopyBorder(HDC dc);
  void OnNcPaint();
  void OnPrint(HDC dc);

  TsCtrlSkinData FSkinData;
  fw::TCanvas FCanvas;
};

// Registers TsStatusBar with the layout reader.
void RegisterStatusBarClass();

}  // namespace translit
