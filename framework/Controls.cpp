// Controls, windowed controls and the one window procedure of the framework.
#include "framework/Controls.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>

#include "framework/ActnList.h"
#include "framework/Application.h"

namespace fw {
namespace {

constexpr const char* kControlProp = "FwControl";

// The controls of this process's windows. The window property marks a
// window as the framework's, but Wine keeps window properties in its server
// (every GetProp is a round trip, some 18 us here): the window procedure
// finds its control in this table instead.
class ControlTable {
 public:
  void Add(HWND wnd, TWinControl* control) {
    std::lock_guard lock(FLock);
    FControls[wnd] = control;
  }
  void Remove(HWND wnd) {
    std::lock_guard lock(FLock);
    FControls.erase(wnd);
  }
  TWinControl* Find(HWND wnd) {
    std::lock_guard lock(FLock);
    auto it = FControls.find(wnd);
    return it == FControls.end() ? nullptr : it->second;
  }

 private:
  std::mutex FLock;
  std::unordered_map<HWND, TWinControl*> FControls;
};

ControlTable& WindowControls() {
  static ControlTable table;
  return table;
}

void AttachControl(HWND wnd, TWinControl* control) {
  ::SetPropA(wnd, kControlProp, control);
  WindowControls().Add(wnd, control);
}

// The control whose window is being created on this thread: the first
// message of the new window attaches it.
thread_local TWinControl* gCreating = nullptr;

// The window the mouse is in, of the windows of this thread: one at a
// time, as the platform tracks it.
thread_local TWinControl* gMouseWindow = nullptr;
// Checks now and then that the mouse is still in that window.
thread_local UINT_PTR gMouseCheck = 0;
constexpr UINT kMouseCheckMs = 100;

// Default procedures of the platform classes we superclass, by our class name.
std::map<std::string, WNDPROC>& DefaultProcs() {
  static std::map<std::string, WNDPROC> procs;
  return procs;
}

bool IsWindowed(const TControl* c) { return dynamic_cast<const TWinControl*>(c) != nullptr; }

}  // namespace

RECT ClientRectInWindow(HWND wnd) {
  RECT client{}, window{};
  ::GetClientRect(wnd, &client);
  ::GetWindowRect(wnd, &window);
  POINT origin{0, 0};
  ::ClientToScreen(wnd, &origin);
  ::OffsetRect(&client, origin.x - window.left, origin.y - window.top);
  return client;
}

// ---- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont.OnChange = [this] {
    if (!FFontFromParent) FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  if (FAction) FAction->RemoveClient(this);
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::ReadIntoContainer(TComponent* container) {
  if (auto* w = dynamic_cast<TWinControl*>(container)) SetParent(w);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  bool visibleGraphic = FParent && FVisible && !IsWindowed(this) && FParent->HandleAllocated();
  if (visibleGraphic) {
    RECT old = BoundsRect();
    ::InvalidateRect(FParent->Handle(), &old, TRUE);
  }
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (visibleGraphic) Invalidate();
  BoundsChanged();
  if (FParent && FAlign != alNone && !Loading()) FParent->AlignControls();
}

int TControl::ClientWidth() const {
  RECT r = ClientRect();
  return r.right - r.left;
}

int TControl::ClientHeight() const {
  RECT r = ClientRect();
  return r.bottom - r.top;
}

void TControl::SetClientSize(int width, int height) { SetBounds(FLeft, FTop, width, height); }

void TControl::SetAlign(TAlign a) {
  if (a == FAlign) return;
  FAlign = a;
  if (FParent && !Loading()) FParent->AlignControls();
}

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Perform(CM_VISIBLECHANGED, v, 0);
  if (FParent) {
    if (!IsWindowed(this) && FParent->HandleAllocated()) {
      RECT r = BoundsRect();
      ::InvalidateRect(FParent->Handle(), &r, TRUE);
    }
    if (FAlign != alNone) FParent->AlignControls();
  }
}

void TControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetText(const std::string& s) {
  if (s == FText) return;
  FText = s;
  TextChanged();
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode mode) {
  if (mode == FBiDiMode) return;
  FBiDiMode = mode;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
  FParentFont = v;
  if (v && FParent) {
    FFontFromParent = true;
    FFont.Assign(FParent->Font());
    FFontFromParent = false;
  }
}

void TControl::SetColor(TColor c) {
  if (c == FColor) return;
  FColor = c;
  FParentColor = false;
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  FParentColor = v;
  if (v && FParent) {
    FColor = FParent->Color();
    ColorChanged();
  }
}

void TControl::FontChanged() {
  Invalidate();
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::ColorChanged() {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::Invalidate() {
  if (FParent && FParent->HandleAllocated() && FVisible) {
    RECT r = BoundsRect();
    ::InvalidateRect(FParent->Handle(), &r, !(FControlStyle & csOpaque));
  }
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Click() {
  if (OnClick)
    OnClick(this);
  else if (FAction)
    FAction->Execute();
}

void TControl::SetAction(TCustomAction* action) {
  if (action == FAction) return;
  if (FAction) FAction->RemoveClient(this);
  FAction = action;
  if (!FAction) return;
  FAction->AddClient(this);
  Perform(CM_ACTIONUPDATE, 0, reinterpret_cast<LPARAM>(FAction));
}

POINT TControl::ClientToScreen(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->HandleAllocated()) {
    ::ClientToScreen(w->FHandle, &p);
    return p;
  }
  if (FParent) return FParent->ClientToScreen(POINT{p.x + FLeft, p.y + FTop});
  return p;
}

POINT TControl::ScreenToClient(POINT p) const {
  POINT origin = ClientToScreen(POINT{0, 0});
  return POINT{p.x - origin.x, p.y - origin.y};
}

TWinControl* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return const_cast<TWinControl*>(dynamic_cast<const TWinControl*>(c));
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_PARENTFONTCHANGED:
      if (FParentFont && FParent) {
        FFontFromParent = true;
        FFont.Assign(FParent->Font());
        FFontFromParent = false;
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (FParentColor && FParent) {
        FColor = FParent->Color();
        ColorChanged();
      }
      return;
    case CM_ENABLEDCHANGED:
      // A control without a window shows it when repainted.
      Invalidate();
      return;
    case CM_ACTIONUPDATE:
      if (FAction && reinterpret_cast<TCustomAction*>(m.LParam) == FAction) SetEnabled(FAction->Enabled());
      return;
    case CM_MOUSEWHEEL:
      if (OnMouseWheel) {
        bool handled = false;
        OnMouseWheel(this, GET_WHEEL_DELTA_WPARAM(m.WParam),
                     POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))}, handled);
        m.Result = handled ? 1 : 0;
      }
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FControlStyle & csClickEvents) FControlState |= csClicked;
      break;
    case WM_LBUTTONUP:
      if (FControlState & csClicked) {
        FControlState &= ~csClicked;
        POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        RECT r = ClientRect();
        if (::PtInRect(&r, p) && !IsWindowed(this)) Click();
      }
      break;
    default:
      break;
  }
  Dispatch(m);
}

void TControl::DefaultHandler(TMessage&) {}

// ---- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  MarkDestroying();
  // Children owned elsewhere stay alive but lose their parent.
  for (TControl* c : std::vector<TControl*>(FControls)) RemoveControl(c);
  DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND wnd) {
  if (!wnd) return nullptr;
  return WindowControls().Find(wnd);
}

void TWinControl::InsertControl(TControl* c) {
  c->FParent = this;
  FControls.push_back(c);
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    FTabList.push_back(w);
    if (FHandle) w->HandleNeeded();
  } else if (FHandle) {
    c->Invalidate();
  }
  if (c->FParentFont) {
    c->FFontFromParent = true;
    c->FFont.Assign(Font());
    c->FFontFromParent = false;
  }
  if (c->FParentColor) c->FColor = Color();
  if (c->FAlign != alNone && !c->Loading()) AlignControls();
}

