// The detector screen in-process, with pop-ups the test creates and a
// browser list the test sets up: hiding, slide, countdown, peek, the user's
// choices, classic mode, white-listing and the first-use notice.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "app/settings_store.h"
#include "app/startup_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/first_time_frm_win.h"
#include "popup/pop_detect_win.h"
#include "popup/pop_lists_win.h"
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
  WNDCLASSA wc{};
  if (!GetClassInfoA(GetModuleHandleA(nullptr), cls, &wc)) {
    wc.lpfnWndProc = PopupProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
  }
  HWND h = CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 400, 260,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (address)
    CreateWindowExA(0, "Edit", address, WS_CHILD | WS_VISIBLE, 4, 4, 380, 22, h, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
  return h;
}

void Pump(DWORD ms = 0) {
  DWORD end = GetTickCount() + ms;
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (ms) Sleep(10);
  } while (static_cast<int32_t>(GetTickCount() - end) < 0);
}

RECT RectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

void MoveCursor(int x, int y) {
  SetCursorPos(x, y);
  Pump(150);
}

tl::BrowserEntry Browser(int16_t hidePop, int16_t notify = 1) {
  tl::BrowserEntry b;
  b.Path = "C:\\nowhere\\browser.exe";
  b.HidePop = hidePop;
  b.PopDisNotf = notify;
  b.PreDefinedWhite[0] = {1, "Checkout", 0};
  b.PreDefinedWhite[1] = {0, "good.example", 0};
  return b;
}

class DetectorScreen : public ::testing::Test {
 protected:
  Scr& screen = ModMain::DetectorForm();

  void SetUp() override {
    ModMain::InitProcessValues();
    ModMain::Settings = tl::SettingsRecord{};
    ModPop::Browsers = {Browser(1), Browser(0), Browser(1, 0)};
    ModPop::BlockedList.clear();
    ModPop::Counters = {};
    ModPop::UserPeek = false;
    DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("PopUp"));
    DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("General"));
    ModMain::Store().Write(tl::kAppTitle, "General", "MsgID-1", "False");
    ASSERT_TRUE(screen.Load());
    MoveCursor(2, 2);  // off the screen, which sits at the bottom right
  }
  HWND Item(int id) { return GetDlgItem(screen.hwnd(), id); }
  std::string Text(int id) {
    char buf[512] = {};
    GetWindowTextA(Item(id), buf, sizeof buf);
    return buf;
  }
  // Steps until the screen stands still at its full height; the steps that moved it.
  int SlideIn() {
    int steps = 0;
    for (int i = 0; i < 20; ++i) {
      RECT before = RectOf(screen.hwnd());
      screen.Timer1_Timer();
      RECT after = RectOf(screen.hwnd());
      if (EqualRect(&before, &after)) break;
      ++steps;
    }
    return steps;
  }
  // Steps ten times a second for ms milliseconds, or until the screen hides.
  void RunFor(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    while (IsWindowVisible(screen.hwnd()) && static_cast<int32_t>(GetTickCount() - end) < 0) {
      screen.Timer1_Timer();
      Pump(100);
    }
  }
  void Click(int id) {
    SendMessageA(Item(id), BM_CLICK, 0, 0);
    Pump(50);
  }
};

}  // namespace

