// Procedure thunks and WindowProc links of the subclassing objects.
#include "controls/acWndThunk.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/Application.h"
#include "framework/core/SysUtils.h"

namespace translit {

#if defined(_WIN64)
constexpr std::size_t kThunkCodeBytes = 32;
#else
constexpr std::size_t kThunkCodeBytes = 16;
#endif

// One thunk: its code first, then what the code's target needs. Lives in a
// slot of an executable page.
class TacProcThunk {
 public:
  alignas(16) std::uint8_t Code[kThunkCodeBytes];
  TacMessageTarget* Target;
  WNDPROC Previous;
  HWND Window;
  int Depth;        // calls running through the thunk
  bool WindowGone;  // WM_NCDESTROY went through
  bool Unlinked;    // the window's procedure no longer is this thunk
};

namespace {

constexpr std::size_t kSlot = 64;
static_assert(sizeof(TacProcThunk) <= kSlot, "a thunk fits a slot");

// Executable pages cut into slots, with a free list. The pages are kept for
// the life of the process: a slot is reused, never unmapped.
class ThunkPool {
 public:
  void* Take() {
    if (FFree.empty()) Grow();
    void* slot = FFree.back();
    FFree.pop_back();
    ++FLive;
    return slot;
  }
  void Give(void* slot) {
    std::memset(slot, 0xCC, kSlot);  // a stale call traps at once instead of running on
    FFree.push_back(slot);
    --FLive;
  }
  int Live() const { return FLive; }

 private:
  void Grow() {
    constexpr std::size_t kPage = 4096;
#if defined(_WIN64)
    // From the top of the address space: every thunk's address then needs
    // all 64 bits, so code that cut one to 32 would fail at once.
    constexpr DWORD kWhere = MEM_TOP_DOWN;
#else
    constexpr DWORD kWhere = 0;
#endif
    auto* page = static_cast<std::uint8_t*>(
        ::VirtualAlloc(nullptr, kPage, MEM_COMMIT | MEM_RESERVE | kWhere, PAGE_EXECUTE_READWRITE));
    if (!page) throw fw::EOutOfResources("Out of memory for window procedure thunks");
    for (std::size_t off = kPage; off >= kSlot; off -= kSlot) FFree.push_back(page + off - kSlot);
  }
  std::vector<void*> FFree;
  int FLive = 0;
};

ThunkPool& Pool() {
  static ThunkPool pool;
  return pool;
}

void FreeThunk(TacProcThunk* t) { Pool().Give(t); }

// Frees the thunk once it is out of use: no call runs through it and either
// the window is gone or the thunk is no longer in its chain. A released
// thunk that finds itself at the head of the chain again takes itself out.
void RetireIfIdle(TacProcThunk* t) {
  if (t->Target || t->Depth > 0) return;
  if (!t->WindowGone && !t->Unlinked && ::IsWindow(t->Window) &&
      reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(t->Window, GWLP_WNDPROC)) == ThunkProc(t)) {
    ::SetWindowLongPtrA(t->Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(t->Previous));
    t->Unlinked = true;
  }
  if (t->WindowGone || t->Unlinked || !::IsWindow(t->Window)) FreeThunk(t);
}

LRESULT Dispatch(TacProcThunk* t, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ++t->Depth;
  LRESULT result = 0;
  if (TacMessageTarget* target = t->Target) {
    fw::TMessage m{msg, wParam, lParam, 0};
    try {
      target->TargetMessage(m);
    } catch (...) {
      // Nothing may cross the platform's frame.
      fw::HandleCurrentException();
    }
    result = m.Result;
  } else {
    result = ::CallWindowProcA(t->Previous, wnd, msg, wParam, lParam);
  }
  --t->Depth;
  if (msg == WM_NCDESTROY) t->WindowGone = true;
  if (!t->Target) RetireIfIdle(t);
  return result;
}

#if defined(_WIN64)
// The window arrives in the first register, which the thunk has replaced by
// its own address; a thunk serves one window, so the window is its own.
LRESULT ThunkEntry(TacProcThunk* t, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Dispatch(t, t->Window, msg, wParam, lParam);
}

// mov rcx, t; mov rax, ThunkEntry; jmp rax. The other three arguments stay
// in their registers untouched and the stack is the caller's, so the entry
// returns straight to the platform.
void WriteThunkCode(TacProcThunk* t) {
  std::uint8_t* c = t->Code;
  const auto self = reinterpret_cast<std::uint64_t>(t);
  const auto entry = reinterpret_cast<std::uint64_t>(&ThunkEntry);
  c[0] = 0x48;
  c[1] = 0xB9;
  std::memcpy(c + 2, &self, 8);
  c[10] = 0x48;
  c[11] = 0xB8;
  std::memcpy(c + 12, &entry, 8);
  c[20] = 0xFF;
  c[21] = 0xE0;
}
#else
LRESULT __stdcall ThunkEntry(TacProcThunk* t, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Dispatch(t, wnd, msg, wParam, lParam);
}

// The platform calls the thunk as a window procedure (stdcall, four
// arguments); it slips the thunk's address in as a first argument and jumps
// to the entry, which takes five and clears them all:
//   pop eax; push t; push eax; jmp ThunkEntry
void WriteThunkCode(TacProcThunk* t) {
  std::uint8_t* c = t->Code;
  const auto self = reinterpret_cast<std::uint32_t>(t);
  const auto entry = reinterpret_cast<std::uint32_t>(&ThunkEntry);
  c[0] = 0x58;
  c[1] = 0x68;
  std::memcpy(c + 2, &self, 4);
  c[6] = 0x50;
  c[7] = 0xE9;
  const std::uint32_t rel = entry - (reinterpret_cast<std::uint32_t>(c) + 12);
  std::memcpy(c + 8, &rel, 4);
}
#endif

}  // namespace

