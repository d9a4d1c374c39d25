// Controls: TControl (position, font, colour, visibility), TWinControl (a
// window of its own with children and tab order), TGraphicControl (painted by
// its parent) and TCustomControl (a window that paints itself on a canvas).
//
// Every windowed control registers a window class named after its C++ class
// and, where the platform has a control of that kind, superclasses it. All
// window procedures enter through one static function that catches every
// exception and hands it to the application.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Components.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"

namespace fw {

class TWinControl;
class TCustomAction;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The reading direction of a control's text and the side it aligns to.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// A wheel turn over a control: delta in WHEEL_DELTA units, the mouse in
// screen coordinates; a handler that scrolled sets handled.
using TMouseWheelEvent = std::function<void(TComponent* sender, int wheelDelta, POINT mousePos, bool& handled)>;

enum TControlStateFlag : unsigned {
  csLButtonDown = 1,
  csClicked = 2,
  csPalette = 4,
  csReadingState = 8,
  csAlignmentNeeded = 16,
  csFocusing = 32,
  csCreating = 64,
  csPaintCopy = 128,
  csCustomPaint = 256,
  csDestroyingHandle = 512,
  csDocking = 1024,
};
using TControlState = unsigned;

enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1,
  csCaptureMouse = 2,
  csClickEvents = 8,
  csFramed = 16,
  csSetCaption = 32,
  csOpaque = 64,
  csDoubleClicks = 128,
  csParentBackground = 0x10000,
};
using TControlStyle = unsigned;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  const char* ClassName() const override { return "TControl"; }

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual RECT ClientRect() const { return RECT{0, 0, FWidth, FHeight}; }
  int ClientWidth() const;
  int ClientHeight() const;
  virtual void SetClientSize(int width, int height);
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign a);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool v);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);
  // Visible and every parent visible and shown.
  virtual bool Showing() const;

  const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& s) { SetText(s); }
  const std::string& Text() const { return FText; }
  virtual void SetText(const std::string& s);

  TFont& Font() { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  TColor Color() const { return FColor; }
  virtual void SetColor(TColor c);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool v);

  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode mode);
  // Text reads from right to left (every mode but bdLeftToRight).
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  // Text aligns to the right as well.
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }

  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& h) { FHint = h; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }

  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState s) { FControlState = s; }
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle s) { FControlStyle = s; }

  // The action the control shows and runs: it takes the action's enabled
  // state, and a click without an OnClick handler runs it.
  TCustomAction* Action() const { return FAction; }
  void SetAction(TCustomAction* action);

  TNotifyEvent OnClick;
  void SetOnClick(TNotifyEvent e) { OnClick = std::move(e); }
  TMouseWheelEvent OnMouseWheel;

  // The procedure every message of this control goes through; replaceable
  // by code that wants to see the control's messages first. It starts as a
  // call of WndProc.
  std::function<void(TMessage&)> WindowProc;
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  virtual void Click();

  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  // The parent form of the control (or the control itself when it is one).
  TWinControl* ParentForm() const;

  void ReadIntoContainer(TComponent* container);
  void Loaded() override;

 protected:
  virtual void WndProc(TMessage& m);
  // Where WndProc hands a message it did not handle itself: a control that
  // answers a message by number overrides it; the rest goes on to
  // DefaultHandler.
  virtual void Dispatch(TMessage& m) { DefaultHandler(m); }
  // What a control does with a message nobody handled.
  virtual void DefaultHandler(TMessage& m);
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void TextChanged() {}
  virtual void BoundsChanged() {}

  TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControlState FControlState = 0;

 private:
  friend class TWinControl;
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FText;
  TFont FFont;
  bool FParentFont = true;
  bool FFontFromParent = false;
  TColor FColor = clWindow;
  bool FParentColor = false;
  std::string FHint;
  bool FShowHint = false;
  TCustomAction* FAction = nullptr;
  TBiDiMode FBiDiMode = bdLeftToRight;
};

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr;  // the control id for child windows
  WNDCLASSA WindowClass{};
  std::string WinClassName;
  // The platform control to superclass ("BUTTON"), or empty.
  std::string BaseClassName;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  const char* ClassName() const override { return "TWinControl"; }

  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  // Recreates the window (after a change of style).
  void RecreateWnd();

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int i) const { return FControls.at(static_cast<std::size_t>(i)); }

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  // A frame of this many pixels around the client area, in the control's
  // colour.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int width);
  // The windowed children in tab order.
  std::vector<TWinControl*> TabList() const;
  // Moves the focus to the next (or previous) tab stop after current.
  bool SelectNext(TWinControl* current, bool forward);

  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  bool Showing() const override;
  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void Invalidate() override;
  void Update() override;

  // Sends a message to every child control.
  void Broadcast(TMessage& m);
  // Lays out the aligned children.
  virtual void AlignControls();
  void PaintControls(HDC dc, TControl* first);

  // The object of a window made by the framework, or nullptr.
  static TWinControl* FromHandle(HWND wnd);

  // Tells this control and its windowed children whose window came on
  // screen or went off it since the last call (CM_SHOWINGCHANGED).
  void UpdateShowing();
  // The mouse is over the window's client area (between the
  // CM_MOUSEENTER and CM_MOUSELEAVE the control was sent). One window of a
  // thread at a time.
  bool MouseInClient() const;

 protected:
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  // After the window exists: apply font, text, children.
  virtual void CreateHandleDone() {}
  virtual void DestroyWnd();
  // Paints graphic children after the window's own painting.
  virtual void PaintWindow(HDC dc);
  void FontChanged() override;
  void ColorChanged() override;
  void TextChanged() override;
  HBRUSH BackgroundBrush();

  // The procedure of the superclassed platform control (or DefWindowProc).
  WNDPROC FDefWndProc = nullptr;

 private:
  friend class TControl;
  friend LRESULT CALLBACK FwWindowProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  bool ReflectNotification(TMessage& m);
  // The graphic child under a client point, or none.
  TControl* GraphicChildAt(POINT p) const;
  // Mouse enter and leave of the window and of its graphic children, made
  // from the mouse moves and the platform's leave notice.
  void TrackMouse(POINT client, TControl* child);
  void MouseLeaveNotice();
  void MouseLeft();
  static void CALLBACK MouseCheck(HWND, UINT, UINT_PTR, DWORD);
  void SetMouseControl(TControl* child);

  HWND FHandle = nullptr;
  std::vector<TControl*> FControls;    // Z order for graphic, creation for windowed
  std::vector<TWinControl*> FTabList;  // windowed children in tab order
  bool FTabStop = false;
  int FBorderWidth = 0;
  UniqueBrush FBrush;
  bool FAligning = false;
  bool FShowing = false;
  TControl* FMouseControl = nullptr;  // the graphic child under the mouse
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  const char* ClassName() const override { return "TGraphicControl"; }
  TCanvas& Canvas() { return *FCanvas; }

 protected:
  void WndProc(TMessage& m) override;
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  const char* ClassName() const override { return "TCustomControl"; }
  TCanvas& Canvas() { return *FCanvas; }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> FCanvas;
};

LRESULT CALLBACK FwWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A window's client rectangle in window coordinates.
RECT ClientRectInWindow(HWND wnd);

}  // namespace fw
