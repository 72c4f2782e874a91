// The main window in-process with the real forms: its menus, the toolbar's
// hints and the page, the menu toggles, the update speeds driving the main
// loop, always on top, F1 and dragging.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/main_loop_win.h"
#include "app/program_win.h"
#include "app/root_win.h"
#include "app/startup_win.h"
#include "app/system_settings_win.h"
#include "mainwin/interface_frm_win.h"
#include "win_test_util.h"

using namespace tltest;
using Frm = InterfaceFrm;

namespace {

bool Checked(HMENU m, int id) { return GetMenuState(m, id, MF_BYCOMMAND) & MF_CHECKED; }

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ModMain::InitProcessValues();
    ModMain::LoadForms();
  }
  Frm& main = ModMain::MainForm();
};

TEST_F(MainWindowTest, ToolbarHintsAndThePage) {
  auto hint = [&] { return TextOf(GetDlgItem(main.hwnd(), Frm::IDC_INTERFACEFRM_LBLONLINEHELP)); };
  HWND tb = main.CommandToolbar();
  ASSERT_EQ(SendMessageA(tb, TB_BUTTONCOUNT, 0, 0), 6);
  SendMessageA(tb, TB_SETHOTITEM, 5, 0);  // "Exit"
  EXPECT_EQ(hint(), "Exit Tarvick");
  SendMessageA(main.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));  // the body clears it
  EXPECT_EQ(hint(), "");

  // The page sits in the client area below the page toolbar.
  main.TlbButtons("PopUp");
  EXPECT_EQ(TextOf(main.hwnd()), "Tarvick Lite - Pop-Up Blocker");
  RECT page = RectOf(main.Page()), bar = RectOf(main.PageToolbar()), client{};
  GetClientRect(main.hwnd(), &client);
  MapWindowPoints(main.hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(GetParent(main.Page()), main.hwnd());
  EXPECT_TRUE(IsWindowVisible(main.Page()) || !IsWindowVisible(main.hwnd()));
  EXPECT_GE(page.top, bar.bottom);
  EXPECT_GT(page.bottom - page.top, 100);
  EXPECT_LE(page.bottom, client.bottom);
}

TEST_F(MainWindowTest, TogglesKeepTheirOwnStateAndStore) {
  ModMain::Program& p = ModMain::Prog();
  int starts = 0;
  auto saved = main.commands.StartDetection;
  main.commands.StartDetection = [&] { ++starts; };
  p.Settings.BlockPopUps = false;
  main.mnuFileBlock_Click();
  EXPECT_TRUE(p.Settings.BlockPopUps);
  EXPECT_TRUE(Checked(main.FileMenu(), Frm::IDC_INTERFACEFRM_MNUFILEBLOCK));
  EXPECT_EQ(starts, 1);
  main.mnuFileBlock_Click();  // off: the loop stops the detection, not the command
  EXPECT_FALSE(Checked(main.FileMenu(), Frm::IDC_INTERFACEFRM_MNUFILEBLOCK));
  EXPECT_EQ(starts, 1);
  main.commands.StartDetection = saved;

  // The start-up choices are stored at once and leave the running state alone.
  bool wasChecked = main.PopBlockChecked();
  main.mnuSettingsPopBlock_Click();
  EXPECT_EQ(Setting("MoreTools", "BlockPopUps"), wasChecked ? "False" : "True");
  main.mnuSettingsMsgBlock_Click();
  EXPECT_EQ(Setting("MoreTools", "BlockMessenger"), main.MsgBlockChecked() ? "True" : "False");
  EXPECT_FALSE(p.Settings.BlockPopUps);
}

TEST_F(MainWindowTest, PausedStopsTheRefreshAndHighRefreshesAfterFourSeconds) {
  // The intervals themselves are the core's; here the menu drives the loop.
  ShowWindow(main.hwnd(), SW_SHOWNA);
  main.mnuSettingsUpdateSpd_Click(3);
  EXPECT_TRUE(Checked(main.UpdateSpeedMenu(), Frm::IDC_INTERFACEFRM_MNUSETTINGSUPDATESPD0 + 3));
  uint32_t refreshes = main.RefreshCount();
  ModMainLoop::LastRefreshTick = GetTickCount() - 600000;
  ModMainLoop::PeriodicWork();
  EXPECT_EQ(main.RefreshCount(), refreshes);

  main.mnuSettingsUpdateSpd_Click(0);
  ModMainLoop::LastRefreshTick = GetTickCount() - 4000;
  ModMainLoop::PeriodicWork();
  EXPECT_EQ(main.RefreshCount(), refreshes + 1);
  ShowWindow(main.hwnd(), SW_HIDE);
}

TEST_F(MainWindowTest, AlwaysOnTopSurvivesActivationAndCoversShownForms) {
  auto topmost = [](HWND h) { return (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ShowWindow(main.hwnd(), SW_SHOWNORMAL);
  if (!main.AlwaysOnTop()) main.mnuSettingsTop_Click();
  ASSERT_TRUE(topmost(main.hwnd()));
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  SetForegroundWindow(main.hwnd());
  EXPECT_TRUE(topmost(main.hwnd()));
  // A form shown while the main window is on top is on top too.
  ShowWindow(other, SW_HIDE);
  ModMain::ShowForm(other);
  EXPECT_TRUE(topmost(other));
  EXPECT_TRUE(IsWindowVisible(other));

  main.mnuSettingsTop_Click();
  EXPECT_FALSE(topmost(main.hwnd()));
  SetForegroundWindow(other);
  SetForegroundWindow(main.hwnd());
  EXPECT_FALSE(topmost(main.hwnd()));
  DestroyWindow(other);
  ShowWindow(main.hwnd(), SW_HIDE);
}

TEST_F(MainWindowTest, F1OpensTheHelpPageAndDraggingLowersThePriority) {
  std::vector<std::string> opened;
  auto saved = main.commands.OpenAddress;
  main.commands.OpenAddress = [&](const std::string& a) { opened.push_back(a); };
  ShowWindow(main.hwnd(), SW_SHOWNORMAL);
  main.BringForward();
  PressKeys({VK_F1});
  WaitUntil([&] { return !opened.empty(); }, 5000, /*pump=*/true);
  main.MainTbl_ButtonClick("Help");
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], ModMain::Prog().ProgramFolder + "\\Help.html");
  EXPECT_EQ(opened[1], opened[0]);
  main.commands.OpenAddress = saved;

  SendMessageA(main.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 300));
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  SendMessageA(main.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 300));
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  ShowWindow(main.hwnd(), SW_HIDE);
}

}  // namespace
