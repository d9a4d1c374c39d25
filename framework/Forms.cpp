// Forms.
#include "framework/Forms.h"

#include <algorithm>
#include <vector>

#include "framework/ClassRegistry.h"
#include "framework/Menus.h"
#include "framework/SystemMetrics.h"
#include "framework/WorkAreas.h"

namespace fw {

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TCanvas>()) {
  SetVisible(false);
  SetColor(clBtnFace);
  FControlStyle |= csAcceptsControls;
}

TCustomForm::~TCustomForm() {
  MarkDestroying();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      HandleCurrentException();
    }
  }
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  // Owned components go while the window they may refer to still exists.
  DestroyComponents();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
  if (s == FBorderStyle) return;
  FBorderStyle = s;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == FBorderIcons) return;
  FBorderIcons = icons;
  RecreateWnd();
}

void TCustomForm::FrameStyles(DWORD& style, DWORD& exStyle) const {
  style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  exStyle = 0;
  switch (FBorderStyle) {
    case bsNone:
      style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow:
      style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) exStyle |= WS_EX_TOOLWINDOW;
  if (FBorderStyle != bsNone && (FBorderIcons & biSystemMenu)) {
    style |= WS_SYSMENU;
    if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
      if (FBorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
      if (FBorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
    }
    if (FBorderStyle == bsDialog && (FBorderIcons & biHelp)) exStyle |= WS_EX_CONTEXTHELP;
  }
  if (FFormStyle == fsStayOnTop) exStyle |= WS_EX_TOPMOST;
}

SIZE TCustomForm::FrameSize() const {
  DWORD style, exStyle;
  FrameStyles(style, exStyle);
  RECT frame{0, 0, 0, 0};
  ::AdjustWindowRectEx(&frame, style, FMenu != nullptr, exStyle);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  // No WS_VISIBLE: the form is shown by Show, after it has been placed.
  FrameStyles(p.Style, p.ExStyle);
  p.WndParent = EnsureApplication().Handle();
  p.WindowClass.style = CS_DBLCLKS;
  if (FPendingClientSize) {
    SIZE frame = FrameSize();
    p.Width = FClientWidth + frame.cx;
    p.Height = FClientHeight + frame.cy;
  }
}

void TCustomForm::SetClientSize(int width, int height) {
  if (HandleAllocated()) {
    RECT wr, cr;
    ::GetWindowRect(Handle(), &wr);
    ::GetClientRect(Handle(), &cr);
    SetBounds(Left(), Top(), width + (wr.right - wr.left) - cr.right, height + (wr.bottom - wr.top) - cr.bottom);
    return;
  }
  // Kept until the window exists: the frame size depends on the border
  // style, which a layout may set later.
  FPendingClientSize = true;
  FClientWidth = width;
  FClientHeight = height;
  SIZE frame = FrameSize();
  TWinControl::SetBounds(Left(), Top(), width + frame.cx, height + frame.cy);
}

RECT TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  if (FPendingClientSize) return RECT{0, 0, FClientWidth, FClientHeight};
  SIZE frame = FrameSize();
  return RECT{0, 0, std::max(0, Width() - static_cast<int>(frame.cx)),
              std::max(0, Height() - static_cast<int>(frame.cy))};
}

void TCustomForm::CreateHandleDone() {
  PutMenuBar();
  if (FPendingClientSize) {
    FPendingClientSize = false;
    SetClientSize(FClientWidth, FClientHeight);
  }
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  if (FMenu) FMenu->OnRebuilt = nullptr;
  FMenu = menu;
  if (menu) {
    menu->FreeNotification(this);
    menu->OnRebuilt = [this](TMenu&) { PutMenuBar(); };
  }
  PutMenuBar();
}

void TCustomForm::SetPopupMenu(TPopupMenu* menu) {
  FPopupMenu = menu;
  if (menu) menu->FreeNotification(this);
}

void TCustomForm::Notification(TComponent* component, bool removing) {
  TWinControl::Notification(component, removing);
  if (!removing) return;
  if (component == FMenu) {
    FMenu = nullptr;
    PutMenuBar();
  }
  if (component == FPopupMenu) FPopupMenu = nullptr;
}

