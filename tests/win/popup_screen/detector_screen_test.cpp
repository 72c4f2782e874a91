// The detector screen in-process, with pop-ups the test creates: what the
// end-to-end tests cannot watch closely — peeking without activation, the
// countdown held by the mouse, dragging, the log rows, re-layout at a new
// DPI, white-listing edge cases and an unticked notice.
#include <gtest/gtest.h>

#include <set>

#include "app/settings_store.h"
#include "app/program_win.h"
#include "app/root_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/first_time_frm_win.h"
#include "popup/pop_blocker_win.h"
#include "tests/fixtures/fixture_window.h"
#include "win_test_util.h"

using namespace tltest;
using Scr = PopUpDetectorScrFrm;

namespace {

std::set<HWND> gClosed;  // pop-ups that received WM_CLOSE

LRESULT CALLBACK PopupProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) gClosed.insert(h);
  return DefWindowProcA(h, msg, wp, lp);
}

HWND MakePopup(const char* title, const char* address = nullptr, const char* cls = "TestPopup") {
  fixture::RegisterWindowClass(cls, PopupProc, nullptr);  // fails harmlessly once the class exists
  HWND h = CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 400, 260,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (address)
    CreateWindowExA(0, "Edit", address, WS_CHILD | WS_VISIBLE, 4, 4, 380, 22, h, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
  return h;
}

void MoveCursor(int x, int y) {
  SetCursorPos(x, y);
  Pump(150);
}

class DetectorScreen : public ::testing::Test {
 protected:
  Scr& screen = ModMain::DetectorForm();

  void SetUp() override {
    ModMain::InitProcessValues();
    ModMain::Prog().Settings = tl::SettingsRecord{};
    // Browser 0 hides and announces; browser 1 is in classic mode.
    tl::BrowserEntry b;
    b.Path = "C:\\nowhere\\browser.exe";
    b.HidePop = 1;
    b.PopDisNotf = 1;
    b.PreDefinedWhite[0] = {0, "good.example", 0};
    ModMain::Blocker().Browsers = {b, b};
    ModMain::Blocker().Browsers[1].HidePop = 0;
    ModMain::Blocker().BlockedList.clear();
    ModMain::Blocker().Counters = {};
    DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("PopUp"));
    DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("General"));
    ModMain::Prog().Store.Write(tl::kAppTitle, "General", "MsgID-1", "False");
    ASSERT_TRUE(screen.Load(ModMain::Blocker()));
    MoveCursor(2, 2);  // off the screen, which sits at the bottom right
  }
  HWND Item(int id) { return GetDlgItem(screen.hwnd(), id); }
  // A pop-up of browser 0, made and announced.
  HWND Show(const char* title, const char* address = nullptr, const char* cls = "TestPopup") {
    HWND h = MakePopup(title, address, cls);
    screen.ShowPop(title, 0, h, 0, 0, false);
    return h;
  }
  // Steps until the screen stands still at its full height.
  void SlideIn() {
    RECT before = RectOf(screen.hwnd()), after;
    for (int step = 0; step < 20; ++step, before = after) {
      screen.Timer1_Timer();
      after = RectOf(screen.hwnd());
      if (EqualRect(&before, &after)) break;
    }
  }
};

}  // namespace