TEST_F(DetectorScreen, HidesSlidesUpLetsThePopupBePeekedAtAndClosesItAfterFiveSeconds) {
  HWND pop = MakePopup("Cheap flights", "http://ads.example/offer");
  Pump();
  DWORD shownAt = GetTickCount();
  screen.ShowPop("Cheap flights", 0, pop, 3, 77, false);
  EXPECT_FALSE(IsWindowVisible(pop));
  EXPECT_TRUE(IsWindowVisible(screen.hwnd()));
  EXPECT_TRUE(GetWindowLongA(screen.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_SCREENLABEL), "Pop-up Detected");
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_WNNAMELBL), "Window Name:        Cheap flights");
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_URLLBL), "URL:      http://ads.example/offer");
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_LBLSHOWWIN), "Move your mouse here to see the window");
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_APPROVEWNDBTN), "Show Window");
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_CLOSEBTN), "Close window");

  // Starts as a sliver and grows upward in eighths to show the whole strip.
  RECT start = RectOf(screen.hwnd());
  EXPECT_LE(start.bottom - start.top, 2);
  int steps = SlideIn();
  EXPECT_GE(steps, 8);  // eight eighths, then the last small move into place
  EXPECT_LE(steps, 10);
  RECT in = RectOf(screen.hwnd());
  RECT strip = RectOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_PICTURE1));
  EXPECT_GE(in.bottom, strip.bottom);   // the strip is wholly on show
  EXPECT_LE(in.bottom, strip.bottom + 4);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(in.bottom, work.bottom);  // wholly on the screen
  EXPECT_LE(in.right, work.right);
  EXPECT_TRUE(IsWindowVisible(Item(Scr::IDC_POPUPDETECTORSCRFRM_PICTURE1)));
  EXPECT_FALSE(IsWindowVisible(Item(Scr::IDC_POPUPDETECTORSCRFRM_INFOPIC)));

  // Peek: over the strip the pop-up shows; off it, it hides again.
  MoveCursor((strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2);
  EXPECT_TRUE(screen.Peeking());
  EXPECT_TRUE(ModPop::UserPeek);
  EXPECT_TRUE(IsWindowVisible(pop));
  // Resting on the screen holds the countdown past five seconds.
  MoveCursor(in.left + 20, in.top + 40);
  screen.Timer1_Timer();
  EXPECT_FALSE(IsWindowVisible(pop));
  EXPECT_FALSE(screen.Peeking());
  while (GetTickCount() - shownAt < 5300) {
    screen.Timer1_Timer();
    Pump(100);
  }
  EXPECT_EQ(screen.PendingWindow(), pop);
  EXPECT_TRUE(ModPop::BlockedList.empty());

  // Off the screen, the next step closes and logs it.
  MoveCursor(2, 2);
  screen.Timer1_Timer();
  Pump(50);
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_TRUE(gClosed.count(pop));
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  ASSERT_EQ(ModPop::BlockedList.size(), 1u);
  EXPECT_EQ(ModPop::BlockedList[0].WindowName, "Cheap flights");
  EXPECT_EQ(ModPop::BlockedList[0].PageAddress, "http://ads.example/offer");
  EXPECT_EQ(ModPop::BlockedList[0].Tag, "C:\\nowhere\\browser.exe");
  EXPECT_EQ(Setting("PopUp", "TotalBlockCnt"), "1");
}

TEST_F(DetectorScreen, UserChoicesTwoInARowAndSilentBrowsers) {
  // "Show Window" keeps the pop-up: shown, screen hidden, nothing logged.
  HWND keep = MakePopup("Wanted");
  screen.ShowPop("Wanted", 0, keep, 0, 0, false);
  SlideIn();
  Click(Scr::IDC_POPUPDETECTORSCRFRM_APPROVEWNDBTN);
  EXPECT_TRUE(IsWindowVisible(keep));
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_FALSE(gClosed.count(keep));
  EXPECT_TRUE(ModPop::BlockedList.empty());

  // "Close window" closes and logs at once.
  HWND shut = MakePopup("");
  screen.ShowPop("", 0, shut, 0, 0, false);
  Click(Scr::IDC_POPUPDETECTORSCRFRM_CLOSEBTN);
  EXPECT_TRUE(gClosed.count(shut));
  ASSERT_EQ(ModPop::BlockedList.size(), 1u);
  EXPECT_EQ(ModPop::BlockedList[0].WindowName, "(none)");

  // Two in a row: the first is closed and logged, the screen stays in place.
  HWND first = MakePopup("First");
  HWND second = MakePopup("Second");
  screen.ShowPop("First", 0, first, 0, 0, false);
  SlideIn();
  RECT before = RectOf(screen.hwnd());
  screen.ShowPop("Second", 0, second, 0, 0, false);
  Pump(50);
  EXPECT_TRUE(gClosed.count(first));
  EXPECT_FALSE(gClosed.count(second));
  EXPECT_EQ(ModPop::BlockedList.back().WindowName, "First");
  EXPECT_EQ(screen.PendingWindow(), second);
  RECT after = RectOf(screen.hwnd());
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_WNNAMELBL), "Window Name:        Second");

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
  EXPECT_EQ(ModPop::BlockedList.size(), 3u);

  // A browser without notification: closed and logged, no screen at all.
  HWND quiet = MakePopup("Quiet");
  screen.ShowPop("Quiet", 2, quiet, 0, 0, false);
  Pump(50);
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_TRUE(gClosed.count(quiet));
  EXPECT_EQ(ModPop::BlockedList.size(), 4u);
  EXPECT_EQ(Setting("PopUp", "TotalBlockCnt"), "4");

  // An index past the browser list (a dialog with no browsers) is no crash.
  ModPop::Browsers.clear();
  HWND dialog = MakePopup("Survey -- Web Page Dialog");
  screen.ShowPop("", 0, dialog, 0, 0, true);
  Pump(50);
  EXPECT_TRUE(gClosed.count(dialog));
  EXPECT_EQ(ModPop::BlockedList.back().Tag, "Internet Explorer");
  EXPECT_EQ(ModPop::BlockedList.back().WindowName, "Survey -- Web Page Dialog");
}

