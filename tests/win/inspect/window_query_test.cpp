// The window list and the window dispatcher against windows of fixture
// programs, one of them hung.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/startup_win.h"
#include "inspect/process_query_win.h"
#include "inspect/window_query_win.h"
#include "insp_test_util.h"

using namespace tltest;
using namespace insptest;
using ModWndOpr::HandleText;
using ModWndOpr::WindowQuery;
using ModWndOpr::WndRecord;

namespace {

class Windows : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
};

// Lists with the settings and tells which of the windows are listed.
std::vector<bool> ListedFor(int wndDisplay, int hideWnd, const std::vector<HWND>& windows) {
  ModMain::Settings.WndDisplay = static_cast<int16_t>(wndDisplay);
  ModMain::Settings.HideWnd = static_cast<int16_t>(hideWnd);
  WindowQuery(tl::kWndEnumerate, "");
  std::vector<bool> r;
  for (HWND h : windows)
    r.push_back(std::count(ModWndOpr::WndHandles.begin(), ModWndOpr::WndHandles.end(), h) == 1);
  return r;
}

}  // namespace

TEST_F(Windows, ListFollowsTheSettingsAndLeavesOutOwnWindowsAndHiddenPrograms) {
  Process p;
  ASSERT_TRUE(StartWindows(p, FixturePath("insp_windows.exe"),
                           "app:l_app dialog:l_dlg tool:l_tool hidden:l_hidden rundll:l_rundll",
                           "l_rundll"));
  std::vector<HWND> w;
  for (const char* t : {"l_app", "l_dlg", "l_tool", "l_hidden", "l_rundll"}) w.push_back(WindowOf(p, t));
  HWND own = CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 50,
                             nullptr, nullptr, nullptr, nullptr);
  w.push_back(own);
  //                                                app   dlg    tool   hidden rundll own
  EXPECT_EQ(ListedFor(0, 1, w), (std::vector<bool>{true, false, false, false, false, false}));
  EXPECT_EQ(ListedFor(1, 1, w), (std::vector<bool>{true, false, false, false, true, false}));
  EXPECT_EQ(ListedFor(3, 1, w), (std::vector<bool>{true, true, true, false, true, false}));
  EXPECT_EQ(ListedFor(3, 0, w), (std::vector<bool>{true, true, true, true, true, false}));
  DestroyWindow(own);

  // A program marked "Hide it and all its windows from lists".
  ModProgInfo::ProcessQuery(tl::kProcRefresh, "True");
  SetSpecialPrograms({Lower(FixturePath("insp_windows.exe")) + ",1;1"});
  EXPECT_EQ(ListedFor(3, 0, w), std::vector<bool>(6, false));
}

TEST_F(Windows, RecordOfAWindowStartedAfterTheLastRefresh) {
  Process p;
  HWND h = StartWindows(p, FixturePath("insp_windows.exe"), "app:abc:10,20,200,200", "abc");
  ASSERT_TRUE(h);
  // Not in the snapshot: code 2 says so; code 10 finds it after a light refresh.
  ModWndOpr::ProgNotFound = false;
  EXPECT_EQ(tl::TextOf(WindowQuery(tl::kWndProgram, HandleText(h))), "");
  EXPECT_TRUE(ModWndOpr::ProgNotFound);
  WindowQuery(tl::kWndRecord, HandleText(h));
  DWORD pid = 0, tid = GetWindowThreadProcessId(h, &pid);
  EXPECT_EQ(WndRecord.title, std::string("abc\0", 4)) << "the text and its NUL";
  EXPECT_EQ(WndRecord.program, Lower(NtName(p)));
  EXPECT_TRUE(WndRecord.responding && WndRecord.visible && WndRecord.enabled);
  EXPECT_FALSE(WndRecord.topmost);
  EXPECT_EQ(WndRecord.processId, pid);
  EXPECT_EQ(WndRecord.threadId, tid);
  EXPECT_EQ(WndRecord.position, "(10,20) - (210,220)");

  p.Kill();
  WindowQuery(tl::kWndRecord, HandleText(h));
  EXPECT_EQ(WndRecord.title, "") << "a handle that is no window gives an empty record";
}

TEST_F(Windows, HungWindowRecordTakesOneShortTest) {
  Process p;
  HWND h = StartWindows(p, FixturePath("insp_windows.exe"), "app:hung:30,40,200,100 --hang", "hung");
  ASSERT_TRUE(h);
  ASSERT_TRUE(tl::FlagOf(ModProgInfo::ProcessQuery(tl::kProcRefresh, "True")));

  DWORD start = GetTickCount();
  WindowQuery(tl::kWndRecord, HandleText(h));
  EXPECT_LT(GetTickCount() - start, 300u);
  EXPECT_EQ(WndRecord.title, std::string("hung\0", 5));
  EXPECT_EQ(WndRecord.program, Lower(NtName(p)));
  EXPECT_FALSE(WndRecord.responding || WndRecord.visible || WndRecord.topmost || WndRecord.enabled);
  EXPECT_EQ(WndRecord.processId, p.pid());
  EXPECT_EQ(WndRecord.position, "(30,40) - (230,140)");
  for (int code : {tl::kWndVisible, tl::kWndTopmost, tl::kWndEnabled})
    EXPECT_TRUE(tl::IsEmptyValue(WindowQuery(code, HandleText(h)))) << code;

  // Once its window is listed the program reads as not responding.
  WindowQuery(tl::kWndEnumerate, "");
  EXPECT_EQ(tl::TextOf(ModProgInfo::ProcessQuery(tl::kProcIsResponding, NtName(p))), "False");
}
