// Closing, terminating and raising windows of fixture programs; the warning
// box answered from a second thread as a user would.
#include <gtest/gtest.h>

#include <thread>

#include "app/startup_win.h"
#include "inspect/process_query_win.h"
#include "inspect/window_query_win.h"
#include "insp_test_util.h"

using namespace tltest;
using namespace insptest;

namespace {

class WindowOps : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
};

bool TopMost(HWND h) { return (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace

TEST_F(WindowOps, TerminatingAMarkedProgramAsksAndTheDefaultNoKeepsItRunning) {
  std::string exe = CopyOfWindowsFixture("insp_marked.exe");
  Process p;
  HWND h = StartWindows(p, exe, "app:marked", "marked");
  ASSERT_TRUE(h);
  ASSERT_TRUE(tl::FlagOf(ModProgInfo::ProcessQuery(tl::kProcRefresh, "")));
  SetSpecialPrograms({Lower(exe) + ",2;1"});

  MessageBoxInfo box;
  bool answered = false;
  std::thread user([&] {
    HWND b = WaitForMessageBox(GetCurrentProcessId(), "Tarvick Lite", 10000);
    if (!b) return;
    box = ReadMessageBox(b);
    answered = PressButton(b, box.defaultButton.c_str());
  });
  bool result = ModWndOpr::CloseOrTerminateWindow(true, h);
  user.join();
  ASSERT_TRUE(answered) << "no question was asked";
  EXPECT_EQ(box.text, "Terminating " + Lower(NtName(p)) +
                          " may be dangrous, Are you still sure you want to terminate it ?");
  EXPECT_EQ(box.buttons, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(box.defaultButton, "&No");
  EXPECT_EQ(box.icon, LoadIcon(nullptr, IDI_HAND)) << "the stop icon";
  EXPECT_FALSE(result);
  EXPECT_EQ(p.Wait(500), static_cast<DWORD>(STILL_ACTIVE));

  SetSpecialPrograms({});  // unmarked, it ends without a question
  EXPECT_TRUE(ModWndOpr::CloseOrTerminateWindow(true, h));
  EXPECT_EQ(p.Wait(5000), 0u);
}

TEST_F(WindowOps, BringToFrontAndForceForegroundRestoreMinimisedWindows) {
  Process p;
  ASSERT_TRUE(StartWindows(p, FixturePath("insp_windows.exe"), "min:first min:second dialog:owned",
                           "owned"));
  HWND first = WindowOf(p, "first"), second = WindowOf(p, "second"), owned = WindowOf(p, "owned");
  ASSERT_TRUE(first && second && owned);
  ASSERT_TRUE(IsIconic(first));

  DWORD start = GetTickCount();
  EXPECT_TRUE(ModWndOpr::BringWindowToFront(first));
  EXPECT_GE(GetTickCount() - start, 190u) << "flashed topmost for about 200 ms";
  EXPECT_FALSE(IsIconic(first));
  EXPECT_FALSE(TopMost(first));
  EXPECT_EQ(GetForegroundWindow(), first);

  ASSERT_TRUE(IsIconic(second));
  EXPECT_TRUE(MForceFore::ForceForeground(second, true));
  EXPECT_FALSE(IsIconic(second));
  EXPECT_EQ(GetForegroundWindow(), second);
  EXPECT_TRUE(MForceFore::ForceForeground(second, true)) << "already in front";

  EXPECT_EQ(MForceFore::OutermostVisibleParent(owned), second) << "through its visible owner";
}

TEST_F(WindowOps, AHungWindowOnTheDesktopMakesForceForegroundAPlainRequest) {
  Process hung, fine;
  ASSERT_TRUE(StartWindows(hung, FixturePath("insp_windows.exe"), "app:frozen --hang", "frozen"));
  HWND h = StartWindows(fine, FixturePath("insp_windows.exe"), "app:wanted", "wanted");
  ASSERT_TRUE(h);
  EXPECT_FALSE(MForceFore::ForceForeground(h, false));
  hung.Kill();
  AllowRefresh();
  EXPECT_TRUE(MForceFore::ForceForeground(h, false));
}
