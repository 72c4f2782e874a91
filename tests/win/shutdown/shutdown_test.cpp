// The shutdown commands in-process, on a countdown form of their own and a
// window standing in for the main window. These tests run in a Wine prefix
// of their own: a fault here may really end the session.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "app/program_win.h"
#include "shutdown/cancel_event_win.h"
#include "shutdown/shutdown_win.h"
#include "win_test_util.h"

using namespace tltest;

namespace {

class ShutDown : public ::testing::Test {
 protected:
  CancelEvent form;
  HWND mainWnd = nullptr;

  void SetUp() override {
    ModMain::InitProcessValues();
    ModMain::Prog().Exiting = false;
    ASSERT_TRUE(form.Load(nullptr));
    mainWnd = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                              200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ModMain::Prog().MessageOwner = mainWnd;
  }
  void TearDown() override {
    ModMain::Prog().MessageOwner = nullptr;
    DestroyWindow(mainWnd);
  }
  void ExpectSessionAlone() {
    EXPECT_FALSE(ModMain::Prog().Exiting);
    EXPECT_TRUE(IsWindowVisible(mainWnd));
    EXPECT_FALSE(IsWindowVisible(form.hwnd()));
    EXPECT_FALSE(form.CancelRequested);
  }
};

const ModExitWin::SessionCalls kNoSessionEnd{
    [](UINT, DWORD) { ADD_FAILURE() << "the session was ended"; }};

// What the countdown looked like while it ran, seen from a timer.
struct Seen {
  CancelEvent* form = nullptr;
  bool visible = false, topmost = false, counting = false;
  std::string label;
};
Seen gSeen;

void CALLBACK LookAndCancel(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  CancelEvent& f = *gSeen.form;
  gSeen.visible = IsWindowVisible(f.hwnd());
  gSeen.topmost = GetWindowLongA(f.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST;
  gSeen.label = f.CancelLabel();
  // Another command while counting must not start a countdown of its own:
  // a Cancel would then stop only the inner one.
  ModExitWin::ShutDownCommand(f, 0, kNoSessionEnd);
  gSeen.counting = f.Counting;
  ClickAt(RectOf(GetDlgItem(f.hwnd(), CancelEvent::IDC_CANCELEVENT_BTNCANCEL)));
}

}  // namespace

TEST_F(ShutDown, CancelDuringTheCountdownLeavesTheSessionAlone) {
  gSeen = Seen();
  gSeen.form = &form;
  SetTimer(nullptr, 0, 1500, LookAndCancel);
  ModExitWin::ShutDownCommand(form, 7, kNoSessionEnd);

  EXPECT_TRUE(gSeen.visible);
  EXPECT_TRUE(gSeen.topmost);
  EXPECT_EQ(gSeen.label.rfind("System will log off after: ", 0), 0u) << gSeen.label;  // the count: the core's
  EXPECT_TRUE(gSeen.counting);
  ExpectSessionAlone();
}

TEST_F(ShutDown, CountdownReachingZeroEndsTheSessionWithTheRowsFlags) {
  std::vector<std::pair<UINT, DWORD>> ended;
  bool formHidden = false;
  ModExitWin::ShutDownCommand(form, 3, {[&](UINT flags, DWORD reason) {
                                ended.emplace_back(flags, reason);
                                formHidden = !IsWindowVisible(form.hwnd());
                              }});

  EXPECT_EQ(ended, (std::vector<std::pair<UINT, DWORD>>{{EWX_REBOOT | EWX_FORCE, 0xFFFFFFFF}}));
  EXPECT_TRUE(formHidden);
  EXPECT_TRUE(ModMain::Prog().Exiting);
  EXPECT_FALSE(IsWindowVisible(mainWnd));
}

TEST_F(ShutDown, SeparatorsUnknownRowsAndCloseRequestsDoNothing) {
  for (int index : {2, 5, 8, -1, 10}) {
    ModExitWin::ShutDownCommand(form, index, kNoSessionEnd);
    EXPECT_EQ(form.CancelLabel(), "") << "row " << index << " counted down";
  }
  SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(IsWindow(form.hwnd())) << "the form must survive until the process ends";
  ExpectSessionAlone();
}

TEST_F(ShutDown, RestartInDosWithoutItsFileShowsCannotFindAfterTheCountdown) {
  char windir[MAX_PATH] = {};
  GetWindowsDirectoryA(windir, MAX_PATH);
  const std::string path = std::string(windir) + "\\Exit To Dos.pif";
  // A folder of that name is no file.
  DeleteFileA(path.c_str());
  CreateDirectoryA(path.c_str(), nullptr);

  MessageBoxInfo box;
  bool countedFirst = false;
  std::thread answer([&] {
    HWND h = WaitForMessageBox(GetCurrentProcessId(), "Tarvick Lite", 20000);
    if (!h) return;
    countedFirst = !IsWindowVisible(form.hwnd()) && !form.CancelLabel().empty();
    box = ReadMessageBox(h);
    PressButton(h, "OK");
  });
  ModExitWin::ShutDownCommand(form, 9, kNoSessionEnd);
  answer.join();
  RemoveDirectoryA(path.c_str());

  ASSERT_TRUE(box.hwnd) << "no message box";
  EXPECT_TRUE(countedFirst);
  EXPECT_EQ(box.text,
            "Cannot find " + path + "\n\nPlease make sure this file is in your Windows directory");
  EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_ERROR));
  ExpectSessionAlone();
}
