// Procedure thunks on their own: what the platform passes arrives whole at
// the target and what it returns gets back whole (a 64-bit thunk that cut a
// register to 32 bits would show here), thunks and targets far up in the
// address space, and a freed slot that traps a stale call and is reused.
#include "controls/acWndThunk.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <new>

namespace translit {
namespace {

// Records what reaches it and answers with a value of its choosing.
struct RecordingTarget : TacMessageTarget {
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT answer = 0;
  void TargetMessage(fw::TMessage& m) override {
    msg = m.Msg;
    wParam = m.WParam;
    lParam = m.LParam;
    m.Result = answer;
  }
};

// Values with the top bit of every half set: truncation to 32 bits, sign
// extension from 32 bits and swapped registers all change them.
#if defined(_WIN64)
constexpr WPARAM kWParam = 0xF1E2D3C4B5A69788ull;
constexpr LPARAM kLParam = static_cast<LPARAM>(0x8877665544332211ull);
constexpr LRESULT kAnswer = static_cast<LRESULT>(0x80000001FFFFFFFEull);
#else
constexpr WPARAM kWParam = 0xF1E2D3C4u;
constexpr LPARAM kLParam = static_cast<LPARAM>(0x88776655u);
constexpr LRESULT kAnswer = static_cast<LRESULT>(0x80000001u);
#endif
constexpr UINT kMsg = WM_APP + 0x3FFF;

class ProcThunk : public ::testing::Test {
 protected:
  void SetUp() override {
    window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override { ::DestroyWindow(window); }
  HWND window = nullptr;
};

// Puts a thunk in front of the window's procedure, as the subclassing does.
TacProcThunk* Install(HWND window, TacMessageTarget& target) {
  auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
  TacProcThunk* thunk = NewProcThunk(window, &target, previous);
  ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ThunkProc(thunk)));
  return thunk;
}

// The platform calls the thunk with the message.
void ExpectWholeRoundTrip(HWND window, RecordingTarget& target) {
  TacProcThunk* thunk = Install(window, target);
  target.answer = kAnswer;
  const LRESULT result = ::SendMessageA(window, kMsg, kWParam, kLParam);
  EXPECT_EQ(target.msg, kMsg);
  EXPECT_EQ(target.wParam, kWParam);
  EXPECT_EQ(target.lParam, kLParam);
  EXPECT_EQ(result, kAnswer);
  ReleaseProcThunk(thunk);
}

TEST_F(ProcThunk, EveryArgumentAndTheResultPassWhole) {
  RecordingTarget target;
  ExpectWholeRoundTrip(window, target);
}

TEST_F(ProcThunk, ThunksAndTargetsHighInTheAddressSpaceWork) {
  // A target placed from the top of the address space: above 4 GB on 64 bits.
  void* high = ::VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE | MEM_TOP_DOWN, PAGE_READWRITE);
  ASSERT_NE(high, nullptr);
  auto* target = new (high) RecordingTarget;
  RecordingTarget probe;
  TacProcThunk* thunk = Install(window, probe);
#if defined(_WIN64)
  EXPECT_GT(reinterpret_cast<std::uintptr_t>(target), 0xFFFFFFFFull);
  EXPECT_GT(reinterpret_cast<std::uintptr_t>(ThunkProc(thunk)), 0xFFFFFFFFull)
      << "the thunks' pages are taken from the top, so every thunk address needs 64 bits";
#endif
  ReleaseProcThunk(thunk);
  ExpectWholeRoundTrip(window, *target);
  target->~RecordingTarget();
  ::VirtualFree(high, 0, MEM_RELEASE);
}

TEST_F(ProcThunk, AReleasedThunkTrapsAStaleCallAndItsSlotIsReused) {
  RecordingTarget target;
  const int live = LiveProcThunks();
  const auto original = ::GetWindowLongPtrA(window, GWLP_WNDPROC);
  TacProcThunk* first = Install(window, target);
  const auto code = reinterpret_cast<const std::uint8_t*>(ThunkProc(first));
  EXPECT_EQ(LiveProcThunks(), live + 1);
  // At the head of the chain: released, it puts the procedure back and is freed.
  ReleaseProcThunk(first);
  EXPECT_EQ(::GetWindowLongPtrA(window, GWLP_WNDPROC), original);
  EXPECT_EQ(LiveProcThunks(), live);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(code[i], 0xCC) << "byte " << i << " of a freed thunk is not a breakpoint";

  TacProcThunk* second = Install(window, target);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(ThunkProc(second)), code) << "the freed slot is taken first";
  target.answer = 5;
  EXPECT_EQ(::SendMessageA(window, kMsg, 1, 2), 5) << "the reused slot runs its new code";
  ReleaseProcThunk(second);
}

}  // namespace
}  // namespace translit
