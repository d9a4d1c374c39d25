// Skinned non-client scroll bars. The object takes the scroll bars' space
// from the client area itself (the platform computes the frame without its
// bars), paints the bars from the skin's scroll sections, answers their hit
// tests and runs their mouse handling: hover, arrows and track held with
// auto-repeat (first after 300 ms, then every 55 ms), the thumb dragged
// with SB_THUMBTRACK on every changed position, SB_THUMBPOSITION and
// SB_ENDSCROLL at the button-up.
#pragma once

#include <windows.h>

#include <memory>

#include "controls/acMainWnd.h"
#include "controls/acScrollBars.h"

namespace translit {

// Timer identifiers of the bars: hover tracking, first auto-repeat delay,
// auto-repeat.
constexpr UINT_PTR kHoverTimer = 0xFFF2;
constexpr UINT_PTR kFirstDelayTimer = 0xFFFD;
constexpr UINT_PTR kRepeatTimer = 0xFFFE;
constexpr UINT kHoverIntervalMs = 20;
constexpr UINT kFirstDelayMs = 300;
constexpr UINT kRepeatIntervalMs = 55;

// One set for all attached windows: only one bar can be pressed or hovered.
struct TacScrollTracking {
  HWND HotWindow = nullptr;
  int PressBar = -1;  // -1 none, 0 horizontal, 1 vertical
  int PressPart = spNone;
  int PressPartNow = spNone;
  UINT ScrollMsg = 0;
  UINT_PTR RepeatTimer = 0;
  int HoverBar = -1;
  int HoverPart = spNone;
  int LastHoverPart = spNone;
  RECT HoverRect{};  // screen coordinates
  UINT_PTR HoverTimer = 0;
  RECT DragBarRect{};  // screen coordinates
  int DragThumbSize = 0;
  int DragThumbStart = 0;  // screen coordinate along the bar
  int DragGrabOffset = 0;
  int LastTrackPos = 0;
};
TacScrollTracking& ScrollTracking();

class TacScrollWnd : public TacMainWnd {
 public:
  ~TacScrollWnd() override;
  const char* ClassName() const override { return "TacScrollWnd"; }

  std::unique_ptr<TacScrollBar> HorzBar;
  std::unique_ptr<TacScrollBar> VertBar;
  bool ThumbTracking = false;
  bool LeftScrollBar = false;
  int LeftEdge = 0, RightEdge = 0, TopEdge = 0, BottomEdge = 0;
  bool InStyleTrick = false;

  // Re-reads both bars' scroll info and, with repaint (and forms not
  // frozen), repaints the non-client area. Nothing for a hidden window or
  // while the skin data is updating.
  void RefreshScrolls(bool repaint);

  // Rectangles in window coordinates (origin at the window's top-left).
  RECT BarRect(const TacScrollBar& bar) const;
  RECT CornerRect() const;
  // A size grip belongs in the corner: the parent is a top-level window and
  // the corner (with the window's frame) touches the bottom-right (with a
  // left scroll bar bottom-left) corner of its client area.
  bool GripBelongs() const;
  // The platform reports the bar usable.
  bool BarEnabled(const TacScrollBar& bar) const;

  // Paints both bars and the corner into dc (the window DC when none); a
  // hidden window's only when printed.
  void PaintScrollBars(HDC dc, bool printing = false);
  // Paints one bar into dc (window coordinates) with a pressed part and,
  // while dragged, the thumb at thumbStart (from the bar's start).
  void PaintBar(HDC dc, const TacScrollBar& bar, int pressedPart, int thumbStart = -1);

  void WndProc(fw::TMessage& m) override;

 protected:
  void AttachScrolls() override;
  void DetachScrolls(bool repaint) override;
  // The non-client part of the message handling; true when handled.
  bool ScrollMessage(fw::TMessage& m);
  void SendScroll(UINT scrollMsg, int code, int position);
  // The bars are painted again once the messages waiting now are handled:
  // the window's own code may have had the platform draw its bars.
  void PostRefresh();
  // The background under the bars: the window's frame picture at the bar's
  // place, else the skin data's colour.
  ParentCache BarBackground(const RECT& bar) const;

 private:
  void ReadInfo(TacScrollBar& bar) const;
  TacScrollBar* BarOfHit(WPARAM hit) const;
  int BarIndex(const TacScrollBar* bar) const { return bar == HorzBar.get() ? 0 : 1; }
  RECT ScreenRect(const RECT& windowRect) const;
  // Position along a bar of a screen point.
  static int Along(const TacScrollBar& bar, POINT screen) { return bar.Vertical() ? screen.y : screen.x; }
  void PaintCorner(HDC dc);
  void OnNcCalcSize(fw::TMessage& m);
  void OnNcHitTest(fw::TMessage& m);
  void OnNcMouseMove(fw::TMessage& m);
  bool OnNcButtonDown(fw::TMessage& m);
  void OnTimer(UINT_PTR id);
  void TrackMouse(POINT screen);
  void EndPress(bool passOn, fw::TMessage* m);
  void ReleaseTracking();
  bool FRefreshPosted = false;
};

// The message that carries a posted refresh of the bars.
UINT ScrollRefreshMessage();

// The horizontal or vertical bar of an attached window of the scroll
// family, found through its "ACSBSC" property; none otherwise.
TacScrollBar* ScrollBarOf(HWND handle, std::uint16_t kind);

}  // namespace translit
