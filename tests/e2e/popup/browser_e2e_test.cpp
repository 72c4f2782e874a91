// Today's browsers end to end: the built program and hook library against
// the Chromium-style fixture, which draws its own menus and tab strip and
// may refuse the hook library; real mouse and keyboard input.
#include <gtest/gtest.h>

#include "popup_bed.h"

using namespace tltest;

namespace {

constexpr DWORD kLongerThanTheInterval = 1600;

class BrowserE2E : public ::testing::Test, public PopupBed {
 protected:
  void SetUp() override {
    fixtureName = "chromium_browser";
    frameClass = "Chrome_WidgetWin_1";
    frameTitle = "Fixture Chromium";
  }
  HWND Window(const char* title, DWORD pid = 0) {
    return FixtureWindow(pid ? pid : browser.pid(), "Chrome_WidgetWin_1", title);
  }
  bool StaysVisible(HWND w) {
    return !WaitUntil([&] { return !IsWindow(w) || !IsWindowVisible(w); }, kLongerThanTheInterval);
  }
  bool GetsHidden(HWND w) { return WaitUntil([&] { return !IsWindowVisible(w); }, 2000); }
  // Closed by the test, so the next window of that title is a new one.
  void Close(HWND w) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(w); }, 2000);
  }
  // Client rectangles of the fixture, on the screen.
  RECT OnScreen(HWND w, RECT r) {
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  RECT Tab(HWND w) { return OnScreen(w, {8, 4, 160, 32}); }
  RECT MenuButton(HWND w) {
    RECT c;
    GetClientRect(w, &c);
    return OnScreen(w, {c.right - 36, 4, c.right - 4, 32});
  }
  RECT Page(HWND w) {
    RECT r;
    GetWindowRect(FindWindowExA(w, nullptr, "Chrome_RenderWidgetHostHWND", nullptr), &r);
    return r;
  }
  void CtrlN() {
    PostMessageA(browserMain, WM_COMMAND, kTakeFocus, 0);
    Sleep(300);
    INPUT in[4] = {};
    WORD keys[4] = {VK_CONTROL, 'N', 'N', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
      in[i].type = INPUT_KEYBOARD;
      in[i].ki.wVk = keys[i];
      in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, in, sizeof(INPUT));
  }
  // Moved and pressed by one SendInput: under Wine a SetCursorPos just
  // before may reach the release only after it (the release lands where
  // the cursor was).
  static void Click(const RECT& r) {
    Mouse(MOUSEEVENTF_MOVE, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
  }
  static void MoveAway() { Mouse(MOUSEEVENTF_MOVE, 5, 5); }
  static void Mouse(DWORD flags, int x = 0, int y = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
      in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
      in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
      in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    SendInput(1, &in, sizeof in);
  }
};

TEST_F(BrowserE2E, IntelligentModeLeavesWhatTheUserAskedForAndHidesWhatThePageOpened) {
  blockMode = 1;
  Install(1, 1);
  ASSERT_TRUE(StartBoth());

  CtrlN();
  HWND typed = Window("New Window");
  ASSERT_TRUE(typed);
  EXPECT_TRUE(StaysVisible(typed)) << "Ctrl+N";
  Close(typed);

  // The browser's own menu: its button, then its item, both drawn by it.
  Click(MenuButton(browserMain));
  HWND menu = FindProcessWindow(browser.pid(), "Chrome_WidgetWin_2", nullptr, 3000);
  ASSERT_TRUE(menu);
  RECT item;
  GetWindowRect(menu, &item);
  Click(item);
  HWND chosen = Window("New Window");
  ASSERT_TRUE(chosen);
  MoveAway();
  EXPECT_TRUE(StaysVisible(chosen)) << "menu item \"New window\"";
  Close(chosen);

  // A tab torn out of the strip: the window comes while the button is down.
  RECT tab = Tab(browserMain);
  Mouse(MOUSEEVENTF_MOVE, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 8; ++step) {
    Mouse(MOUSEEVENTF_MOVE, tab.left + 40 + 20 * step, tab.bottom + 20 * step);
    Sleep(20);
  }
  HWND dragged = Window("Dragged Tab");
  Sleep(500);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(dragged);
  EXPECT_TRUE(StaysVisible(dragged)) << "tab dragged out";
  Close(dragged);

  Click(Page(browserMain));
  HWND clicked = Window("Clicked Window");
  ASSERT_TRUE(clicked);
  MoveAway();
  EXPECT_TRUE(StaysVisible(clicked)) << "0.3 s after a click in the page";
  EXPECT_FALSE(ScreenVisible());
  EXPECT_EQ(BlockCount(), "<missing>");

  // No input for three seconds, then the page's timer opens a window.
  PostMessageA(browserMain, WM_COMMAND, kOpenByItself, 3000);
  HWND pop = Window("Popup Ad");
  ASSERT_TRUE(pop);
  ASSERT_TRUE(GetsHidden(pop));
  EXPECT_TRUE(WaitUntil([&] { return ScreenVisible(); }, 1000));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(pop); }, 10000)) << "the pop-up was not closed";
  EXPECT_EQ(BlockCount(), "1");
}

TEST_F(BrowserE2E, AggressiveModeHidesTheWindowAPageClickOpened) {
  blockMode = 0;
  Install(1, 1);
  ASSERT_TRUE(StartBoth());
  CtrlN();
  HWND typed = Window("New Window");
  ASSERT_TRUE(typed);
  EXPECT_TRUE(StaysVisible(typed)) << "Ctrl+N";

  Click(Page(browserMain));
  HWND clicked = Window("Clicked Window");
  ASSERT_TRUE(clicked);
  MoveAway();
  EXPECT_TRUE(GetsHidden(clicked));
}

// Browser 1 keeps the hook library out; the user clicks in browser 2 and
// browser 1 opens a window 0.3 s later.
TEST_F(BrowserE2E, AClickInAnotherBrowserAsksNothingAndARefusedLibraryHidesNothingLess) {
  blockMode = 1;
  fixtureArgs = "--refuse-hooks";
  Install(1, 1);
  ASSERT_TRUE(StartBoth());
  Process other;
  ASSERT_TRUE(other.Start(fixture, "", ""));
  HWND otherMain = FindProcessWindow(other.pid(), "Chrome_WidgetWin_1", "Fixture Chromium", 10000);
  ASSERT_TRUE(otherMain);
  SetWindowPos(otherMain, HWND_TOP, 640, 300, 0, 0, SWP_NOSIZE);
  Sleep(700);  // its first window is recorded, not judged

  PostMessageA(browserMain, WM_COMMAND, kOpenByItself, 300);
  Click(Tab(otherMain));
  HWND pop = Window("Popup Ad");
  ASSERT_TRUE(pop);
  MoveAway();
  EXPECT_TRUE(GetsHidden(pop));
  DWORD_PTR hooked = 1;
  SendMessageTimeoutA(browserMain, kAskHooked, 0, 0, SMTO_ABORTIFHUNG, 2000, &hooked);
  EXPECT_EQ(hooked, 0u) << "the library got into the refusing browser";
  SendMessageTimeoutA(otherMain, kAskHooked, 0, 0, SMTO_ABORTIFHUNG, 2000, &hooked);
  EXPECT_EQ(hooked, 1u) << "the library reaches an ordinary browser";
}

}  // namespace