TEST_F(DetectorScreen, WhiteListedNamesAddressesAndLocalFilesAreLetThrough) {
  // The help viewer's name counts only with its own window class.
  HWND help = MakePopup("Microsoft Internet Explorer", nullptr, "HH Parent");
  screen.ShowPop("Microsoft Internet Explorer", 0, help, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(help));
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  HWND fake = MakePopup("Microsoft Internet Explorer");
  screen.ShowPop("Microsoft Internet Explorer", 0, fake, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), fake);
  EXPECT_FALSE(IsWindowVisible(fake));
  screen.CloseDetector();

  // A white-listed window name.
  HWND named = MakePopup("Shop - Checkout");
  screen.ShowPop("Shop - Checkout", 0, named, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(named));

  // A local file as address; a folder is not a file.
  std::string dir = MakeTempDir("scr");
  std::string file = dir + "\\page.htm";
  HANDLE f = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
  HWND local = MakePopup("Local page", file.c_str());
  screen.ShowPop("Local page", 0, local, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(local));
  HWND folder = MakePopup("Folder", dir.c_str());
  screen.ShowPop("Folder", 0, folder, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), folder);
  screen.CloseDetector();

  // about:blank first, then a white-listed address: shown at the next step.
  HWND later = MakePopup("Loading", "about:blank");
  screen.ShowPop("Loading", 0, later, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), later);
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_URLLBL), "URL:      about:blank");
  screen.Timer1_Timer();
  EXPECT_EQ(screen.PendingWindow(), later);
  SetWindowTextA(GetWindow(later, GW_CHILD), "https://good.example/cart");
  screen.Timer1_Timer();
  Pump(50);
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(later));
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_FALSE(gClosed.count(later));
  EXPECT_EQ(ModPop::BlockedList.size(), 2u);  // the fake viewer and the folder
}

TEST_F(DetectorScreen, ClassicModeClosesAtOnceAndCountsOnce) {
  HWND pop = MakePopup("Casino", "http://casino.example/");
  screen.ShowPop("Casino", 1, pop, 0, 0, false);
  Pump(50);
  EXPECT_TRUE(gClosed.count(pop));
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  ASSERT_EQ(ModPop::BlockedList.size(), 1u);
  EXPECT_EQ(ModPop::BlockedList[0].PageAddress, "http://casino.example/");
  EXPECT_TRUE(IsWindowVisible(screen.hwnd()));
  SlideIn();
  EXPECT_TRUE(IsWindowVisible(Item(Scr::IDC_POPUPDETECTORSCRFRM_INFOPIC)));
  EXPECT_TRUE(IsWindowVisible(Item(Scr::IDC_POPUPDETECTORSCRFRM_COMMAND1)));
  EXPECT_FALSE(IsWindowVisible(Item(Scr::IDC_POPUPDETECTORSCRFRM_PICTURE1)));
  EXPECT_FALSE(IsWindowEnabled(Item(Scr::IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON1)));
  RECT in = RectOf(screen.hwnd());
  EXPECT_GE(in.bottom, RectOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_COMMAND1)).bottom);
  EXPECT_EQ(Text(Scr::IDC_POPUPDETECTORSCRFRM_WNNAMELBL), "Window Name:        Casino");
  // The countdown hides the screen with nothing pending: no second row.
  RunFor(6000);
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_EQ(ModPop::BlockedList.size(), 1u);
  EXPECT_EQ(Setting("PopUp", "TotalBlockCnt"), "1");
}

