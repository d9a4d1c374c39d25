// The shell tree tests' forms, input, box answerer and drive without a
// medium.
#include "tests/shell/tree/ShellTreeFixture.h"

#include <cstdlib>
#include <cstring>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Dialogs.h"
#include "framework/Threads.h"
#include "shell/acShellNames.h"
#include "shell/acShellUnit.h"

namespace translit::test {

void ClickAt(POINT p, bool right) {
  // A click near the last one, soon after it, would make a double click of
  // the two: wait until it would not.
  static POINT lastPoint{-1000, -1000};
  static DWORD lastTime = 0;
  if (std::abs(p.x - lastPoint.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) &&
      std::abs(p.y - lastPoint.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK))
    while (::GetTickCount() - lastTime <= ::GetDoubleClickTime() + 50) PumpFor(20);
  testing_gui::ClickMouse(p, right);
  lastPoint = p;
  lastTime = ::GetTickCount();
}

void TypeText(const std::string& ansi) {
  std::wstring wide = AnsiToWide(ansi);
  for (wchar_t c : wide) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = c;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
  }
}

// ---- TreeForm

TreeForm::TreeForm(const TacRoot& root, TacShellObjectTypes types) {
  form = std::make_unique<fw::TForm>(fw::Application);
  form->SetBounds(40, 40, 420, 460);
  tree = new TsShellTreeView(form.get());
  tree->SetParent(form.get());
  tree->SetBounds(8, 8, 380, 400);
  // Set up as a stored layout sets it up: the root is built once, at the end.
  tree->SetLoadingState(true);
  tree->SetObjectTypes(types);
  tree->SetRoot(root);
  tree->Loaded();
  form->Show();
  BringToFront();
}

TreeForm::~TreeForm() { form.reset(); }

void TreeForm::BringToFront() {
  ::SetForegroundWindow(form->Handle());
  PumpUntil([&] { return ::GetForegroundWindow() == form->Handle(); }, 2000);
  // The desktop may still move a new window: the tests aim at where it
  // stays.
  RECT last{};
  PumpUntil(
      [&] {
        RECT now;
        ::GetWindowRect(form->Handle(), &now);
        const bool still = ::EqualRect(&now, &last);
        last = now;
        if (!still) PumpFor(100);
        return still;
      },
      3000);
}

fw::TTreeNode* TreeForm::Child(fw::TTreeNode* node, const std::string& text) {
  for (fw::TTreeNode* c = node ? node->GetFirstChild() : nullptr; c; c = c->GetNextSibling())
    if (c->Text() == text) return c;
  return nullptr;
}

std::vector<std::string> TreeForm::ChildTexts(fw::TTreeNode* node) {
  std::vector<std::string> texts;
  for (fw::TTreeNode* c = node ? node->GetFirstChild() : nullptr; c; c = c->GetNextSibling())
    texts.push_back(c->Text());
  return texts;
}

POINT TreeForm::TextPoint(fw::TTreeNode* node) const {
  node->MakeVisible();
  const RECT r = node->DisplayRect(true);
  return tree->ClientToScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

HWND TreeForm::EditControl() const {
  return reinterpret_cast<HWND>(::SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
}

// ---- BoxAnswerer

BoxAnswerer::BoxAnswerer(int platformAnswer) : FAnswer(platformAnswer) {
  active = this;
  FTimer = ::SetTimer(nullptr, 0, 50, Tick);
}

BoxAnswerer::~BoxAnswerer() {
  ::KillTimer(nullptr, FTimer);
  active = nullptr;
}

namespace {

struct FoundBox {
  HWND wnd = nullptr;
};

BOOL CALLBACK FindBox(HWND wnd, LPARAM param) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(wnd)) return TRUE;
  char cls[64] = "";
  ::GetClassNameA(wnd, cls, sizeof cls);
  if (std::strcmp(cls, "TMessageForm") == 0 || std::strcmp(cls, "#32770") == 0) {
    reinterpret_cast<FoundBox*>(param)->wnd = wnd;
    return FALSE;
  }
  return TRUE;
}

std::string TextOf(HWND wnd) {
  char text[1024] = "";
  ::GetWindowTextA(wnd, text, sizeof text);
  return text;
}

}  // namespace