TacProcThunk* NewProcThunk(HWND window, TacMessageTarget* target, WNDPROC previous) {
  auto* t = new (Pool().Take()) TacProcThunk{};
  t->Target = target;
  t->Previous = previous;
  t->Window = window;
  WriteThunkCode(t);
  ::FlushInstructionCache(::GetCurrentProcess(), t->Code, sizeof(t->Code));
  return t;
}

WNDPROC ThunkProc(const TacProcThunk* thunk) {
  return reinterpret_cast<WNDPROC>(const_cast<std::uint8_t*>(thunk->Code));
}

WNDPROC ThunkPrevious(const TacProcThunk* thunk) { return thunk->Previous; }

void ReleaseProcThunk(TacProcThunk* thunk) {
  if (!thunk) return;
  thunk->Target = nullptr;
  RetireIfIdle(thunk);
}

int LiveProcThunks() { return Pool().Live(); }

void TacMethodHook::operator()(fw::TMessage& m) const {
  // The hook may be replaced in the control while the message runs; the
  // link stays alive through this copy.
  std::shared_ptr<TacMethodLink> keep = Link;
  if (keep->Target)
    keep->Target->TargetMessage(m);
  else if (keep->Previous)
    keep->Previous(m);
}

std::shared_ptr<TacMethodLink> InstallMethodLink(std::function<void(fw::TMessage&)>& windowProc,
                                                 TacMessageTarget* target) {
  auto link = std::make_shared<TacMethodLink>();
  link->Target = target;
  link->Previous = windowProc;
  windowProc = TacMethodHook{link};
  return link;
}

void ReleaseMethodLink(std::function<void(fw::TMessage&)>& windowProc, const std::shared_ptr<TacMethodLink>& link) {
  if (!link) return;
  link->Target = nullptr;
  if (const auto* head = windowProc.target<TacMethodHook>(); head && head->Link == link) {
    // Copied first: assigning destroys the hook that may be running.
    std::function<void(fw::TMessage&)> previous = link->Previous;
    windowProc = std::move(previous);
  }
}

}  // namespace translit