TEST_F(DetectorScreen, HoverPeeksWithoutActivatingAndTheMouseOnTheScreenHoldsTheCountdown) {
  HWND pop = MakePopup("Cheap flights", "http://ads.example/offer");
  Pump();
  DWORD shownAt = GetTickCount();
  screen.ShowPop("Cheap flights", 0, pop, 3, 77, false);
  EXPECT_TRUE(GetWindowLongA(screen.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(TextOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_URLLBL)), "URL:      http://ads.example/offer");
  SlideIn();
  RECT in = RectOf(screen.hwnd());
  RECT strip = RectOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_PICTURE1));

  // Hovering the strip shows the hidden pop-up on top without taking the
  // foreground from the window the user is in; leaving it hides it again.
  HWND working = MakePopup("Editor", nullptr, "TestWorking");
  SetForegroundWindow(working);
  Pump();
  ShowWindow(pop, SW_HIDE);
  MoveCursor((strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2);
  EXPECT_TRUE(IsWindowVisible(pop));
  EXPECT_TRUE(GetWindowLongA(pop, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetForegroundWindow(), working);
  MoveCursor(in.left + 20, in.top + 40);
  screen.Timer1_Timer();
  EXPECT_FALSE(IsWindowVisible(pop));
  EXPECT_FALSE(GetWindowLongA(pop, GWL_EXSTYLE) & WS_EX_TOPMOST);
  DestroyWindow(working);

  // Resting on the screen (off the strip) holds the countdown past five seconds.
  while (GetTickCount() - shownAt < 5300) {
    screen.Timer1_Timer();
    Pump(100);
  }
  EXPECT_EQ(screen.PendingWindow(), pop);
  EXPECT_TRUE(ModMain::Blocker().BlockedList.empty());
  // Off the screen, the held-over countdown ends at the next step.
  MoveCursor(2, 2);
  screen.Timer1_Timer();
  Pump(50);
  EXPECT_TRUE(gClosed.count(pop));

  // Classic mode (browser 1): the panel names the pop-up and is wholly on show.
  screen.ShowPop("Casino", 1, MakePopup("Casino"), 0, 0, false);
  SlideIn();
  EXPECT_GE(RectOf(screen.hwnd()).bottom,
            RectOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_COMMAND1)).bottom);
  EXPECT_EQ(TextOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAME)), "Casino");
  // The separate close box only hides the report: the pop-up was logged once.
  SendMessageA(Item(Scr::IDC_POPUPDETECTORSCRFRM_ASXTOOLBARCLOSE), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_EQ(ModMain::Blocker().BlockedList.size(), 2u);
}

TEST_F(DetectorScreen, MovedToAMonitorOfTwiceTheDpiItIsLaidOutAgainAndStillShowsItsStrip) {
  Show("Prize");
  SlideIn();
  RECT was = RectOf(screen.hwnd());
  RECT strip96 = RectOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_PICTURE1));
  // The system's rectangle: twice the size, growing up and to the left.
  RECT suggested = {2 * was.left - was.right, 2 * was.top - was.bottom, was.right, was.bottom};
  SendMessageA(screen.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192),
               reinterpret_cast<LPARAM>(&suggested));
  screen.Timer1_Timer();
  RECT at = RectOf(screen.hwnd()), strip = RectOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_PICTURE1));
  EXPECT_EQ(at.left, suggested.left);
  EXPECT_EQ(at.top, suggested.top);
  EXPECT_NEAR(strip.bottom - strip.top, 2 * (strip96.bottom - strip96.top), 1);
  EXPECT_GE(at.bottom, strip.bottom);  // the whole strip on show at the new size
  EXPECT_LE(at.bottom, strip.bottom + 6);
}

