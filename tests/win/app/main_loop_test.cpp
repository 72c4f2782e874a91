// The main loop, the connection test and the reminder form in-process, with
// the real forms: the loop's pace, the hotkey, protection per connection.
#include <gtest/gtest.h>

#include "app/main_loop_win.h"
#include "app/reminders_win.h"
#include "app/program_win.h"
#include "app/root_win.h"
#include "app/startup_win.h"
#include "mainwin/interface_frm_win.h"
#include "win_test_util.h"

using namespace tltest;

namespace {

class MainLoopTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ModMain::InitProcessValues();
    ModMain::LoadForms();
  }
  void SetUp() override {
    ModMain::Prog().Exiting = false;
    ModMain::Prog().Settings = tl::SettingsRecord{};
    ModMain::Prog().DialUpStartPending = ModMain::Prog().LanStartPending = true;
    IntMod::SimulatedConnection = false;
    ShowWindow(ModMain::MainForm().hwnd(), SW_HIDE);
  }
  // Runs the real loop for about ms milliseconds.
  static void RunLoopFor(UINT ms) {
    SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      ModMain::Prog().Exiting = true;
    });
    ModMainLoop::RunMainLoop();
    ModMain::Prog().Exiting = false;
  }
};

TEST_F(MainLoopTest, HotkeyShowsAndRefreshesTheHiddenWindow) {
  InterfaceFrm& main = ModMain::MainForm();
  uint32_t refreshes = main.RefreshCount();
  ModMainLoop::LastRefreshTick = 0;
  PostMessageA(main.hwnd(), WM_HOTKEY, 49151, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'E'));
  RunLoopFor(400);
  EXPECT_TRUE(IsWindowVisible(main.hwnd()));
  EXPECT_GT(main.RefreshCount(), refreshes);
  EXPECT_NE(ModMainLoop::LastRefreshTick, 0u);  // the refresh timer restarted
  // Already visible: brought forward, no immediate refresh.
  refreshes = main.RefreshCount();
  ModMain::MainForm().mnuSettingsUpdateSpd_Click(3);
  PostMessageA(main.hwnd(), WM_HOTKEY, 49151, 0);
  RunLoopFor(300);
  EXPECT_EQ(main.RefreshCount(), refreshes);
}

// Modem mode: a dial-up connection ("Con" simulates one) or, without one,
// the system's network list saying the machine is online starts protection.
TEST_F(MainLoopTest, ModemModeProtectsWhenDialedUpOrOnlineThroughTheNetwork) {
  ModMain::Prog().Settings.BlockPopUps = true;
  EXPECT_FALSE(IntMod::IsDialUpConnected());  // no modem under Wine
  bool online = IntMod::IsInternetConnected(GetTickCount());
  ModMainLoop::PeriodicWork();
  EXPECT_EQ(ModMain::Prog().DialUpStartPending, !online);

  HWND con = GetDlgItem(ModMain::MainForm().hwnd(), InterfaceFrm::IDC_INTERFACEFRM_COMMAND1);
  SendMessageA(con, BM_CLICK, 0, 0);
  ASSERT_TRUE(IntMod::IsDialUpConnected());
  ModMainLoop::PeriodicWork();
  EXPECT_FALSE(ModMain::Prog().DialUpStartPending);

  SendMessageA(GetDlgItem(ModMain::MainForm().hwnd(), InterfaceFrm::IDC_INTERFACEFRM_COMMAND2),
               BM_CLICK, 0, 0);
  ModMainLoop::PeriodicWork();
  EXPECT_EQ(ModMain::Prog().DialUpStartPending, !online);
}

TEST_F(MainLoopTest, ReminderFormShowsTheUsersTextAndClosesWithItsButtons) {
  // One counted active minute with an interval of one: the form opens.
  ModMain::Prog().Settings.WinReminderInterval = 1;
  ModMain::Prog().Settings.IdleResetMinutes = 3;
  ModMain::Prog().Settings.WinReminderText = "Stand up and stretch.";
  IntMod::Reminder = {};
  IntMod::ReminderTick(5000);
  IntMod::LastCursorPos = {-1000, -1000};  // the cursor "moved" since
  IntMod::ReminderTick(65000);
  HWND form = FindProcessWindow(GetCurrentProcessId(), "TarvickLiteReminder", nullptr, 2000);
  ASSERT_TRUE(form);
  char text[512] = {};
  GetDlgItemTextA(form, RemindersMsgFrm::IDC_LABEL1, text, sizeof text);
  EXPECT_STREQ(text, "Stand up and stretch.");

  // "Don't show this reminder again" and OK: closed, reminder off, saved.
  CheckDlgButton(form, RemindersMsgFrm::IDC_DONTSHOWCHK, BST_CHECKED);
  SendMessageA(GetDlgItem(form, RemindersMsgFrm::IDC_OKBUTTON), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(ModMain::Prog().Settings.WinReminderInterval, 0);
  EXPECT_EQ(IntMod::Reminder.ActiveMinutes, 0);
  EXPECT_NE(Setting("Options", "SProgCount"), "<missing>");  // the options were saved

  // "Settings ..." shows the main window with its quick settings menu
  // (closed here from within its own loop), then closes the form.
  IntMod::ShowFrm(0, "Reminder", "Text");
  form = FindProcessWindow(GetCurrentProcessId(), "TarvickLiteReminder", nullptr, 2000);
  ASSERT_TRUE(form);
  static bool menuShown;
  menuShown = false;
  UINT_PTR closer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    if (!IsWindowVisible(FindWindowA("#32768", nullptr))) return;
    menuShown = true;
    EndMenu();
  });
  SendMessageA(GetDlgItem(form, RemindersMsgFrm::IDC_SETTINGSBTN), BM_CLICK, 0, 0);
  KillTimer(nullptr, closer);
  EXPECT_TRUE(menuShown);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_TRUE(IsWindowVisible(ModMain::MainForm().hwnd()));
}

}  // namespace