void TCustomForm::PutMenuBar() {
  if (!HandleAllocated()) return;
  HWND wnd = Handle();
  HMENU bar = FMenu ? FMenu->Handle() : nullptr;
  if (::GetMenu(wnd) != bar)
    ::SetMenu(wnd, bar);
  else if (bar)
    ::DrawMenuBar(wnd);
}

bool TCustomForm::MenuMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      // A menu's command: no control window, notification code 0.
      if (m.LParam != 0 || HIWORD(m.WParam) != 0) return false;
      if (FMenu && FMenu->DispatchCommand(LOWORD(m.WParam))) return true;
      return FPopupMenu && FPopupMenu->DispatchCommand(LOWORD(m.WParam));
    case WM_MEASUREITEM:
      if (!TMenu::MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) return false;
      m.Result = TRUE;
      return true;
    case WM_DRAWITEM:
      if (!TMenu::DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam))) return false;
      m.Result = TRUE;
      return true;
    case WM_CONTEXTMENU: {
      if (!FPopupMenu) return false;
      POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      // From the keyboard (-1, -1): the menu opens at the client area's corner.
      if (m.LParam == -1) at = ClientToScreen(POINT{0, 0});
      FPopupMenu->SetPopupComponent(this);
      FPopupMenu->Popup(at.x, at.y);
      return true;
    }
    default:
      return false;
  }
}

void TCustomForm::ApplyPosition() {
  if (FPosition != poScreenCenter && FPosition != poDesktopCenter && FPosition != poMainFormCenter &&
      FPosition != poOwnerFormCenter)
    return;
  RECT area;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if ((FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) && main && main != this &&
      main->HandleAllocated())
    area = main->BoundsRect();
  SetBounds(area.left + ((area.right - area.left) - Width()) / 2, area.top + ((area.bottom - area.top) - Height()) / 2,
            Width(), Height());
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) ::SetForegroundWindow(Handle());
}

void TCustomForm::SetVisible(bool v) {
  if (!v && !HandleAllocated()) {
    TWinControl::SetVisible(false);
    return;
  }
  bool was = Visible();
  TWinControl::SetVisible(v);
  if (Loading() || (v == was && (!v || Showing()))) return;
  if (v) {
    HandleNeeded();
    ApplyPosition();
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateShowing();
    FocusFirst();
    if (OnShow) OnShow(this);
  } else {
    if (OnHide) OnHide(this);
    ::ShowWindow(Handle(), SW_HIDE);
    UpdateShowing();
  }
}

bool TCustomForm::Showing() const { return HandleAllocated() && Visible(); }

void TCustomForm::SetActiveControl(TWinControl* c) {
  FActiveControl = c;
  if (c && HandleAllocated() && ::IsWindowVisible(const_cast<TCustomForm*>(this)->Handle())) c->SetFocus();
}

void TCustomForm::FocusFirst() {
  if (FActiveControl && FActiveControl->CanFocus()) {
    FActiveControl->SetFocus();
    return;
  }
  if (!SelectNext(nullptr, true)) ::SetFocus(Handle());
}