void CALLBACK BoxAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!active) return;
  FoundBox found;
  ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&found));
  HWND box = found.wnd;
  // Each box is answered once, while its click is on its way.
  if (!box || ::GetPropA(box, "ShellTreeTestAnswered")) return;
  char cls[64] = "";
  ::GetClassNameA(box, cls, sizeof cls);
  if (std::strcmp(cls, "TMessageForm") == 0) {
    HWND button = ::FindWindowExA(box, nullptr, "TButton", nullptr);
    if (!button) return;
    auto* dialog = dynamic_cast<fw::TMessageForm*>(fw::TWinControl::FromHandle(box));
    active->texts.push_back(dialog && dialog->Message() ? dialog->Message()->Caption() : "<not a message form>");
    ::SetPropA(box, "ShellTreeTestAnswered", reinterpret_cast<HANDLE>(1));
    ::PostMessageA(button, BM_CLICK, 0, 0);
    return;
  }
  HWND button = ::GetDlgItem(box, active->FAnswer);
  if (!button) return;
  HWND text = ::GetDlgItem(box, 0xFFFF);
  active->texts.push_back(text ? TextOf(text) : TextOf(box));
  ::SetPropA(box, "ShellTreeTestAnswered", reinterpret_cast<HANDLE>(1));
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(active->FAnswer, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// ---- context menus

std::vector<std::pair<std::string, UINT>> ContextMenuVerbs(TacShellFolder& folder) {
  std::vector<std::pair<std::string, UINT>> verbs;
  LPCITEMIDLIST ids[1] = {folder.RelativeId()};
  ComPtr<IContextMenu> menu;
  if (FAILED(folder.ParentShellFolder()->GetUIObjectOf(nullptr, 1, ids, IID_IContextMenu, nullptr, menu.PutVoid())))
    return verbs;
  HMENU popup = ::CreatePopupMenu();
  menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
  for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
    const UINT id = ::GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    char verb[256] = "";
    if (SUCCEEDED(menu->GetCommandString(id - 1, GCS_VERBA, nullptr, verb, sizeof verb))) verbs.emplace_back(verb, id);
  }
  ::DestroyMenu(popup);
  return verbs;
}

UINT CommandOfVerb(TacShellFolder& folder, const std::string& verb) {
  for (const auto& [v, id] : ContextMenuVerbs(folder))
    if (v == verb) return id;
  return 0;
}

MenuDriver::MenuDriver(UINT command) : FCommand(command) {
  active = this;
  FTimer = ::SetTimer(nullptr, 0, 100, Tick);
}

MenuDriver::~MenuDriver() {
  ::KillTimer(nullptr, FTimer);
  active = nullptr;
}

void CALLBACK MenuDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!active || active->seen) return;
  HWND menuWnd = ::FindWindowA("#32768", nullptr);
  if (!menuWnd || !::IsWindowVisible(menuWnd)) return;
  auto menu = reinterpret_cast<HMENU>(::SendMessageA(menuWnd, MN_GETHMENU, 0, 0));
  if (!menu) return;
  active->seen = true;
  active->slotFilled = CurrentContextMenu() != nullptr;
  int position = -1;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    const UINT id = ::GetMenuItemID(menu, i);
    active->commands.push_back(id);
    if (active->FCommand && id == active->FCommand) position = i;
  }
  RECT r{};
  if (position >= 0 && ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &r)) {
    // No pumping here: the menu's own loop takes the input.
    MouseMove(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
  } else {
    PressKey(VK_ESCAPE);
  }
}

// ---- NoMediumDrive

namespace {

// Wine's mount manager: a drive of a type over a Unix folder.
struct MountManagerUnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = 0x6DC080;  // IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE
// A mount point that does not exist: a drive whose disc is out.
constexpr char kMissingMountPoint[] = "/nonexistent/translit-no-medium";

}  // namespace

NoMediumDrive::NoMediumDrive() {
  const DWORD used = ::GetLogicalDrives();
  for (char letter = 'M'; letter <= 'Y'; ++letter) {
    if (used & (1u << (letter - 'A'))) continue;
    if (Define(letter, false)) FLetter = letter;
    break;
  }
}

NoMediumDrive::~NoMediumDrive() {
  if (FLetter) Define(FLetter, true);
}

bool NoMediumDrive::Define(char letter, bool remove) {
  HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  std::vector<char> buffer(sizeof(MountManagerUnixDrive) + sizeof kMissingMountPoint);
  auto* drive = reinterpret_cast<MountManagerUnixDrive*>(buffer.data());
  drive->size = sizeof(MountManagerUnixDrive);
  drive->letter = static_cast<WCHAR>(letter - 'A' + 'a');
  drive->type = remove ? DRIVE_NO_ROOT_DIR : DRIVE_CDROM;
  if (!remove) {
    drive->mountPointOffset = sizeof(MountManagerUnixDrive);
    std::memcpy(buffer.data() + sizeof(MountManagerUnixDrive), kMissingMountPoint, sizeof kMissingMountPoint);
    drive->size += sizeof kMissingMountPoint;
  }
  DWORD returned = 0;
  const BOOL ok = ::DeviceIoControl(manager, kDefineUnixDrive, drive, drive->size, nullptr, 0, &returned, nullptr);
  ::CloseHandle(manager);
  return ok && (remove || ::GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) == DRIVE_CDROM);
}

namespace {

struct WindowSearch {
  const std::vector<HWND>* known;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOtherWindow(HWND wnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(wnd)) return TRUE;
  RECT r;
  ::GetWindowRect(wnd, &r);
  // The application's own window is shown but has no size.
  if (r.right - r.left <= 1 || r.bottom - r.top <= 1) return TRUE;
  for (HWND k : *s->known)
    if (k == wnd) return TRUE;
  s->found.push_back(wnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> OtherVisibleWindows(const std::vector<HWND>& known) {
  WindowSearch search{&known, {}};
  ::EnumWindows(CollectOtherWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace translit::test
