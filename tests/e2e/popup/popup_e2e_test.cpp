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
    return FixtureWindow(browser.pid(), cls, title);
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
  HWND clicked = FixtureWindow(browser.pid(), "PopFixtureFrame", "Clicked Window");
  ASSERT_TRUE(clicked);
  SetCursorPos(5, 5);
  EXPECT_TRUE(StaysVisible(clicked, 1500));

  // The menu item "Open in &New Window" chosen with the mouse.
  PostMessageA(browserMain, WM_COMMAND, kClickMenuItem, 0);
  HWND asked = FixtureWindow(browser.pid(), "PopFixtureFrame", "Asked Window");
  ASSERT_TRUE(asked);
  SetCursorPos(5, 5);
  EXPECT_TRUE(StaysVisible(asked, 1500));
  EXPECT_FALSE(ScreenVisible());
  EXPECT_EQ(BlockCount(), "<missing>");
}

TEST_F(PopupE2E, ClassicModeClosesAtOnceAndCountsOnce) {
  Install(0, 1);
  ASSERT_TRUE(StartBoth());
  PostMessageA(browserMain, WM_COMMAND, kOpenByItself, 0);
  // Closed within a pass or two: too fast to watch the window itself.
  ASSERT_TRUE(WaitUntil([&] { return BlockCount() == "1"; }, 3000));
  EXPECT_TRUE(WaitUntil(
      [&] { return !FindProcessWindow(browser.pid(), "PopFixtureFrame", "Popup Ad", 0); }, 2000));
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
  EXPECT_TRUE(WaitUntil(
      [&] { return !FindProcessWindow(browser.pid(), "PopFixtureFrame", "Popup Ad", 0); }, 2000));
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

namespace {

// The detector screen's controls, as the user meets them.
constexpr int kPicture1 = 105;       // the hover strip
constexpr int kApproveWndBtn = 108;  // "Show Window"
constexpr int kNoticeOKButton = 203;

TEST_F(PopupE2E, PeekOnHoverAndShowWindowKeepsThePopup) {
  Install(1, 1);
  ASSERT_TRUE(StartBoth());
  HWND pop = Open(kOpenByItself, "Popup Ad");
  ASSERT_TRUE(pop);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(pop) && ScreenVisible(); }, 3000));
  HWND screen = Screen();
  Sleep(800);  // slid into place
  HWND strip = GetDlgItem(screen, kPicture1);
  HWND show = GetDlgItem(screen, kApproveWndBtn);
  ASSERT_TRUE(strip && show);
  char caption[64] = {};
  GetWindowTextA(show, caption, sizeof caption);
  EXPECT_STREQ(caption, "Show Window");
  RECT r;
  GetWindowRect(strip, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pop); }, 2000)) << "hover shows the pop-up";
  SetCursorPos(5, 5);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pop); }, 2000)) << "leaving hides it again";
  // The real mouse on "Show Window": the pop-up is kept and shown.
  GetWindowRect(show, &r);
  ClickAt(r);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pop) && !ScreenVisible(); }, 2000));
  SetCursorPos(5, 5);
  Sleep(6000);
  EXPECT_TRUE(IsWindow(pop) && IsWindowVisible(pop)) << "a kept pop-up is not closed later";
  EXPECT_EQ(BlockCount(), "<missing>");
}

TEST_F(PopupE2E, FirstPopupOfARunComesWithTheNoticeOnce) {
  Install(1, 1, /*noticeSuppressed=*/false);
  ASSERT_TRUE(StartBoth());
  HWND pop = Open(kOpenByItself, "Popup Ad");
  ASSERT_TRUE(pop);
  HWND notice = FindProcessWindow(program.pid(), nullptr, "Poptarn", 5000);
  ASSERT_TRUE(notice) << "no first-use notice";
  EXPECT_TRUE(IsWindow(pop)) << "the pop-up waits while the notice is open";
  DWORD_PTR ignored;
  SendMessageTimeoutA(GetDlgItem(notice, kNoticeOKButton), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 3000, &ignored);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(notice); }, 3000));
  DWORD closedNotice = GetTickCount();
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(pop); }, 10000));
  EXPECT_GE(GetTickCount() - closedNotice, 5500u) << "a second longer after the notice";
  // The second pop-up of the run: no notice.
  HWND second = Open(kOpenByItself, "Popup Ad");
  ASSERT_TRUE(second);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(second); }, 3000));
  EXPECT_FALSE(FindProcessWindow(program.pid(), nullptr, "Poptarn", 1500));
}

}  // namespace