namespace {
BOOL CALLBACK CollectEnabledWindow(HWND w, LPARAM list) {
  if (::IsWindowVisible(w) && ::IsWindowEnabled(w)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}
}  // namespace

int TCustomForm::ShowModal() {
  if (Visible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
  // Every other enabled top-level window of the thread waits for the answer.
  std::vector<HWND> disabled;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
  HWND activeBefore = ::GetActiveWindow();
  for (HWND w : disabled) ::EnableWindow(w, FALSE);
  FModal = true;
  FModalResult = mrNone;
  TApplication& app = EnsureApplication();
  try {
    Show();
    while (FModalResult == mrNone && !app.Terminated()) app.HandleMessage();
  } catch (...) {
    for (HWND w : disabled) ::EnableWindow(w, TRUE);
    FModal = false;
    throw;
  }
  for (HWND w : disabled)
    if (::IsWindow(w)) ::EnableWindow(w, TRUE);
  if (activeBefore && ::IsWindow(activeBefore)) ::SetActiveWindow(activeBefore);
  Hide();
  FModal = false;
  return FModalResult;
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    ::ShowWindow(Handle(), SW_MINIMIZE);
  } else if (action == caFree) {
    Hide();
    Release();
  }
}

bool TCustomForm::DialogKey(MSG& msg) {
  if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
    // A character its window does not take is offered to the form's
    // controls (a focused button shows its space bar press).
    if (msg.message == WM_CHAR &&
        (::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTCHARS))
      return false;
    TMessage m{CM_DIALOGCHAR, msg.wParam, msg.lParam, 0};
    Broadcast(m);
    return m.Result != 0;
  }
  if (msg.message != WM_KEYDOWN) return false;
  switch (msg.wParam) {
    case VK_TAB: {
      if (::GetKeyState(VK_CONTROL) < 0) return false;
      // A control that wants Tab for itself (an edit with WANTTAB) keeps it.
      if (::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTTAB)
        return false;
      TWinControl* current = nullptr;
      for (HWND w = msg.hwnd; w && !current; w = ::GetParent(w)) current = TWinControl::FromHandle(w);
      return SelectNext(current == this ? nullptr : current, ::GetKeyState(VK_SHIFT) >= 0);
    }
    case VK_RETURN:
    case VK_ESCAPE: {
      // The default (Enter) or cancel (Escape) button of the form answers.
      bool enter = msg.wParam == VK_RETURN;
      UINT code =
          static_cast<UINT>(::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
      if (enter && (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) return false;
      TMessage m{CM_DIALOGKEY, msg.wParam, 0, 0};
      Broadcast(m);
      return m.Result != 0;
    }
    default:
      return false;
  }
}

void TCustomForm::WndProc(TMessage& m) {
  if (MenuMessage(m)) return;
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      // Posted by Release: no handler of this form is running any more.
      delete this;
      return;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE && OnActivate) OnActivate(this);
      break;
    case WM_SETTINGCHANGE:
      // Caption and menu heights and the work areas may have changed with
      // the user's settings.
      ForgetSystemMetrics();
      ForgetWorkAreas();
      break;
    case WM_DISPLAYCHANGE:
      ForgetWorkAreas();
      break;
    case WM_SETFOCUS:
      // The form's window itself takes no input: give it to a control.
      if (!(FControlState & csFocusing)) {
        FControlState |= csFocusing;
        FocusFirst();
        FControlState &= ~csFocusing;
      }
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TCustomForm::PaintHandlerInto(HDC dc) {
  if (!OnPaint || !dc) return;
  CanvasScope scope(*FCanvas, dc);
  OnPaint(this);
}

void TCustomForm::PaintWindow(HDC dc) {
  PaintHandlerInto(dc);
  PaintControls(dc, nullptr);
}

void TCustomForm::Release() {
  if (HandleAllocated()) ::PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

bool TCustomForm::BindField(const std::string& name, TComponent* component) {
  auto it = FFields.find(name);
  if (it == FFields.end()) return true;
  return it->second(component);
}

const std::any* TCustomForm::PublishedMethod(const std::string& name) const {
  auto it = FMethods.find(name);
  return it == FMethods.end() ? nullptr : &it->second;
}

const TNotifyEvent* TCustomForm::FindMethod(const std::string& name) const {
  const std::any* method = PublishedMethod(name);
  return method ? std::any_cast<TNotifyEvent>(method) : nullptr;
}

void TCustomForm::LoadLayoutText(const std::string& text) { ReadComponentLayout(*this, ParseLayout(text)); }

void TCustomForm::LoadLayout() {
  // Layouts are embedded as RCDATA named after the form's class in upper case.
  std::string name = ClassName();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  HRSRC res = ::FindResourceA(instance, name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!res) throw EPropertyError(Format("Resource %s not found", name));
  HGLOBAL data = ::LoadResource(instance, res);
  const char* text = static_cast<const char*>(::LockResource(data));
  LoadLayoutText(std::string(text, ::SizeofResource(instance, res)));
}

}  // namespace fw
