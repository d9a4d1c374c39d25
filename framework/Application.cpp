// The application object and its message loop.
#include "framework/Application.h"

#include <ole2.h>

#include <algorithm>

#include "framework/Forms.h"
#include "framework/core/SysUtils.h"
#include "framework/Threads.h"

namespace fw {

TApplication* Application = nullptr;

TApplication& EnsureApplication() {
  if (!Application) Application = new TApplication(nullptr);
  return *Application;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() {
  MarkDestroying();
  // Forms go before the window that owns them.
  DestroyComponents();
  FMainForm = nullptr;
  FHandle.Reset();
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  TThread::SetMainThread();
  ::OleInitialize(nullptr);
  Handle();
}

HWND TApplication::Handle() {
  if (!FHandle) {
    static const char* kClass = "TApplication";
    WNDCLASSA wc{};
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (!::GetClassInfoA(instance, kClass, &wc)) {
      wc.lpfnWndProc = AppWndProc;
      wc.hInstance = instance;
      wc.hIcon = ::LoadIconA(instance, "MAINICON");
      if (!wc.hIcon) wc.hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
      wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      wc.lpszClassName = kClass;
      ::RegisterClassA(&wc);
    }
    // A zero-sized window in the middle of the screen: it is never seen but
    // carries the program's task bar button.
    int x = ::GetSystemMetrics(SM_CXSCREEN) / 2, y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    FHandle.Reset(::CreateWindowExA(0, kClass, Title().c_str(),
                                    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                                    nullptr, nullptr, instance, nullptr));
    ::SetWindowLongPtrA(FHandle.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  return FHandle.Get();
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* app = reinterpret_cast<TApplication*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (!app) return ::DefWindowProcA(wnd, msg, wParam, lParam);
  // Nothing may cross the platform's frame: the hooks, the main form's close
  // handlers and work handed over by other threads all raise into the
  // application's handler, and the message then counts as handled.
  try {
    TMessage m{msg, wParam, lParam, 0};
    for (auto& [id, hook] : std::vector<std::pair<int, TWindowHook>>(app->FHooks))
      if (hook(m)) return m.Result;
    switch (msg) {
      case WM_NULL:
        // Posted by worker threads that hand work over.
        TThread::CheckSynchronize();
        return 0;
      case WM_CLOSE:
        if (app->FMainForm) app->FMainForm->Close();
        return 0;
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE && app->FMainForm) {
          ::ShowWindow(wnd, SW_RESTORE);
          return 0;
        }
        break;
      default:
        break;
    }
    return ::DefWindowProcA(wnd, msg, wParam, lParam);
  } catch (...) {
    HandleCurrentException();
    return 0;
  }
}

int TApplication::HookMainWindow(TWindowHook hook) {
  int id = FNextHookId++;
  FHooks.emplace_back(id, std::move(hook));
  return id;
}

void TApplication::UnhookMainWindow(int id) {
  FHooks.erase(std::remove_if(FHooks.begin(), FHooks.end(), [id](const auto& h) { return h.first == id; }),
               FHooks.end());
}

std::string TApplication::Title() const {
  if (!FTitle.empty()) return FTitle;
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return TitleFromProgramPath(path);
}

std::string TitleFromProgramPath(const std::string& path) {
  std::string name(path);
  std::size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  std::size_t dot = name.find('.');
  if (dot != std::string::npos) name.resize(dot);
  if (name.size() > 1) ::CharLowerBuffA(name.data() + 1, static_cast<DWORD>(name.size() - 1));
  return name;
}

void TApplication::Run() {
  // The hidden window only carries the task bar button: shown without
  // activation, it leaves the main form active, with the keyboard in its
  // first control, from the first moment.
  if (FHandle) ::ShowWindow(FHandle.Get(), SW_SHOWNA);
  if (FMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
  if (!FTerminated) {
    FTerminated = true;
    ::PostQuitMessage(0);
  }
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  // The key's control: the window's own, or the nearest framework window
  // around a platform window of its own (the edit of a combo box).
  HWND wnd = msg.hwnd;
  while (wnd && !TWinControl::FromHandle(wnd)) wnd = ::GetParent(wnd);
  return wnd && ::SendMessageA(wnd, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::IsDialogKey(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
  HWND top = ::GetAncestor(msg.hwnd, GA_ROOT);
  auto* form = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(top));
  return form && form->DialogKey(msg);
}

bool TApplication::ProcessMessage(MSG& msg) {
  // Work handed over by worker threads runs between messages.
  TThread::CheckSynchronize();
  if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  if (!IsKeyMsg(msg) && !IsDialogKey(msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg) && !FTerminated && !TThread::CheckSynchronize()) ::WaitMessage();
}

std::string ExceptionMessage(const std::exception_ptr& e) {
  try {
    std::rethrow_exception(e);
  } catch (const Exception& ex) {
    return ex.Message();
  } catch (const std::exception& ex) {
    return ex.what();
  } catch (...) {
    return "Unknown exception";
  }
}

void TApplication::HandleException(const std::exception_ptr& e) {
  if (OnException) {
    OnException(e);
    return;
  }
  try {
    std::rethrow_exception(e);
  } catch (const EAbort&) {
    return;
  } catch (...) {
  }
  ShowException(ExceptionMessage(e));
}

std::string ErrorBoxText(const std::string& message) {
  std::string text = message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

void TApplication::ShowException(const std::string& message) {
  MessageBox(ErrorBoxText(message), Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  HWND owner = ::GetActiveWindow();
  if (!owner && FMainForm && FMainForm->HandleAllocated()) owner = FMainForm->Handle();
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void HandleCurrentException() { EnsureApplication().HandleException(std::current_exception()); }

}  // namespace fw
