// The pop-up blocker end to end: the built TarvickLite.exe and corvel.dll
// against the fixture browser, driven by real input; assertions on windows
// and on the stored counters.
#include <gtest/gtest.h>

#include "popup_bed.h"

using namespace tltest;

namespace {

class PopupE2E : public ::testing::Test, public PopupBed {
 protected:
  HWND Open(int command, const char* title, const char* cls = "PopFixtureFrame") {
    PostMessageA(browserMain, WM_COMMAND, command, 0);
    return FindProcessWindow(browser.pid(), cls, title, 5000);
  }
  // Nothing hides or closes the window for this long.
  bool StaysVisible(HWND w, DWORD ms) {
    return !WaitUntil([&] { return !IsWindow(w) || !IsWindowVisible(w); }, ms);
  }
};

TEST_F(PopupE2E, PopupOpenedByItselfIsHiddenAnnouncedAndClosedAfterFiveSeconds) {
  Install(1, 1);
  ASSERT_TRUE(StartBoth());
  HWND pop = Open(kOpenByItself, "Popup Ad");
  ASSERT_TRUE(pop);
  DWORD opened = GetTickCount();
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(pop); }, 2000))
      << "the pop-up was not hidden";
  std::printf("hidden after %lu ms\n", GetTickCount() - opened);
  EXPECT_TRUE(WaitUntil([&] { return ScreenVisible(); }, 1000));
  EXPECT_TRUE(IsWindow(pop));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(pop); }, 10000)) << "the pop-up was not closed";
  DWORD closedAfter = GetTickCount() - opened;
  EXPECT_GE(closedAfter, 4500u);
  EXPECT_EQ(BlockCount(), "1");
  EXPECT_TRUE(IsWindow(browserMain)) << "the pop-up is closed, not its browser";
}

TEST_F(PopupE2E, WindowsTheUserAskedForAreLeftAlone) {
  Install(1, 1);
  ASSERT_TRUE(StartBoth());
  // A real click in the page opens a window 300 ms later.
  HWND page = FindWindowExA(browserMain, nullptr, "Internet Explorer_Server", nullptr);
  ASSERT_TRUE(page);
  RECT r;
  GetWindowRect(page, &r);
  ClickAt(r);
  HWND clicked = FindProcessWindow(browser.pid(), "PopFixtureFrame", "Clicked Window", 5000);
  ASSERT_TRUE(clicked);
  SetCursorPos(5, 5);
  EXPECT_TRUE(StaysVisible(clicked, 1500));

  // The menu item "Open in &New Window" chosen with the mouse.
  PostMessageA(browserMain, WM_COMMAND, kClickMenuItem, 0);
  HWND asked = FindProcessWindow(browser.pid(), "PopFixtureFrame", "Asked Window", 5000);
  ASSERT_TRUE(asked);
  SetCursorPos(5, 5);
  EXPECT_TRUE(StaysVisible(asked, 1500));
  EXPECT_FALSE(ScreenVisible());
  EXPECT_EQ(BlockCount(), "<missing>");
}

TEST_F(PopupE2E, ClassicModeClosesAtOnceAndCountsOnce) {
  Install(0, 1);
  ASSERT_TRUE(StartBoth());
  HWND pop = Open(kOpenByItself, "Popup Ad");
  ASSERT_TRUE(pop);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(pop); }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return ScreenVisible(); }, 1000));  // it only reports
  EXPECT_TRUE(WaitUntil([&] { return !ScreenVisible(); }, 10000));
  EXPECT_EQ(BlockCount(), "1");
}

TEST_F(PopupE2E, NoNotificationClosesWithoutAnyScreen) {
  Install(1, 0);
  ASSERT_TRUE(StartBoth());
  PostMessageA(browserMain, WM_COMMAND, kOpenByItself, 0);
  // Closed within a pass or two: too fast to watch the window itself.
  ASSERT_TRUE(WaitUntil([&] { return BlockCount() == "1" || ScreenVisible(); }, 3000));
  EXPECT_FALSE(ScreenVisible());
  EXPECT_FALSE(FindProcessWindow(browser.pid(), "PopFixtureFrame", "Popup Ad", 500));
  EXPECT_EQ(BlockCount(), "1");
}

TEST_F(PopupE2E, WebPageDialogOpenedByItselfIsAnnounced) {
  Install(1, 1);
  ASSERT_TRUE(StartBoth());
  HWND dlg = Open(kOpenDialog, "Offer -- Web Page Dialog", "Internet Explorer_TridentDlgFrame");
  ASSERT_TRUE(dlg);
  EXPECT_TRUE(WaitUntil([&] { return ScreenVisible(); }, 3000));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 10000));
  EXPECT_EQ(BlockCount(), "1");
}

TEST_F(PopupE2E, WhiteListedAddressLetsThePopupThrough) {
  Install(1, 1);
  ASSERT_TRUE(StartBoth());
  HWND pop = Open(kOpenTrusted, "Trusted Window");
  ASSERT_TRUE(pop);
  EXPECT_TRUE(StaysVisible(pop, 2000));
  EXPECT_FALSE(ScreenVisible());
  EXPECT_EQ(BlockCount(), "<missing>");
}

}  // namespace
