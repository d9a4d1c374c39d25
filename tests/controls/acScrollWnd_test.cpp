// Skinned non-client scroll bars on a plain window with both bars and a
// client edge: the frame keeps its widths and the bars their space, every
// part is painted from its scroll section, the corner shows the parent's
// background and a grip only where it belongs, and the mouse works the bars
// as a user's would: arrows held (one code at once, the next after 300 ms,
// then every 55 ms, paused off the arrow), the thumb dragged, right and
// middle clicks ignored. A hidden window prints frame, bars, background and
// client, each in its place and as the print flags ask. Removal gives the
// platform its bars back.
#include "controls/acEditWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/skindata/sCommonData.h"
#include "tests/controls/ScrollFixture.h"

namespace translit {
namespace {

using namespace test;

int Channel(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }
bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
  for (int s : {0, 8, 16})
    if (std::abs(Channel(a, s) - Channel(b, s)) > tolerance) return false;
  return true;
}

class ScrollBars : public ::testing::Test {
 protected:
  void SetUp() override {
    // The mouse away from the bars: a cursor left there by another test
    // would show a part hot.
    MouseMove(POINT{5, 5});
    ::SetForegroundWindow(probe.frame);
    PumpUntil([&] { return ::GetForegroundWindow() == probe.frame; }, 2000);
    ::GetClientRect(probe.child, &platformClient);
    object = TacMainWnd::Create<TacEditWnd>(probe.child, true, "EDIT");
    ::RedrawWindow(probe.child, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpFor(50);
    // A mouse move queued while the window appeared under the cursor may
    // have made a part hot: the hover ends once the cursor is seen away.
    MouseMove(POINT{5, 5});
    PumpUntil([] { return ScrollTracking().HoverBar < 0; }, 1000);
    PumpFor(30);
  }
  bool HoverVertical(int along) { return HoverBarAt(probe.child, Screen(OnVertical(along))); }
  void TearDown() override {
    LeftUp();
    PumpFor(20);
  }
  RECT Bar(std::uint16_t kind) const {
    return object->BarRect(kind == sbVertical ? *object->VertBar : *object->HorzBar);
  }
  // The middle of a bar's part at along pixels from the bar's start.
  POINT OnVertical(int along) const {
    const RECT r = Bar(sbVertical);
    return POINT{(r.left + r.right) / 2, r.top + along};
  }
  COLORREF VerticalPixel(int along) const {
    const POINT p = OnVertical(along);
    return WindowPixel(probe.child, p.x, p.y);
  }
  POINT Screen(POINT windowPoint) const { return ScreenPoint(probe.child, windowPoint.x, windowPoint.y); }
  int Length(std::uint16_t kind) const {
    const RECT r = Bar(kind);
    return kind == sbVertical ? r.bottom - r.top : r.right - r.left;
  }

  ScrollSkin skin;
  ProbeWindows probe;
  RECT platformClient{};
  TacWndPtr<TacEditWnd> object;
};

TEST_F(ScrollBars, BothBarsAreSkinnedTheFrameKeepsItsWidthsAndTheCornerShowsTheParent) {
  EXPECT_EQ(object->LeftEdge, 2);
  EXPECT_EQ(object->TopEdge, 2);
  EXPECT_EQ(object->RightEdge, 2);
  EXPECT_EQ(object->BottomEdge, 2);
  ASSERT_TRUE(object->VertBar->Visible);
  ASSERT_TRUE(object->HorzBar->Visible);
  RECT client;
  ::GetClientRect(probe.child, &client);
  EXPECT_EQ(client.right, platformClient.right) << "the skinned bars take the platform's space";
  EXPECT_EQ(client.bottom, platformClient.bottom);

  const int a = SystemArrowSize();
  const int len = Length(sbVertical);
  // Position 0: the thumb follows the first arrow.
  EXPECT_EQ(VerticalPixel(a / 2), kArrow) << "first arrow";
  EXPECT_EQ(VerticalPixel(a + 3), kThumb) << "thumb";
  EXPECT_EQ(VerticalPixel(len / 2), kTrack2) << "track after the thumb";
  EXPECT_EQ(VerticalPixel(len - a / 2), kArrow) << "second arrow";
  const RECT h = Bar(sbHorizontal);
  EXPECT_EQ(WindowPixel(probe.child, h.left + a / 2, (h.top + h.bottom) / 2), kArrow);
  EXPECT_EQ(WindowPixel(probe.child, (h.left + h.right) / 2, (h.top + h.bottom) / 2), kTrack2);

  // In the middle the thumb splits the two tracks.
  probe.SetRange(SB_VERT, 0, 99, 10, 45);
  object->RefreshScrolls(true);
  const TacThumb t = ThumbGeometry(object->VertBar->Info, len, a, 10);
  EXPECT_EQ(VerticalPixel(t.Start - 2), kTrack1);
  EXPECT_EQ(VerticalPixel(t.Start + t.Size / 2), kThumb);
  EXPECT_EQ(VerticalPixel(t.Start + t.Size + 2), kTrack2);

  // The frame ring comes from the section; the corner from the parent.
  EXPECT_EQ(WindowPixel(probe.child, 0, 40), kEditColor);
  const RECT corner = object->CornerRect();
  EXPECT_EQ(WindowPixel(probe.child, corner.right - 1, corner.bottom - 1),
            static_cast<COLORREF>(skin.manager->GlobalColor()))
      << "no grip: the child is not in the frame's corner";
}

TEST_F(ScrollBars, AGripOnlyWhereTheCornerMeetsTheCornerOfTheTopLevelClientArea) {
  RECT frameClient;
  ::GetClientRect(probe.frame, &frameClient);
  RECT w;
  ::GetWindowRect(probe.child, &w);
  EXPECT_FALSE(object->GripBelongs());
  const RECT corner = object->CornerRect();
  const POINT inCorner = Screen(POINT{corner.right - 2, corner.bottom - 2});
  EXPECT_NE(::SendMessageA(probe.child, WM_NCHITTEST, 0, MAKELPARAM(inCorner.x, inCorner.y)), HTBOTTOMRIGHT);

  ::SetWindowPos(probe.child, nullptr, frameClient.right - (w.right - w.left), frameClient.bottom - (w.bottom - w.top),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::RedrawWindow(probe.child, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  EXPECT_TRUE(object->GripBelongs());
  const RECT c = object->CornerRect();
  EXPECT_EQ(WindowPixel(probe.child, c.right - 1, c.bottom - 1), kGrip);
  EXPECT_EQ(WindowPixel(probe.child, c.left, c.top), static_cast<COLORREF>(skin.manager->GlobalColor()))
      << "the 8-pixel grip sits in the corner's bottom-right";
  const POINT p = Screen(POINT{c.right - 2, c.bottom - 2});
  EXPECT_EQ(::SendMessageA(probe.child, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTBOTTOMRIGHT);
}

TEST_F(ScrollBars, ABarShorterThanTwoArrowsShowsTwoHalfArrowsAndNoThumb) {
  ::SetWindowPos(probe.child, nullptr, 0, 0, 200, 40, SWP_NOMOVE | SWP_NOZORDER);
  ::RedrawWindow(probe.child, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  const int len = Length(sbVertical);
  ASSERT_GT(len, 1);
  ASSERT_LT(len, 2 * SystemArrowSize());
  for (int y = 0; y < len; ++y) EXPECT_EQ(VerticalPixel(y), kArrow) << "at " << y << " of " << len;
}

TEST_F(ScrollBars, ADisabledBarIsToneDownTowardTheFramePictureAndAnswersNoHit) {
  ASSERT_TRUE(::EnableScrollBar(probe.child, SB_VERT, ESB_DISABLE_BOTH));
  object->RefreshScrolls(true);
  const int len = Length(sbVertical);
  // 40 % track, 60 % of the frame picture (the section's colour) under it.
  auto mix = [](COLORREF bar, COLORREF under) {
    auto ch = [&](int s) {
      return static_cast<COLORREF>(std::lround(Channel(bar, s) * 0.4 + Channel(under, s) * 0.6)) << s;
    };
    return ch(0) | ch(8) | ch(16);
  };
  const COLORREF seen = VerticalPixel(len / 2 + 5);
  EXPECT_TRUE(Near(seen, mix(kTrack2, kEditColor))) << std::hex << seen;
  const POINT p = Screen(OnVertical(len / 2));
  EXPECT_EQ(::SendMessageA(probe.child, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTNOWHERE);
}

TEST_F(ScrollBars, HoldingAnArrowRepeatsAfter300msThenEvery55ms) {
  const int len = Length(sbVertical);
  ASSERT_TRUE(HoverVertical(len - 4));
  PumpFor(40);
  EXPECT_EQ(VerticalPixel(len - 4), kArrowHot) << "the arrow under the mouse is hot";
  const DWORD down = ::GetTickCount();
  LeftDown();
  PumpFor(1000);
  EXPECT_EQ(VerticalPixel(len - 4), kArrowPressed) << "held: drawn pressed";
  LeftUp();
  PumpFor(100);
  const auto codes = probe.Codes(WM_VSCROLL, SB_LINEDOWN);
  ASSERT_GE(codes.size(), 8u);
  EXPECT_LT(codes[0].timeMs - down, 150u) << "the first code comes at once";
  const DWORD firstGap = codes[1].timeMs - codes[0].timeMs;
  // Timers run late on a loaded machine, never early: the bounds above are
  // wide, the ones below tight.
  EXPECT_GE(firstGap, 280u);
  EXPECT_LT(firstGap, 700u);
  std::vector<DWORD> gaps;
  for (std::size_t i = 2; i < codes.size(); ++i) gaps.push_back(codes[i].timeMs - codes[i - 1].timeMs);
  std::sort(gaps.begin(), gaps.end());
  EXPECT_GE(gaps[gaps.size() / 2], 40u);
  EXPECT_LE(gaps[gaps.size() / 2], 100u);
  EXPECT_EQ(probe.Pos(SB_VERT), static_cast<int>(codes.size()));
  ASSERT_EQ(probe.Codes(WM_VSCROLL, SB_ENDSCROLL).size(), 1u);
  EXPECT_EQ(probe.log.back().code, SB_ENDSCROLL);
}

TEST_F(ScrollBars, MovingOffAHeldArrowPausesTheRepeatAndShowsItUnpressed) {
  const int len = Length(sbVertical);
  const POINT arrow = Screen(OnVertical(len - 4));
  ASSERT_TRUE(HoverVertical(len - 4));
  LeftDown();
  PumpFor(450);
  MouseMove(POINT{arrow.x - 60, arrow.y});  // into the client area, mouse still held
  // Mouse messages from before the move may still be waiting: the count
  // starts once the arrow has stayed released for a while.
  ASSERT_TRUE(PumpUntil([] { return ScrollTracking().PressPartNow == spNone; }, 2000));
  PumpFor(150);
  ASSERT_EQ(ScrollTracking().PressPartNow, spNone);
  const std::size_t off = probe.Codes(WM_VSCROLL, SB_LINEDOWN).size();
  PumpFor(400);
  EXPECT_EQ(probe.Codes(WM_VSCROLL, SB_LINEDOWN).size(), off) << "no codes while the mouse is off the arrow";
  EXPECT_EQ(VerticalPixel(len - 4), kArrow);
  MouseMove(arrow);
  // A loaded machine runs timers late: the repeat only has to go on.
  EXPECT_TRUE(PumpUntil([&] { return probe.Codes(WM_VSCROLL, SB_LINEDOWN).size() > off + 2; }, 3000))
      << "back on the arrow the repeat goes on";
  LeftUp();
  PumpFor(50);
}

TEST_F(ScrollBars, DraggingTheThumbSendsTrackCodesOnlyOnChangedPositions) {
  probe.SetRange(SB_VERT, 0, 19, 10, 0);  // eleven positions on a long track
  object->RefreshScrolls(true);
  const int a = SystemArrowSize();
  const TacThumb t = ThumbGeometry(object->VertBar->Info, Length(sbVertical), a, 10);
  POINT p = Screen(OnVertical(t.Start + t.Size / 2));
  ASSERT_TRUE(HoverVertical(t.Start + t.Size / 2));
  LeftDown();
  PumpFor(40);
  EXPECT_EQ(VerticalPixel(t.Start + 1), kThumbPressed) << "the dragged thumb is drawn pressed";
  int moves = 0;
  for (int dy = 1; dy <= Length(sbVertical); dy += 1, ++moves) {
    MouseMove(POINT{p.x, p.y + dy});
    PumpFor(8);
  }
  PumpFor(50);
  LeftUp();
  PumpFor(80);
  const auto tracks = probe.Codes(WM_VSCROLL, SB_THUMBTRACK);
  ASSERT_GE(tracks.size(), 5u);
  EXPECT_LT(static_cast<int>(tracks.size()), moves);
  for (std::size_t i = 1; i < tracks.size(); ++i) EXPECT_NE(tracks[i].pos, tracks[i - 1].pos) << "code " << i;
  EXPECT_EQ(tracks.back().pos, 10) << "dragged to the end: the last page";
  const auto positions = probe.Codes(WM_VSCROLL, SB_THUMBPOSITION);
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_EQ(positions[0].pos, 10);
  ASSERT_GE(probe.log.size(), 2u);
  EXPECT_EQ(probe.log[probe.log.size() - 2].code, SB_THUMBPOSITION);
  EXPECT_EQ(probe.log.back().code, SB_ENDSCROLL);
  EXPECT_EQ(probe.Pos(SB_VERT), 10);
  // Painted at its new place from the skin once released.
  const TacThumb end = ThumbGeometry(object->VertBar->Info, Length(sbVertical), a, 10);
  EXPECT_EQ(VerticalPixel(end.Start + end.Size / 2), kThumb);
}

TEST_F(ScrollBars, RightAndMiddleClicksOnABarDoNothing) {
  ASSERT_TRUE(HoverVertical(Length(sbVertical) / 2));
  for (DWORD flags : {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}) {
    MouseButton(flags);
    PumpFor(60);
  }
  EXPECT_TRUE(probe.log.empty());
  EXPECT_EQ(std::count(probe.messages.begin(), probe.messages.end(), static_cast<UINT>(WM_CONTEXTMENU)), 0)
      << "the platform's scroll menu never comes";
  EXPECT_EQ(std::count(probe.messages.begin(), probe.messages.end(), static_cast<UINT>(WM_NCRBUTTONUP)), 0);
}

TEST_F(ScrollBars, RemovalGivesThePlatformItsBarsBack) {
  const int len = Length(sbVertical);
  const POINT arrow = OnVertical(len - 4);
  object.reset();
  ::RedrawWindow(probe.child, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  RECT client;
  ::GetClientRect(probe.child, &client);
  EXPECT_EQ(client.right, platformClient.right);
  EXPECT_EQ(client.bottom, platformClient.bottom);
  EXPECT_NE(WindowPixel(probe.child, arrow.x, arrow.y), kArrow);
  EXPECT_NE(WindowPixel(probe.child, 0, 40), kEditColor);
  // The platform's own bar works the mouse again.
  const POINT p = Screen(arrow);
  EXPECT_EQ(::SendMessageA(probe.child, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTVSCROLL);
}

TEST_F(ScrollBars, PrintingAHiddenWindowPutsFrameBarsBackgroundAndClientEachInItsPlace) {
  ::ShowWindow(probe.child, SW_HIDE);
  RECT w;
  ::GetWindowRect(probe.child, &w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  RECT inside;
  ::GetClientRect(probe.child, &inside);
  POINT origin{0, 0};
  ::ClientToScreen(probe.child, &origin);
  ::OffsetRect(&inside, origin.x - w.left, origin.y - w.top);
  ASSERT_GT(inside.left, 0) << "a client edge";
  const RECT vbar = Bar(sbVertical);
  const POINT arrow{(vbar.left + vbar.right) / 2, vbar.top + SystemArrowSize() / 2};
  constexpr COLORREF kUntouched = 0x010203;
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  struct Case {
    const char* what;
    DWORD flags;
    bool frame, background, client;
  };
  const Case cases[] = {
      {"everything", PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT, true, true, true},
      {"frame and bars", PRF_NONCLIENT, true, false, false},
      {"background", PRF_ERASEBKGND, false, true, false},
      {"client", PRF_CLIENT, false, false, true},
      {"nothing of a hidden window asked to check", PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto picture = NewBitmap32(width, height);
    HDC dc = picture->Canvas().Handle();
    FillBitmapRect(picture.get(), RECT{0, 0, width, height}, static_cast<fw::TColor>(kUntouched));
    ::SendMessageA(probe.child, WM_PRINT, reinterpret_cast<WPARAM>(dc), static_cast<LPARAM>(c.flags));
    const COLORREF inner = c.client ? kClientInk : c.background ? window : kUntouched;
    EXPECT_EQ(::GetPixel(dc, inside.left, inside.top), inner) << "the client's first pixel";
    EXPECT_EQ(::GetPixel(dc, inside.right - 1, inside.bottom - 1), inner) << "the client's last pixel";
    EXPECT_EQ(::GetPixel(dc, inside.left - 1, (inside.top + inside.bottom) / 2), c.frame ? kEditColor : kUntouched)
        << "the frame ring beside the client";
    EXPECT_EQ(::GetPixel(dc, 0, 0), c.frame ? kEditColor : kUntouched) << "the frame's corner";
    EXPECT_EQ(::GetPixel(dc, arrow.x, arrow.y), c.frame ? kArrow : kUntouched) << "the bar's first arrow";
    EXPECT_EQ(::GetPixel(dc, inside.right, inside.bottom - 1), c.frame ? kArrow : kUntouched)
        << "the bar's second arrow beside the client's last pixel";
  }
}

}  // namespace
}  // namespace translit