TEST_F(DetectorScreen, CloseButtonTwoInARowDraggingAndClosingTheScreenLogEach) {
  // "Close window" closes at once and logs the name ("(none)" when blank),
  // the address and the browser.
  HWND shut = Show("", "http://ads.example/offer");
  SendMessageA(Item(Scr::IDC_POPUPDETECTORSCRFRM_CLOSEBTN), BM_CLICK, 0, 0);
  Pump(50);
  EXPECT_TRUE(gClosed.count(shut));
  ASSERT_EQ(ModMain::Blocker().BlockedList.size(), 1u);
  EXPECT_EQ(ModMain::Blocker().BlockedList[0].WindowName, "(none)");
  EXPECT_EQ(ModMain::Blocker().BlockedList[0].PageAddress, "http://ads.example/offer");
  EXPECT_EQ(ModMain::Blocker().BlockedList[0].Tag, "C:\\nowhere\\browser.exe");

  // Two in a row: the first is closed and logged, the second takes its place.
  HWND first = Show("First");
  SlideIn();
  HWND second = Show("Second");
  Pump(50);
  EXPECT_TRUE(gClosed.count(first));
  EXPECT_FALSE(gClosed.count(second));
  EXPECT_EQ(ModMain::Blocker().BlockedList.back().WindowName, "First");
  EXPECT_EQ(screen.PendingWindow(), second);
  RECT after = RectOf(screen.hwnd());
  EXPECT_EQ(TextOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_WNNAMELBL)), "Window Name:        Second");

  // Dragged by its title, the screen follows the press point and stays
  // where it is dropped.
  RECT title = RectOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_SCREENLABEL));
  POINT press = {title.left + 30, title.top + 8};
  POINT client = press;
  ScreenToClient(screen.hwnd(), &client);
  SendMessageA(screen.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  SetCursorPos(press.x - 300, press.y - 200);
  SendMessageA(screen.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, 0);
  SendMessageA(screen.hwnd(), WM_LBUTTONUP, 0, 0);
  MoveCursor(2, 2);
  screen.Timer1_Timer();
  RECT dropped = RectOf(screen.hwnd());
  EXPECT_NEAR(dropped.left, after.left - 300, 1);
  EXPECT_NEAR(dropped.top, after.top - 200, 1);
  EXPECT_EQ(dropped.bottom - dropped.top, after.bottom - after.top);

  // Closing the screen ends the announcement but the form stays loaded.
  SendMessageA(screen.hwnd(), WM_CLOSE, 0, 0);
  Pump(50);
  EXPECT_TRUE(IsWindow(screen.hwnd()));
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_TRUE(gClosed.count(second));
  EXPECT_EQ(ModMain::Blocker().BlockedList.size(), 3u);  // each logged once
}

TEST_F(DetectorScreen, TheHelpViewerLocalFilesAndLateAddressesAreLetThrough) {
  // The help viewer's name counts only with its own window class.
  HWND help = Show("Microsoft Internet Explorer", nullptr, "HH Parent");
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(help));
  HWND fake = Show("Microsoft Internet Explorer");
  EXPECT_EQ(screen.PendingWindow(), fake);
  screen.CloseDetector();

  // A local file as address; a folder is not a file.
  std::string dir = MakeTempDir("scr");
  std::string file = dir + "\\page.htm";
  CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  HWND local = Show("Local page", file.c_str());
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(local));
  HWND folder = Show("Folder", dir.c_str());
  EXPECT_EQ(screen.PendingWindow(), folder);
  screen.CloseDetector();

  // about:blank first, then a white-listed address: shown at the next step.
  HWND later = Show("Loading", "about:blank");
  screen.Timer1_Timer();
  EXPECT_EQ(screen.PendingWindow(), later);
  SetWindowTextA(GetWindow(later, GW_CHILD), "https://good.example/cart");
  screen.Timer1_Timer();
  Pump(50);
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(later));
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_EQ(ModMain::Blocker().BlockedList.size(), 2u);  // the fake viewer and the folder
}

// The notice shown on the screen's first pop-up is proved end to end; here
// the answers that store nothing and the suppressed notice.
TEST_F(DetectorScreen, AnUntickedNoticeStoresNothingAndASuppressedOneIsNotShown) {
  ModMain::Prog().Store.Delete(tl::kAppTitle, "General", "MsgID-1");
  EXPECT_TRUE(AnsweringBoxes("OK", [&] { EXPECT_TRUE(ShowFirstTime(1, screen.hwnd())); }, "Poptarn").hwnd);
  EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, SettingsKey("General"), "MsgID-1").exists);

  // Suppressed: not shown (a shown notice, with no one to answer it, would hang here).
  ModMain::Prog().Store.Write(tl::kAppTitle, "General", "MsgID-1", "False");
  EXPECT_FALSE(ShowFirstTime(1, screen.hwnd()));
}