void TWinControl::RemoveControl(TControl* c) {
  if (c == FMouseControl) FMouseControl = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
    if (!Destroying()) w->DestroyHandle();
  } else if (FHandle && c->FVisible) {
    RECT r = c->BoundsRect();
    ::InvalidateRect(FHandle, &r, TRUE);
  }
  FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
  c->FParent = nullptr;
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->FTabList;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool v) {
  FTabStop = v;
  if (FHandle) {
    LONG style = ::GetWindowLongA(FHandle, GWL_STYLE);
    ::SetWindowLongA(FHandle, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
}

std::vector<TWinControl*> TWinControl::TabList() const { return FTabList; }

void TWinControl::SetBorderWidth(int width) {
  width = std::max(width, 0);
  if (width == FBorderWidth) return;
  FBorderWidth = width;
  if (FHandle)
    ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return FHandle && ::GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (CanFocus()) ::SetFocus(Handle());
}

// Depth first over the tab lists, as the dialog keys walk them.
static void CollectTabStops(const TWinControl* parent, std::vector<TWinControl*>& out) {
  for (TWinControl* w : parent->TabList()) {
    if (!w->Visible() || !w->Enabled()) continue;
    if (w->TabStop()) out.push_back(w);
    CollectTabStops(w, out);
  }
}

bool TWinControl::SelectNext(TWinControl* current, bool forward) {
  std::vector<TWinControl*> stops;
  CollectTabStops(this, stops);
  if (stops.empty()) return false;
  auto it = std::find(stops.begin(), stops.end(), current);
  std::size_t n = stops.size();
  std::size_t index;
  if (it == stops.end())
    index = forward ? 0 : n - 1;
  else
    index = (static_cast<std::size_t>(it - stops.begin()) + (forward ? 1 : n - 1)) % n;
  stops[index]->SetFocus();
  return true;
}

bool TWinControl::Showing() const {
  if (FHandle) return ::IsWindowVisible(FHandle) != 0;
  return false;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (FHandle) {
    RECT r;
    ::GetWindowRect(FHandle, &r);
    HWND parentWnd = ::GetParent(FHandle);
    if (parentWnd && (::GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
      ::MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
    if (r.left != Left() || r.top != Top() || r.right - r.left != Width() || r.bottom - r.top != Height())
      ::SetWindowPos(FHandle, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, Width(), Height()};
  if (FHandle) ::GetClientRect(FHandle, &r);
  return r;
}

void TWinControl::Invalidate() {
  if (FHandle) ::InvalidateRect(FHandle, nullptr, !(FControlStyle & csOpaque));
}

void TWinControl::Update() {
  if (FHandle) ::UpdateWindow(FHandle);
}

void TWinControl::Broadcast(TMessage& m) {
  for (TControl* c : std::vector<TControl*>(FControls)) {
    c->WindowProc(m);
    if (m.Result != 0) return;
  }
}

void TWinControl::AlignControls() {
  if (FAligning) return;
  FAligning = true;
  RECT r = ClientRect();
  auto place = [&](TAlign which) {
    for (TControl* c : FControls) {
      if (c->FAlign != which || !c->FVisible) continue;
      switch (which) {
        case alTop:
          c->SetBounds(r.left, r.top, r.right - r.left, c->FHeight);
          r.top += c->FHeight;
          break;
        case alBottom:
          c->SetBounds(r.left, r.bottom - c->FHeight, r.right - r.left, c->FHeight);
          r.bottom -= c->FHeight;
          break;
        case alLeft:
          c->SetBounds(r.left, r.top, c->FWidth, r.bottom - r.top);
          r.left += c->FWidth;
          break;
        case alRight:
          c->SetBounds(r.right - c->FWidth, r.top, c->FWidth, r.bottom - r.top);
          r.right -= c->FWidth;
          break;
        case alClient:
          c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
          break;
        default:
          break;
      }
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
  FAligning = false;
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateWnd();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = Text();
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (FTabStop) p.Style |= WS_TABSTOP;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  if (Parent()) p.WndParent = Parent()->Handle();
  p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  p.WindowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  p.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  // Making the parent's window makes the children's too, this one among them.
  if (FHandle) return;
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation(Format("Control '%s' has no parent window", Name()));

  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  auto& procs = DefaultProcs();
  auto known = procs.find(p.WinClassName);
  if (known == procs.end()) {
    WNDCLASSA wc = p.WindowClass;
    WNDPROC def = ::DefWindowProcA;
    if (!p.BaseClassName.empty()) {
      if (!::GetClassInfoA(nullptr, p.BaseClassName.c_str(), &wc))
        throw EOutOfResources(Format("Window class %s is not available", p.BaseClassName));
      def = wc.lpfnWndProc;
      // Our own class styles are kept out of a superclass except the ones the
      // platform control already has.
    }
    wc.lpfnWndProc = FwWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = p.WinClassName.c_str();
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOutOfResources(Format("Cannot register window class %s", p.WinClassName));
    known = procs.emplace(p.WinClassName, def).first;
  }
  FDefWndProc = known->second;

  TWinControl* previous = gCreating;
  gCreating = this;
  FControlState |= csCreating;
  HWND wnd = ::CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                               p.Height, p.WndParent, p.Menu, instance, nullptr);
  gCreating = previous;
  FControlState &= ~csCreating;
  if (!wnd) throw EOutOfResources(Format("Error creating window of class %s", p.WinClassName));
  if (!FHandle) {
    // Windows whose first messages did not pass through us.
    FHandle = wnd;
    AttachControl(wnd, this);
  }
  ::SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
  CreateHandleDone();
  for (TControl* c : std::vector<TControl*>(FControls))
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  AlignControls();
  // A child made in a parent on screen is on screen at once.
  if (FHandle) UpdateShowing();
}

void TWinControl::UpdateShowing() {
  const bool now = FHandle && ::IsWindowVisible(FHandle);
  if (now != FShowing) {
    FShowing = now;
    Perform(CM_SHOWINGCHANGED, 0, 0);
  }
  for (TControl* c : std::vector<TControl*>(FControls))
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->UpdateShowing();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  // A window made again starts off screen and without the mouse.
  FShowing = false;
  if (gMouseWindow == this) gMouseWindow = nullptr;
  FMouseControl = nullptr;
  if (FHandle) {
    FControlState |= csDestroyingHandle;
    ::DestroyWindow(FHandle);
    FControlState &= ~csDestroyingHandle;
    FHandle = nullptr;
  }
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  HandleNeeded();
}

HBRUSH TWinControl::BackgroundBrush() {
  if (!FBrush) FBrush.Reset(::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color()))));
  return FBrush.Get();
}

void TWinControl::FontChanged() {
  if (FHandle) ::SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
  TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
  for (TControl* c : std::vector<TControl*>(FControls)) c->WindowProc(m);
  TControl::FontChanged();
}

void TWinControl::ColorChanged() {
  FBrush.Reset();
  TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
  for (TControl* c : std::vector<TControl*>(FControls)) c->WindowProc(m);
  TControl::ColorChanged();
}

void TWinControl::TextChanged() {
  if (FHandle) ::SetWindowTextA(FHandle, Text().c_str());
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  bool started = first == nullptr;
  for (TControl* c : FControls) {
    if (!started) {
      started = c == first;
      if (!started) continue;
    }
    if (IsWindowed(c) || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!::RectVisible(dc, &r)) continue;
    SaveDCGuard save(dc);
    ::SetWindowOrgEx(dc, -r.left, -r.top, nullptr);
    ::IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::PaintWindow(HDC dc) { PaintControls(dc, nullptr); }

bool TWinControl::ReflectNotification(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      // Controls have identifier 0 like menus, so the item's window tells:
      // a menu's handle is never a window of ours.
      child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
      break;
    case WM_MEASUREITEM:
      if (m.WParam)
        child = ::GetDlgItem(FHandle, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlID));
      break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    default:
      return false;
  }
  TWinControl* target = FromHandle(child);
  if (!target || target == this) return false;
  m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

TControl* TWinControl::GraphicChildAt(POINT p) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (IsWindowed(c) || !c->Visible() || !c->Enabled()) continue;
    RECT r = c->BoundsRect();
    if (::PtInRect(&r, p)) return c;
  }
  return nullptr;
}

void TWinControl::SetMouseControl(TControl* child) {
  if (child == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = child;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (child && child == FMouseControl) child->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::TrackMouse(POINT client, TControl* child) {
  if (!FHandle) return;
  // Inside the client rectangle: while the mouse is captured its moves
  // come from anywhere.
  RECT r;
  ::GetClientRect(FHandle, &r);
  if (!::PtInRect(&r, client)) {
    if (gMouseWindow == this) {
      gMouseWindow = nullptr;
      MouseLeft();
    }
    return;
  }
  if (gMouseWindow != this) {
    TWinControl* old = gMouseWindow;
    gMouseWindow = this;
    if (old) old->MouseLeft();
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
    ::TrackMouseEvent(&track);
    // The platform's notice is lost when another window of the thread (a
    // tooltip of the platform's control) asks for its own.
    if (!gMouseCheck) gMouseCheck = ::SetTimer(nullptr, 0, kMouseCheckMs, MouseCheck);
    if (gMouseWindow == this) Perform(CM_MOUSEENTER, 0, 0);
  }
  if (gMouseWindow == this) SetMouseControl(child);
}

void TWinControl::MouseLeft() {
  SetMouseControl(nullptr);
  Perform(CM_MOUSELEAVE, 0, 0);
}

void TWinControl::MouseLeaveNotice() {
  // Wine tracks one window at a time and tells the last one it left when
  // another asks: only the window the mouse is in listens.
  if (!FHandle || gMouseWindow != this) return;
  // A mouse this window captured may still be over it; the notice is then
  // only asked for again.
  POINT cursor;
  ::GetCursorPos(&cursor);
  if (::GetCapture() == FHandle && ::WindowFromPoint(cursor) == FHandle) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
    ::TrackMouseEvent(&track);
    return;
  }
  gMouseWindow = nullptr;
  MouseLeft();
}

bool TWinControl::MouseInClient() const { return gMouseWindow == this; }

void CALLBACK TWinControl::MouseCheck(HWND, UINT, UINT_PTR, DWORD) {
  TWinControl* control = gMouseWindow;
  if (control && control->FHandle) {
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (::GetCapture() == control->FHandle || ::WindowFromPoint(cursor) == control->FHandle) return;
    gMouseWindow = nullptr;
    try {
      control->MouseLeft();
    } catch (...) {
      HandleCurrentException();
    }
  }
  if (gMouseCheck && !gMouseWindow) {
    ::KillTimer(nullptr, gMouseCheck);
    gMouseCheck = 0;
  }
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_VISIBLECHANGED:
      // A child window shows or hides with its control; forms show
      // themselves.
      if (FHandle && (::GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD)) {
        ::ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
        UpdateShowing();
      }
      return;
    case CM_FOCUSCHANGED:
      // Every control of the form hears it.
      for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(m.Msg, m.WParam, m.LParam);
      return;
    case CM_DIALOGCHAR:
      Broadcast(m);
      return;
    case WM_SETFOCUS:
      TControl::WndProc(m);
      if (FHandle && ::GetFocus() == FHandle)
        if (TWinControl* form = ParentForm(); form && form != this)
          form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
      return;
    case WM_MOUSEWHEEL:
      // The control (and its wheel handler) first; what it leaves the
      // platform scrolls.
      m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
      if (m.Result != 0) return;
      break;
    case WM_MOUSELEAVE:
      MouseLeaveNotice();
      break;
    case WM_NCCALCSIZE:
      DefaultHandler(m);
      if (FBorderWidth > 0) {
        RECT* client =
            m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0] : reinterpret_cast<RECT*>(m.LParam);
        ::InflateRect(client, -FBorderWidth, -FBorderWidth);
        if (client->right < client->left) client->right = client->left;
        if (client->bottom < client->top) client->bottom = client->top;
      }
      return;
    case WM_NCPAINT:
      DefaultHandler(m);
      if (FBorderWidth > 0 && FHandle) {
        // The border in the control's colour, around the client area.
        WindowDC dc(FHandle, true);
        RECT window, client = ClientRectInWindow(FHandle);
        ::GetWindowRect(FHandle, &window);
        ::OffsetRect(&window, -window.left, -window.top);
        ::ExcludeClipRect(dc.Get(), client.left, client.top, client.right, client.bottom);
        ::FillRect(dc.Get(), &window, BackgroundBrush());
      }
      return;
    case CM_ENABLEDCHANGED:
      if (FHandle) ::EnableWindow(FHandle, Enabled());
      return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      if (ReflectNotification(m)) return;
      break;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font().Color())));
      ::SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
      m.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
      return;
    }
    case WM_ERASEBKGND:
      if (FDefWndProc == ::DefWindowProcA) {
        RECT r;
        ::GetClientRect(FHandle, &r);
        ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, BackgroundBrush());
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (FDefWndProc == ::DefWindowProcA) {
        if (m.WParam) {
          PaintWindow(reinterpret_cast<HDC>(m.WParam));
        } else {
          PaintScope ps(FHandle);
          PaintWindow(ps.DC());
        }
        m.Result = 0;
        return;
      }
      break;
    case WM_PRINTCLIENT:
      // Windows we paint ourselves print the way they paint, so that
      // WM_PRINT and PrintWindow picture them.
      if (FDefWndProc == ::DefWindowProcA && m.WParam) {
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return;
      }
      break;
    case WM_WINDOWPOSCHANGED: {
      DefaultHandler(m);
      RECT r;
      ::GetWindowRect(FHandle, &r);
      HWND parentWnd = ::GetParent(FHandle);
      if (parentWnd && (::GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
        ::MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
      TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
      AlignControls();
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: {
      // Mouse input over a graphic child goes to that child.
      POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      TControl* child = GraphicChildAt(p);
      if (m.Msg == WM_MOUSEMOVE) {
        TrackMouse(p, child);
        child = GraphicChildAt(p);  // the enter handlers may have changed the children
      }
      if (child) {
        const RECT r = child->BoundsRect();
        m.Result = child->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - r.left, p.y - r.top));
        return;
      }
      break;
    }
    default:
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (FHandle && m.Msg < CM_BASE)
    m.Result = ::CallWindowProcA(FDefWndProc ? FDefWndProc : ::DefWindowProcA, FHandle, m.Msg, m.WParam, m.LParam);
}

LRESULT CALLBACK FwWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = TWinControl::FromHandle(wnd);
  if (!control && gCreating) {
    control = gCreating;
    gCreating = nullptr;
    control->FHandle = wnd;
    AttachControl(wnd, control);
  }
  if (!control) return ::DefWindowProcA(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    control->WindowProc(m);
  } catch (...) {
    // Nothing may cross the platform's frame: the application reports it and
    // the message counts as handled.
    HandleCurrentException();
  }
  if (msg == WM_NCDESTROY) {
    ::RemovePropA(wnd, kControlProp);
    WindowControls().Remove(wnd);
    control->FHandle = nullptr;
    if (gMouseWindow == control) gMouseWindow = nullptr;
  }
  return m.Result;
}

// ---- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(std::make_unique<TCanvas>()) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    CanvasScope scope(*FCanvas, reinterpret_cast<HDC>(m.WParam));
    Paint();
    return;
  }
  TControl::WndProc(m);
}

// ---- TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TCanvas>()) {}
TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
  {
    CanvasScope scope(*FCanvas, dc);
    Paint();
  }
  PaintControls(dc, nullptr);
}

}  // namespace fw
