// The detector screen in-process, with pop-ups the test creates: what the
// end-to-end tests cannot reach — the log rows, dragging, and white-listing
// that asks the file system and window classes.
#include <gtest/gtest.h>

#include <set>

#include "app/program_win.h"
#include "app/root_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/pop_blocker_win.h"
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
  wc.lpfnWndProc = PopupProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = cls;
  RegisterClassA(&wc);  // fails harmlessly once the class exists
  HWND h = CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 400, 260,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (address)
    CreateWindowExA(0, "Edit", address, WS_CHILD | WS_VISIBLE, 4, 4, 380, 22, h, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
  return h;
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

RECT RectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

class DetectorScreen : public ::testing::Test {
 protected:
  Scr& screen = ModMain::DetectorForm();
  ModPop::PopupBlocker& blocker = ModMain::Blocker();

  void SetUp() override {
    ModMain::InitProcessValues();
    ModMain::Prog().Settings = tl::SettingsRecord{};
    // Browser 0 hides and announces; browser 1 is in classic mode.
    tl::BrowserEntry b;
    b.Path = "C:\\nowhere\\browser.exe";
    b.HidePop = 1;
    b.PopDisNotf = 1;
    b.PreDefinedWhite[0] = {0, "good.example", 0};
    blocker.Browsers = {b, b};
    blocker.Browsers[1].HidePop = 0;
    blocker.BlockedList.clear();
    ModMain::Prog().Store.Write(tl::kAppTitle, "General", "MsgID-1", "False");
    ASSERT_TRUE(screen.Load(blocker));
    SetCursorPos(2, 2);  // off the screen, which sits at the bottom right
  }
  HWND Item(int id) { return GetDlgItem(screen.hwnd(), id); }
  // Steps until the screen stands still.
  void SlideIn() {
    for (int steps = 0; steps < 20; ++steps) {
      RECT before = RectOf(screen.hwnd());
      screen.Timer1_Timer();
      RECT after = RectOf(screen.hwnd());
      if (EqualRect(&before, &after)) return;
    }
  }
};

}  // namespace

TEST_F(DetectorScreen, CloseButtonASecondPopupAndClosingTheScreenLogEachPopupOnce) {
  // "Close window" closes at once and logs the name ("(none)" when blank),
  // the address and the browser.
  HWND shut = MakePopup("", "http://ads.example/offer");
  screen.ShowPop("", 0, shut, 0, 0, false);
  SendMessageA(Item(Scr::IDC_POPUPDETECTORSCRFRM_CLOSEBTN), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(gClosed.count(shut));
  ASSERT_EQ(blocker.BlockedList.size(), 1u);
  EXPECT_EQ(blocker.BlockedList[0].WindowName, "(none)");
  EXPECT_EQ(blocker.BlockedList[0].PageAddress, "http://ads.example/offer");
  EXPECT_EQ(blocker.BlockedList[0].Tag, "C:\\nowhere\\browser.exe");

  // A second pop-up while one is announced: the first is closed and logged.
  HWND first = MakePopup("First");
  HWND second = MakePopup("Second");
  screen.ShowPop("First", 0, first, 0, 0, false);
  SlideIn();
  screen.ShowPop("Second", 0, second, 0, 0, false);
  Pump();
  EXPECT_TRUE(gClosed.count(first));
  EXPECT_FALSE(gClosed.count(second));
  EXPECT_EQ(blocker.BlockedList.back().WindowName, "First");
  EXPECT_EQ(screen.PendingWindow(), second);

  // Closing the screen ends the announcement; the form stays loaded.
  SendMessageA(screen.hwnd(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_TRUE(IsWindow(screen.hwnd()));
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_TRUE(gClosed.count(second));
  EXPECT_EQ(blocker.BlockedList.size(), 3u);
}

TEST_F(DetectorScreen, DraggedByItsTitleItStaysWhereItIsDropped) {
  screen.ShowPop("Dragged", 0, MakePopup("Dragged"), 0, 0, false);
  SlideIn();
  RECT before = RectOf(screen.hwnd());
  RECT title = RectOf(Item(Scr::IDC_POPUPDETECTORSCRFRM_SCREENLABEL));
  POINT press = {title.left + 30, title.top + 8};
  POINT client = press;
  ScreenToClient(screen.hwnd(), &client);
  SendMessageA(screen.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  SetCursorPos(press.x - 300, press.y - 200);
  SendMessageA(screen.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, 0);
  SendMessageA(screen.hwnd(), WM_LBUTTONUP, 0, 0);
  SetCursorPos(2, 2);
  screen.Timer1_Timer();
  RECT dropped = RectOf(screen.hwnd());
  EXPECT_NEAR(dropped.left, before.left - 300, 1);
  EXPECT_NEAR(dropped.top, before.top - 200, 1);
  EXPECT_EQ(dropped.bottom - dropped.top, before.bottom - before.top);
}

TEST_F(DetectorScreen, HelpViewerLocalFilesAndLateWhiteListedAddressesAreLetThrough) {
  // The help viewer's name counts only with its own window class.
  HWND help = MakePopup("Microsoft Internet Explorer", nullptr, "HH Parent");
  screen.ShowPop("Microsoft Internet Explorer", 0, help, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(help));
  HWND fake = MakePopup("Microsoft Internet Explorer");
  screen.ShowPop("Microsoft Internet Explorer", 0, fake, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), fake);
  screen.CloseDetector();

  // A local file as address; a folder is not a file.
  std::string dir = MakeTempDir("scr");
  std::string file = dir + "\\page.htm";
  CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  HWND local = MakePopup("Local page", file.c_str());
  screen.ShowPop("Local page", 0, local, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(local));
  HWND folder = MakePopup("Folder", dir.c_str());
  screen.ShowPop("Folder", 0, folder, 0, 0, false);
  EXPECT_EQ(screen.PendingWindow(), folder);
  screen.CloseDetector();

  // about:blank first, then a white-listed address: let through at the next step.
  HWND later = MakePopup("Loading", "about:blank");
  screen.ShowPop("Loading", 0, later, 0, 0, false);
  screen.Timer1_Timer();
  EXPECT_EQ(screen.PendingWindow(), later);
  SetWindowTextA(GetWindow(later, GW_CHILD), "https://good.example/cart");
  screen.Timer1_Timer();
  Pump();
  EXPECT_EQ(screen.PendingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(later));
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
}
