// The window list, the window dispatcher and the window operations against
// windows of fixture programs, one of them hung; the warning box answered
// from a second thread as a user would.
#include <gtest/gtest.h>

#include <algorithm>

#include "insp_test_util.h"

using namespace tltest;
using namespace insptest;
using ModWndOpr::HandleText;
using ModWndOpr::WindowQuery;
using ModWndOpr::WndRecord;
using Windows = InspTest;

namespace {

// Lists with the settings and tells which of the windows are listed.
std::vector<bool> ListedFor(int wndDisplay, int hideWnd, const std::vector<HWND>& windows) {
  ModMain::Prog().Settings.WndDisplay = static_cast<int16_t>(wndDisplay);
  ModMain::Prog().Settings.HideWnd = static_cast<int16_t>(hideWnd);
  WindowQuery(tl::kWndEnumerate, "");
  std::vector<bool> r;
  for (HWND h : windows)
    r.push_back(std::count(ModWndOpr::WndHandles.begin(), ModWndOpr::WndHandles.end(), h) == 1);
  return r;
}

bool TopMost(HWND h) { return (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace

TEST_F(Windows, ListFollowsTheSettingsAndLeavesOutOwnWindowsAndHiddenPrograms) {
  Process p;
  HWND dlg = StartWindows(p, FixturePath("insp_windows.exe"), "app:l_app dialog:l_dlg", "l_dlg");
  ASSERT_TRUE(dlg);
  HWND own = CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 50,
                             nullptr, nullptr, nullptr, nullptr);
  const std::vector<HWND> w = {WindowOf(p, "l_app"), dlg, own};
  EXPECT_EQ(ListedFor(0, 1, w), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(ListedFor(3, 1, w), (std::vector<bool>{true, true, false}));
  DestroyWindow(own);

  // A program marked "Hide it and all its windows from lists".
  ModProgInfo::ProcessQuery(tl::kProcRefresh, "True");
  SetSpecialPrograms({Lower(FixturePath("insp_windows.exe")) + ",1;1"});
  EXPECT_EQ(ListedFor(3, 0, w), std::vector<bool>(3, false));
}

TEST_F(Windows, RecordsOfAnAnsweringAndAHungWindow) {
  Process p, hung;
  HWND h = StartWindows(p, FixturePath("insp_windows.exe"), "app:abc:10,20,200,200", "abc");
  ASSERT_TRUE(h);
  WaitForInputIdle(p.handle(), 10000);  // on a busy machine it may not be answering yet
  // Not in the snapshot: code 2 says so; code 10 finds it after a light refresh.
  ModWndOpr::ProgNotFound = false;
  EXPECT_EQ(tl::TextOf(WindowQuery(tl::kWndProgram, HandleText(h))), "");
  EXPECT_TRUE(ModWndOpr::ProgNotFound);
  WindowQuery(tl::kWndRecord, HandleText(h));
  EXPECT_EQ(WndRecord.title, std::string("abc\0", 4)) << "the text and its NUL";
  EXPECT_EQ(WndRecord.program, Lower(NtName(p)));
  EXPECT_TRUE(WndRecord.responding && WndRecord.visible && WndRecord.enabled);
  EXPECT_FALSE(WndRecord.topmost);
  EXPECT_EQ(WndRecord.position, "(10,20) - (210,220)");

  // Another program name, so that code 6 finds this one.
  HWND g = StartWindows(hung, CopyOfWindowsFixture("insp_hung.exe"), "app:hung:30,40,200,100 --hang",
                        "hung");
  ASSERT_TRUE(g);
  ASSERT_TRUE(tl::FlagOf(ModProgInfo::ProcessQuery(tl::kProcRefresh, "True")));
  WindowQuery(tl::kWndRecord, HandleText(g));
  EXPECT_EQ(WndRecord.title, std::string("hung\0", 5));
  EXPECT_EQ(WndRecord.program, Lower(NtName(hung)));
  EXPECT_FALSE(WndRecord.responding || WndRecord.visible || WndRecord.topmost || WndRecord.enabled);
  EXPECT_EQ(WndRecord.processId, hung.pid());
  for (int code : {tl::kWndVisible, tl::kWndTopmost, tl::kWndEnabled})
    EXPECT_TRUE(tl::IsEmptyValue(WindowQuery(code, HandleText(g)))) << code;
  // Once its window is listed the program reads as not responding.
  WindowQuery(tl::kWndEnumerate, "");
  EXPECT_EQ(tl::TextOf(ModProgInfo::ProcessQuery(tl::kProcIsResponding, NtName(hung))), "False");

  p.Kill();
  WindowQuery(tl::kWndRecord, HandleText(h));
  EXPECT_EQ(WndRecord.title, "") << "a handle that is no window gives an empty record";
}

TEST_F(Windows, TerminatingAMarkedProgramAsksAndTheDefaultNoKeepsItRunning) {
  std::string exe = CopyOfWindowsFixture("insp_marked.exe");
  Process p;
  HWND h = StartWindows(p, exe, "app:marked", "marked");
  ASSERT_TRUE(h);
  ASSERT_TRUE(tl::FlagOf(ModProgInfo::ProcessQuery(tl::kProcRefresh, "")));
  SetSpecialPrograms({Lower(exe) + ",2;1"});

  bool result = true;
  MessageBoxInfo box = AnsweringBoxes("", [&] { result = ModWndOpr::CloseOrTerminateWindow(true, h); });
  ASSERT_TRUE(box.hwnd) << "no question was asked (answered with its default button)";
  EXPECT_EQ(box.text, "Terminating " + Lower(NtName(p)) +
                          " may be dangrous, Are you still sure you want to terminate it ?");
  EXPECT_EQ(box.buttons, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(box.defaultButton, "&No");
  EXPECT_FALSE(result);
  EXPECT_EQ(p.Wait(500), static_cast<DWORD>(STILL_ACTIVE));

  SetSpecialPrograms({});  // unmarked, it ends without a question
  EXPECT_TRUE(ModWndOpr::CloseOrTerminateWindow(true, h));
  EXPECT_EQ(p.Wait(5000), 0u);
}

TEST_F(Windows, BringToFrontAndForceForegroundRestoreMinimisedWindows) {
  Process p;
  ASSERT_TRUE(StartWindows(p, FixturePath("insp_windows.exe"), "min:first min:second dialog:owned",
                           "owned"));
  HWND first = WindowOf(p, "first"), second = WindowOf(p, "second"), owned = WindowOf(p, "owned");
  ASSERT_TRUE(first && second && owned);
  ASSERT_TRUE(IsIconic(first));

  EXPECT_TRUE(ModWndOpr::BringWindowToFront(first));
  EXPECT_FALSE(IsIconic(first));
  EXPECT_FALSE(TopMost(first));
  EXPECT_EQ(GetForegroundWindow(), first);

  ASSERT_TRUE(IsIconic(second));
  EXPECT_TRUE(MForceFore::ForceForeground(second, true));
  EXPECT_FALSE(IsIconic(second));
  EXPECT_FALSE(TopMost(second));
  EXPECT_EQ(GetForegroundWindow(), second);

  EXPECT_EQ(MForceFore::OutermostVisibleParent(owned), second) << "through its visible owner";
}
