// A skinned frame under the mouse and the keyboard, with real input: the hit
// test's zones exactly the frame's width (corners included), the title,
// icon, buttons and grip; dragging by the title and by the sizing zones;
// snapping one pixel inside SnapBuffer and not at it; maximising into the
// work area and restoring to the old place; the main dialog never sized or
// maximised; the skinned system menu from the icon, a right click on the
// title and Alt+Space, never the system's own; a double click on the icon
// closing the form; the outline move of ResizeMode rmBorder; and a hundred
// rounds of showing, moving, sizing, maximising, restoring, minimising and
// closing leaving no GDI or USER object behind.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/sSystemMenu.h"
#include "forms/acFrameGrip.h"
#include "forms/acFrameIcon.h"
#include "forms/acFramePlacement.h"
#include "tests/forms/FrameFixture.h"
#include "tests/forms/FrameInput.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/RealInput.h"

namespace translit {
namespace {

using namespace test;

RECT WindowRect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

RECT WorkArea(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

std::string Text(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// A sizeable form with minimise and maximise, as the gallery has.
std::unique_ptr<fw::TForm> MakeSizeable(const std::string& caption, int left = 150, int top = 120) {
  auto form = std::make_unique<fw::TForm>(fw::Application);
  form->SetBounds(left, top, 420, 320);
  form->SetCaption(caption);
  return form;
}

void ShowAndSettle(fw::TForm& form) {
  form.Show();
  ::SetForegroundWindow(form.Handle());
  PumpFor(200);
}

// A point of the window in screen coordinates.
POINT At(HWND window, int x, int y) {
  const RECT r = WindowRect(window);
  return POINT{r.left + x, r.top + y};
}

POINT Centre(HWND window, const RECT& inWindow) {
  return At(window, (inWindow.left + inWindow.right) / 2, (inWindow.top + inWindow.bottom) / 2);
}

// A point in the title away from the icon, the caption's end and the buttons.
POINT TitlePoint(HWND window) {
  const int b = ::GetSystemMetrics(SM_CXFRAME);
  return At(window, (WindowRect(window).right - WindowRect(window).left) / 2 - 40,
            b + ::GetSystemMetrics(SM_CYCAPTION) / 2);
}

class FrameInteraction : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = &FrameManager();
    testing_gui::MoveMouse(POINT{2, 2});
  }
  void TearDown() override { testing_gui::MoveMouse(POINT{2, 2}); }
  TsSkinManager* manager = nullptr;
};

TEST_F(FrameInteraction, HitCodesOfASizeableFrame) {
  auto form = MakeSizeable("Hit codes");
  auto* provider = new TsSkinProvider(form.get());
  provider->SetGripMode(gmRightBottom);
  ShowAndSettle(*form);
  HWND window = form->Handle();
  const TacFrameMetrics m = provider->Metrics();
  const int b = m.FrameBorder, W = m.Width, H = m.Height;
  ASSERT_EQ(b, ::GetSystemMetrics(SM_CXFRAME));
  ASSERT_GT(b, 1);
  auto hit = [&](POINT p) {
    return ::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(At(window, p.x, p.y).x, At(window, p.x, p.y).y));
  };
  struct Case {
    POINT p;
    LRESULT code;
    const char* what;
  };
  const RECT icon = TitleIconRect(*provider, m);
  const RECT grip = FrameGripRect(*provider, m);
  ASSERT_FALSE(::IsRectEmpty(&grip)) << "BlueIce has a size grip";
  const TacCaptionButtons& buttons = provider->CaptionButtons;
  auto mid = [](const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };
  const Case cases[] = {
      {{b - 1, H / 2}, HTLEFT, "left zone's last column"},
      {{b, H / 2}, HTCLIENT, "first column inside the left frame"},
      {{W - b, H / 2}, HTRIGHT, "right zone's first column"},
      {{W - b - 1, H / 2}, HTCLIENT, "last column inside the right frame"},
      {{W / 2, H - b}, HTBOTTOM, "bottom zone's first row"},
      {{W / 2, H - b - 1}, HTCLIENT, "last row inside the bottom frame"},
      {{W / 2, b - 1}, HTTOP, "top zone's last row"},
      {{W / 2, b}, HTCAPTION, "title's first row"},
      // Corners are the frame's width square, no more.
      {{b - 1, H - b}, HTBOTTOMLEFT, "bottom left corner"},
      {{b, H - b}, HTBOTTOM, "bottom zone just right of the corner"},
      {{b - 1, H - b - 1}, HTLEFT, "left zone just above the corner"},
      {{W - b, b - 1}, HTTOPRIGHT, "top right corner"},
      {{W - b - 1, 0}, HTTOP, "top zone just left of the corner"},
      {{W - b, b}, HTRIGHT, "right zone just below the corner"},
      {{W - b, H - b}, HTBOTTOMRIGHT, "bottom right corner"},
      {{0, 0}, HTTOPLEFT, "top left corner"},
      {mid(icon), HTSYSMENU, "icon"},
      {{W / 2 - 40, b + m.Caption / 2}, HTCAPTION, "title"},
      {{W / 2 - 40, b + m.Caption - 2}, HTCAPTION, "title's second last row"},
      {{W / 2 - 40, b + m.Caption - 1}, HTCAPTION, "title's last row"},
      {{W / 2 - 40, b + m.Caption}, HTCLIENT, "first row below the title"},
      {mid(buttons.Close.Bounds), HTCLOSE, "close button"},
      {mid(buttons.Maximize.Bounds), HTMAXBUTTON, "maximise button"},
      {mid(buttons.Minimize.Bounds), HTMINBUTTON, "minimise button"},
      {{W / 2, H / 2}, HTCLIENT, "client"},
      {mid(grip), HTBOTTOMRIGHT, "size grip"},
      {{grip.left - 1, mid(grip).y}, HTCLIENT, "left of the grip"},
  };
  for (const Case& c : cases) EXPECT_EQ(hit(c.p), c.code) << c.what << " at " << c.p.x << "," << c.p.y;
}

TEST_F(FrameInteraction, DraggingTheTitleMovesTheFormAndTheZonesSizeIt) {
  auto form = MakeSizeable("Dragged");
  new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  HWND window = form->Handle();
  const int b = ::GetSystemMetrics(SM_CXFRAME);
  RECT before = WindowRect(window);
  POINT title = TitlePoint(window);
  Drag(title, POINT{title.x + 37, title.y + 23});
  RECT after = WindowRect(window);
  EXPECT_EQ(after.left - before.left, 37) << Text(after);
  EXPECT_EQ(after.top - before.top, 23) << Text(after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  // The title's last row drags as well: the system's caption ends a row
  // higher and finds nothing there.
  before = after;
  const POINT lastRow{title.x + 37, after.top + b + ::GetSystemMetrics(SM_CYCAPTION) - 1};
  Drag(lastRow, POINT{lastRow.x - 12, lastRow.y - 7});
  after = WindowRect(window);
  EXPECT_EQ(after.left - before.left, -12) << Text(after);
  EXPECT_EQ(after.top - before.top, -7) << Text(after);

  struct Case {
    POINT press;  // window coordinates
    int dx, dy;
    RECT change;  // expected change of left, top, right, bottom
    const char* what;
  };
  before = after;
  const int W = before.right - before.left, H = before.bottom - before.top;
  const Case cases[] = {
      {{W - 1, H / 2}, 20, 0, {0, 0, 20, 0}, "the right frame's outer column"},
      {{W + 20 - b, H / 2}, 15, 0, {0, 0, 15, 0}, "the right frame's inner column"},
      {{W + 35 - b - 1, H / 2}, 15, 0, {0, 0, 0, 0}, "the client's last column"},
      // The bottom frame's first row next to the corner square: the bottom
      // edge alone, not the corner.
      {{b + 2, H - b}, 15, 15, {0, 0, 0, 15}, "the bottom frame beside the corner"},
      {{b - 1, H + 15 - b}, 10, 10, {10, 0, 0, 10}, "the bottom left corner"},
  };
  for (const Case& c : cases) {
    const RECT r0 = WindowRect(window);
    const POINT from{r0.left + c.press.x, r0.top + c.press.y};
    Drag(from, POINT{from.x + c.dx, from.y + c.dy});
    const RECT r1 = WindowRect(window);
    EXPECT_EQ(r1.left - r0.left, c.change.left) << c.what << ": " << Text(r0) << " -> " << Text(r1);
    EXPECT_EQ(r1.top - r0.top, c.change.top) << c.what << ": " << Text(r0) << " -> " << Text(r1);
    EXPECT_EQ(r1.right - r0.right, c.change.right) << c.what << ": " << Text(r0) << " -> " << Text(r1);
    EXPECT_EQ(r1.bottom - r0.bottom, c.change.bottom) << c.what << ": " << Text(r0) << " -> " << Text(r1);
  }
}

TEST(SnappedPosition, EdgesCloserThanTheBufferStickToTheWorkArea) {
  const RECT work{0, 0, 1000, 700};
  const SIZE size{300, 200};
  struct Case {
    POINT pos, expected;
  };
  const Case cases[] = {
      {{1000 - 300 - 9, 250}, {700, 250}},   // right edge 9 from the work area's: snaps
      {{1000 - 300 - 10, 250}, {690, 250}},  // exactly 10: stays
      {{1000 - 300 + 9, 250}, {700, 250}},   // past the edge by 9: back to it
      {{9, 250}, {0, 250}},
      {{10, 250}, {10, 250}},
      {{-9, 250}, {0, 250}},
      {{400, 700 - 200 - 9}, {400, 500}},
      {{400, 700 - 200 - 10}, {400, 490}},
      {{400, 9}, {400, 0}},
      {{400, 10}, {400, 10}},
  };
  for (const Case& c : cases) {
    const POINT p = SnappedPosition(c.pos, size, work, 10);
    EXPECT_EQ(p.x, c.expected.x) << c.pos.x << "," << c.pos.y;
    EXPECT_EQ(p.y, c.expected.y) << c.pos.x << "," << c.pos.y;
  }
  // A window wider than the work area: the left edge wins.
  EXPECT_EQ(SnappedPosition(POINT{5, 5}, SIZE{1003, 703}, work, 10).x, 0);
}

TEST_F(FrameInteraction, ADragSnapsOnePixelInsideTheBufferAndNotAtIt) {
  auto form = MakeSizeable("Snapping");
  auto* provider = new TsSkinProvider(form.get());
  provider->SetScreenSnap(true);
  ASSERT_EQ(provider->SnapBuffer(), 10);
  ShowAndSettle(*form);
  HWND window = form->Handle();
  const RECT work = WorkArea(window);
  for (int distance : {9, 10, 1, 11}) {
    const RECT r0 = WindowRect(window);
    const POINT from = TitlePoint(window);
    // Where the right edge comes to rest without snapping.
    const int dx = (work.right - distance) - r0.right;
    Drag(from, POINT{from.x + dx, from.y});
    const RECT r1 = WindowRect(window);
    const int expectedRight = distance < 10 ? work.right : work.right - distance;
    EXPECT_EQ(r1.right, expectedRight) << "right edge dragged to " << distance << " from the work area's";
    EXPECT_EQ(r1.top, r0.top);
    // Back to the middle for the next round.
    Drag(TitlePoint(window), POINT{TitlePoint(window).x - 150, TitlePoint(window).y});
  }
  const RECT r0 = WindowRect(window);
  const POINT from = TitlePoint(window);
  Drag(from, POINT{from.x - (r0.left - work.left) + 9, from.y - (r0.top - work.top) + 10});
  const RECT r1 = WindowRect(window);
  EXPECT_EQ(r1.left, work.left) << "9 from the left edge";
  EXPECT_EQ(r1.top, work.top + 10) << "10 from the top edge";
}

TEST_F(FrameInteraction, ADoubleClickOnTheTitleMaximisesIntoTheWorkAreaAndRestores) {
  auto form = MakeSizeable("Maximised");
  auto* provider = new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  HWND window = form->Handle();
  const RECT before = WindowRect(window);
  const RECT work = WorkArea(window);
  const int a = ::GetSystemMetrics(SM_CXFRAME);
  DoubleClick(TitlePoint(window));
  ASSERT_TRUE(::IsZoomed(window));
  const RECT max = WindowRect(window);
  EXPECT_EQ(Text(max), Text(RECT{work.left - a, work.top - a, work.right + a, work.bottom + a}));
  // The frame follows: a cache of the new size, the borders cut away.
  ASSERT_TRUE(provider->SkinData().CacheBmp);
  EXPECT_EQ(provider->SkinData().CacheBmp->Width(), max.right - max.left);
  EXPECT_EQ(provider->SkinData().CacheBmp->Height(), max.bottom - max.top);
  fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(::GetWindowRgn(window, region.Get()), SIMPLEREGION);
  RECT box{};
  ::GetRgnBox(region.Get(), &box);
  EXPECT_EQ(Text(box), Text(RECT{a, a, max.right - max.left - a, max.bottom - max.top - a}));
  // Pressing on a maximised title drags nothing.
  const POINT title = TitlePoint(window);
  Drag(title, POINT{title.x + 40, title.y + 40});
  EXPECT_TRUE(::IsZoomed(window));
  EXPECT_EQ(Text(WindowRect(window)), Text(max));
  DoubleClick(TitlePoint(window));
  EXPECT_FALSE(::IsZoomed(window));
  EXPECT_EQ(Text(WindowRect(window)), Text(before));
  EXPECT_EQ(provider->SkinData().CacheBmp->Width(), before.right - before.left);
}

TEST_F(FrameInteraction, TheMainDialogIsNeitherSizedNorMaximised) {
  auto form = MakeDialog("Main dialog");
  new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  HWND window = form->Handle();
  const RECT before = WindowRect(window);
  const int b = ::GetSystemMetrics(SM_CXDLGFRAME);
  DoubleClick(TitlePoint(window));
  EXPECT_FALSE(::IsZoomed(window));
  EXPECT_EQ(Text(WindowRect(window)), Text(before));
  const int W = before.right - before.left, H = before.bottom - before.top;
  for (POINT p : {POINT{W - 1, H / 2}, POINT{W - b, H - b}, POINT{0, H / 2}, POINT{W / 2, H - 1}}) {
    const POINT from = At(window, p.x, p.y);
    Drag(from, POINT{from.x + 20, from.y + 20});
    EXPECT_EQ(Text(WindowRect(window)), Text(before)) << "pressed at " << p.x << "," << p.y;
  }
}

TEST_F(FrameInteraction, TheSkinnedSystemMenuOpensFromTheTitleAndNeverTheSystemsOwn) {
  auto form = MakeSizeable("Window menu");
  auto* provider = new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  HWND window = form->Handle();
  const TacFrameMetrics m = provider->Metrics();
  ASSERT_TRUE(IconVisible(*provider));
  const RECT icon = TitleIconRect(*provider, m);
  const RECT r = WindowRect(window);
  // The menu that opens and its place on the screen; then it is closed
  // again, so that a menu loop cannot keep the test waiting.
  HMENU shown = nullptr;
  RECT shownAt{};
  auto thenEscape = [&] {
    HWND popup = WaitForPopupMenu(5000);
    if (!popup) return;
    ::Sleep(200);
    shown = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
    ::GetWindowRect(popup, &shownAt);
    testing_gui::PressKeyOnDisplay("Escape");
    ::Sleep(300);
  };
  struct Case {
    const char* what;
    std::function<void()> hand;
    POINT expected;
  };
  const POINT title = TitlePoint(window);
  const Case cases[] = {
      {"right click on the title",
       [&] {
         testing_gui::ClickMouse(title, true);
         thenEscape();
       },
       title},
      {"right click on the icon",
       [&] {
         testing_gui::ClickMouse(Centre(window, icon), true);
         thenEscape();
       },
       Centre(window, icon)},
      {"click on the icon",
       [&] {
         testing_gui::ClickMouse(Centre(window, icon));
         thenEscape();
       },
       POINT{r.left + m.FrameBorder, r.top + 2 * m.TopFrame + (icon.bottom - icon.top)}},
      {"Alt+Space",
       [&] {
         testing_gui::MoveMouse(At(window, m.Width / 2, m.Height / 2));
         testing_gui::PressKeyOnDisplay("alt+space");
         thenEscape();
       },
       POINT{r.left + m.FrameBorder, r.top + m.TopFrame + (icon.bottom - icon.top)}},
  };
  for (const Case& c : cases) {
    ::SetForegroundWindow(window);
    PumpFor(100);
    shown = nullptr;
    WithHand(c.hand);
    ASSERT_NE(shown, nullptr) << c.what << ": no menu opened";
    ASSERT_NE(provider->SystemMenu(), nullptr);
    EXPECT_EQ(shown, provider->SystemMenu()->Handle()) << c.what << ": the skinned system menu, never the system's own";
    EXPECT_EQ(shownAt.left, c.expected.x) << c.what;
    EXPECT_EQ(shownAt.top, c.expected.y) << c.what;
  }
}

TEST_F(FrameInteraction, ADoubleClickOnTheIconClosesTheForm) {
  auto form = MakeSizeable("Closed from its icon");
  auto* provider = new TsSkinProvider(form.get());
  bool closed = false;
  form->OnClose = [&](fw::TComponent*, fw::TCloseAction&) { closed = true; };
  ShowAndSettle(*form);
  HWND window = form->Handle();
  DoubleClick(Centre(window, TitleIconRect(*provider, provider->Metrics())));
  EXPECT_TRUE(PumpUntil([&] { return closed; }, 2000));
}

TEST_F(FrameInteraction, TheOutlineModeMovesAndSizesTheFormOnRelease) {
  auto form = MakeSizeable("Outline");
  auto* provider = new TsSkinProvider(form.get());
  provider->SetResizeMode(rmBorder);
  ShowAndSettle(*form);
  HWND window = form->Handle();
  // The outline replaces the system's drag of the whole window.
  BOOL fullDrag = FALSE;
  ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  struct Restore {
    BOOL value;
    ~Restore() { ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, value, nullptr, 0); }
  } restore{fullDrag};
  const RECT before = WindowRect(window);
  RECT midway{};
  const POINT from = TitlePoint(window);
  WithHand([&] {
    testing_gui::MoveMouse(from);
    testing_gui::MouseButtons(MOUSEEVENTF_LEFTDOWN);
    ::Sleep(150);
    testing_gui::MoveMouse(POINT{from.x + 30, from.y + 20});
    ::Sleep(200);
    midway = WindowRect(window);
    testing_gui::MoveMouse(POINT{from.x + 45, from.y + 25});
    ::Sleep(100);
    testing_gui::MouseButtons(MOUSEEVENTF_LEFTUP);
    ::Sleep(200);
  });
  EXPECT_EQ(Text(midway), Text(before)) << "the form waits for the release";
  RECT after = WindowRect(window);
  EXPECT_EQ(after.left - before.left, 45);
  EXPECT_EQ(after.top - before.top, 25);
  // Sizing from the left edge, down to no less than the minimum width.
  const RECT r0 = after;
  const POINT edge = At(window, 1, (r0.bottom - r0.top) / 2);
  Drag(edge, POINT{edge.x + 1000, edge.y});
  after = WindowRect(window);
  EXPECT_EQ(after.right, r0.right);
  EXPECT_EQ(after.right - after.left, ::GetSystemMetrics(SM_CXMINTRACK));
}

TEST(FrameCounts, ShowMoveSizeMaximiseRestoreMinimiseCloseLeaveNoObjectsBehind) {
  FrameManager();
  testing_gui::MoveMouse(POINT{2, 2});
  auto round = [&](int i) {
    auto form = MakeSizeable("Round " + std::to_string(i), 100 + i % 9, 90);
    auto* provider = new TsSkinProvider(form.get());
    provider->SetScreenSnap(true);
    provider->SetGripMode(gmRightBottom);
    form->Show();
    HWND window = form->Handle();
    PumpFor(5);
    form->SetBounds(form->Left() + 7, form->Top() + 5, form->Width(), form->Height());
    PumpFor(5);
    form->SetBounds(form->Left(), form->Top(), form->Width() + 10 + i % 5, form->Height() + 8);
    PumpFor(5);
    for (WPARAM command : {SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE, SC_RESTORE}) {
      ::SendMessageA(window, WM_SYSCOMMAND, command, 0);
      PumpFor(5);
    }
    form->Close();
    PumpFor(5);
  };
  for (int i = 0; i < 3; ++i) round(i);
  PumpFor(50);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 0; i < 100; ++i) round(i);
  PumpFor(50);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

}  // namespace
}  // namespace translit
