// The process dispatcher against processes started by the tests, in both
// enumeration families.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/handles_win.h"
#include "insp_test_util.h"

using namespace tltest;
using namespace insptest;
using ModProgInfo::Picture;
using ModProgInfo::ProcessQuery;

namespace {

bool InSnapshot(DWORD pid) {
  return std::find(Picture.SnapPids.begin(), Picture.SnapPids.end(), pid) != Picture.SnapPids.end();
}

const tl::ProgRow* RowOf(const std::string& name) {
  for (const tl::ProgRow& r : Picture.ProgTable)
    if (r[tl::kCellName] == name) return &r;
  return nullptr;
}

}  // namespace

// Three instances of one program, under a name of their own.
class Processes : public InspTest {
 protected:
  void SetUp() override {
    InspTest::SetUp();
    exe = CopyOfWindowsFixture("insp_three.exe");
  }
  HWND Start(int i) {
    std::string t = "three" + std::to_string(i);
    return StartWindows(p[i], exe, "app:" + t, t.c_str());
  }
  std::string exe;
  Process p[3];
};

TEST_F(Processes, RefreshGuardAndOneRowForThreeInstancesWithoutTheOwnProcessInBothFamilies) {
  ASSERT_TRUE(Start(0) && Start(1));
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
  ASSERT_TRUE(Start(2));
  // A full refresh this instant: starting the process may outlast the guard
  // on a busy machine.
  ModProgInfo::LastFullRefreshTick = GetTickCount();
  EXPECT_FALSE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "True")));
  EXPECT_FALSE(InSnapshot(p[2].pid())) << "a refused refresh leaves the snapshot alone";
  ModProgInfo::LastFullRefreshTick = GetTickCount() - 1000;
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "True")));
  EXPECT_TRUE(InSnapshot(p[2].pid()));
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, ""))) << "the light refresh kept the guard";

  for (bool nt : {false, true}) {
    SCOPED_TRACE(nt ? "NT enumeration" : "tool-help enumeration");
    ModMain::Prog().IsNT = nt;
    AllowRefresh();
    ModWndOpr::WindowQuery(tl::kWndEnumerate, "");
    EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
    // NT: the module path in upper case; tool-help: the executable field in lower case.
    std::string name = nt ? NtName(p[0]) : "insp_three.exe";
    const tl::ProgRow* row = RowOf(name);
    ASSERT_TRUE(row) << name;
    // The processor share is measured on the NT family only ("0" on its first measurement).
    EXPECT_EQ(*row, (tl::ProgRow{name, "True", "", "", "", "3", nt ? "0" : "", "Normal"}));
    EXPECT_EQ(tl::NumberOf(ProcessQuery(tl::kProcCountInstances, Lower(name))), 3);
    EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcPidProgram, std::to_string(p[1].pid()))));
    EXPECT_EQ(ModProgInfo::LastProgName, name);  // as stored
    EXPECT_FALSE(InSnapshot(GetCurrentProcessId()));
  }
}

TEST_F(Processes, PriorityTerminationAndAProgramHiddenFromTheList) {
  HWND h = nullptr;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(h = Start(i));
  ASSERT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
  std::string name = NtName(p[0]);
  ModProgInfo::LastProgName = "keep";
  EXPECT_TRUE(tl::IsEmptyValue(ProcessQuery(tl::kProcWindowProgram, "12345")));
  EXPECT_EQ(ModProgInfo::LastProgName, "keep") << "no window: nothing is looked up";

  ProcessQuery(tl::kProcSetPriority, Lower(name) + "2");
  EXPECT_EQ(GetPriorityClass(p[2].handle()), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  EXPECT_EQ(tl::TextOf(ProcessQuery(tl::kProcGetPriority, Lower(name))), "High");  // matching: the core's
  EXPECT_EQ(tl::TextOf(ProcessQuery(tl::kProcIsResponding, name)), "True");

  EXPECT_FALSE(tl::FlagOf(ProcessQuery(tl::kProcTerminate, std::to_string(GetCurrentProcessId()))));
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcTerminate, std::to_string(p[0].pid()))));
  EXPECT_EQ(p[0].Wait(5000), 0u) << "ended with exit code 0";

  // Action 0 hides the program from the list, not from the snapshot.
  SetSpecialPrograms({Lower(exe) + ",0;1"});  // as the dialog stores it, in lower case
  AllowRefresh();
  ASSERT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
  EXPECT_TRUE(InSnapshot(p[2].pid()));
  EXPECT_EQ(RowOf(name), nullptr);
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcWindowProgram, ModWndOpr::HandleText(h))));
  EXPECT_EQ(ModProgInfo::LastProgName, Lower(name));
}

TEST_F(Processes, AProcessThatRefusesFullRightsIsListedWithItsPath) {
  Process guarded;
  ASSERT_TRUE(StartWindows(guarded, CopyOfWindowsFixture("insp_guarded.exe"), "--guarded app:guarded", "guarded"));
  ASSERT_FALSE(tl::ProcessHandle(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                         guarded.pid())))
      << "the fixture did not guard itself";
  ModWndOpr::WindowQuery(tl::kWndEnumerate, "");
  ASSERT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
  EXPECT_TRUE(InSnapshot(guarded.pid()));
  EXPECT_TRUE(RowOf(NtName(guarded))) << NtName(guarded);
}