namespace {
// Answers the notice from a second thread: it is modal on the test thread.
class NoticeAnswerer {
 public:
  explicit NoticeAnswerer(bool tick)
      : thread_([this, tick] {
          HWND box = WaitForMessageBox(GetCurrentProcessId(), "Poptarn", 15000);
          if (!box) return;
          info_ = ReadMessageBox(box);
          topmost_ = GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST;
          owner_ = GetWindow(box, GW_OWNER);
          if (tick)
            SendMessageA(GetDlgItem(box, FirstTimeFrm::IDC_FIRSTTIMEFRM_DONTDISPLAYCHK),
                         BM_SETCHECK, BST_CHECKED, 0);
          PressButton(box, "OK");
          closedAt_ = GetTickCount();
        }) {}
  ~NoticeAnswerer() { Wait(); }
  MessageBoxInfo Wait() {
    if (thread_.joinable()) thread_.join();
    return info_;
  }
  bool topmost_ = false;
  HWND owner_ = nullptr;
  DWORD closedAt_ = 0;

 private:
  MessageBoxInfo info_;
  std::thread thread_;
};
}  // namespace

TEST_F(DetectorScreen, FirstPopupOfTheRunBringsTheNoticeOnceAndOneMoreSecond) {
  ModMain::Store().Delete(tl::kAppTitle, "General", "MsgID-1");
  HWND pop = MakePopup("Prize");
  screen.ShowPop("Prize", 0, pop, 0, 0, false);
  NoticeAnswerer answer(true);
  SlideIn();  // returns once the notice is closed
  MessageBoxInfo seen = answer.Wait();
  EXPECT_EQ(seen.caption, "Poptarn");
  EXPECT_EQ(seen.text,
            "This is your first time to use Tarvick pop-up blocker, Poptarn. When Tarvick detects a "
            "pop-up, it hides it and just shows information about it. With a simple mouse hover you "
            "can take a peek and decide whether to show it. Otherwise, the pop-up will be "
            "automatically blocked after a few seconds.");
  EXPECT_EQ(seen.defaultButton, "OK");
  EXPECT_TRUE(answer.topmost_);
  EXPECT_EQ(answer.owner_, screen.hwnd());
  EXPECT_EQ(Setting("General", "MsgID-1"), "False");

  // Five seconds after the notice closed the pop-up is still there; a
  // second later it is closed.
  while (GetTickCount() - answer.closedAt_ < 5300) {
    screen.Timer1_Timer();
    Pump(100);
  }
  EXPECT_EQ(screen.PendingWindow(), pop);
  RunFor(1500);
  EXPECT_TRUE(gClosed.count(pop));

  // The next pop-up of the run: no notice (even with the flag cleared).
  ModMain::Store().Delete(tl::kAppTitle, "General", "MsgID-1");
  HWND next = MakePopup("Again");
  screen.ShowPop("Again", 0, next, 0, 0, false);
  DWORD t = GetTickCount();
  SlideIn();
  EXPECT_LT(GetTickCount() - t, 1000u);
  EXPECT_FALSE(WaitForMessageBox(GetCurrentProcessId(), "Poptarn", 200));
  screen.CloseDetector();
}

TEST_F(DetectorScreen, NoticeWithoutTheBoxStoresNothingAndASuppressedOneIsNotShown) {
  ModMain::Store().Delete(tl::kAppTitle, "General", "MsgID-1");
  {
    NoticeAnswerer answer(false);
    EXPECT_TRUE(ShowFirstTime(1, screen.hwnd()));
  }
  EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, SettingsKey("General"), "MsgID-1").exists);
  ModMain::Store().Write(tl::kAppTitle, "General", "MsgID-1", "False");
  DWORD t = GetTickCount();
  EXPECT_FALSE(ShowFirstTime(1, screen.hwnd()));
  EXPECT_LT(GetTickCount() - t, 500u);
}
