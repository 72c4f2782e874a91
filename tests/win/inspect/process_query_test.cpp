// The process dispatcher against processes started by the tests, in both
// enumeration families.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/startup_win.h"
#include "inspect/process_query_win.h"
#include "inspect/window_query_win.h"
#include "insp_test_util.h"

using namespace tltest;
using namespace insptest;
using ModProgInfo::Picture;
using ModProgInfo::ProcessQuery;

namespace {

class Processes : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    ModMain::IsNT = true;
    Reset();
  }
};

bool InSnapshot(DWORD pid) {
  return std::find(Picture.SnapPids.begin(), Picture.SnapPids.end(), pid) != Picture.SnapPids.end();
}

const tl::ProgRow* RowOf(const std::string& name) {
  for (const tl::ProgRow& r : Picture.ProgTable)
    if (r[tl::kCellName] == name) return &r;
  return nullptr;
}

}  // namespace

TEST_F(Processes, RefreshGuardRefusesWithinASecondAndLightRefreshDoesNotRestartIt) {
  Process a, b;
  ASSERT_TRUE(StartWindows(a, FixturePath("insp_windows.exe"), "app:guard_a", "guard_a"));
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
  ASSERT_TRUE(StartWindows(b, FixturePath("insp_windows.exe"), "app:guard_b", "guard_b"));
  EXPECT_FALSE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
  EXPECT_FALSE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "True")));
  EXPECT_TRUE(InSnapshot(a.pid()));
  EXPECT_FALSE(InSnapshot(b.pid())) << "a refused refresh leaves the snapshot alone";

  ModProgInfo::LastFullRefreshTick = GetTickCount() - 1000;
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "True")));
  EXPECT_TRUE(InSnapshot(b.pid()));
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
}

TEST_F(Processes, ThreeInstancesMakeOneRowAndTheOwnProcessIsNeverListedInBothFamilies) {
  std::string exe = CopyOfWindowsFixture("insp_three.exe");
  Process p[3];
  for (const char* t : {"three0", "three1", "three2"})
    ASSERT_TRUE(StartWindows(p[t[5] - '0'], exe, std::string("app:") + t, t));

  for (bool nt : {true, false}) {
    SCOPED_TRACE(nt ? "NT enumeration" : "tool-help enumeration");
    ModMain::IsNT = nt;
    AllowRefresh();
    ModWndOpr::WindowQuery(tl::kWndEnumerate, "");
    ASSERT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
    // NT: the module path in upper case; tool-help: the executable field in lower case.
    std::string name = nt ? NtName(p[0]) : "insp_three.exe";
    const tl::ProgRow* row = RowOf(name);
    ASSERT_TRUE(row) << name;
    // The processor share is measured on the NT family only ("0" on its first measurement).
    EXPECT_EQ(*row, (tl::ProgRow{name, "True", "", "", "", "3", nt ? "0" : "", "Normal"}));
    EXPECT_EQ(tl::NumberOf(ProcessQuery(tl::kProcCountInstances, Lower(name))), 3);
    EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcIsRunning, Lower(name))));
    EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcPidProgram, std::to_string(p[1].pid()))));
    EXPECT_EQ(ModProgInfo::LastProgName, name);  // as stored

    EXPECT_FALSE(InSnapshot(GetCurrentProcessId()));
    for (const tl::ProgRow& r : Picture.ProgTable)
      EXPECT_EQ(Lower(r[tl::kCellName]).find("win_inspect_tests.exe"), std::string::npos);
  }
}

TEST_F(Processes, ProgramHiddenFromTheListIsInTheSnapshotWithoutARow) {
  std::string exe = CopyOfWindowsFixture("insp_hidden.exe");
  Process p;
  HWND h = StartWindows(p, exe, "app:hidden_prog", "hidden_prog");
  ASSERT_TRUE(h);
  SetSpecialPrograms({Lower(exe) + ",0;1"});  // as the dialog stores it, in lower case
  ASSERT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
  EXPECT_TRUE(InSnapshot(p.pid()));
  EXPECT_EQ(RowOf(NtName(p)), nullptr);
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcWindowProgram, ModWndOpr::HandleText(h))));
  EXPECT_EQ(ModProgInfo::LastProgName, Lower(NtName(p)));
}

TEST_F(Processes, WindowLookupPriorityResponsivenessAndTerminate) {
  Process p;
  HWND h = StartWindows(p, FixturePath("insp_windows.exe"), "app:ops", "ops");
  ASSERT_TRUE(h);
  ASSERT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcRefresh, "")));
  std::string name = NtName(p);

  ModProgInfo::LastProgName = "keep";
  EXPECT_TRUE(tl::IsEmptyValue(ProcessQuery(tl::kProcWindowProgram, "12345")));
  EXPECT_EQ(ModProgInfo::LastProgName, "keep") << "no window: nothing is looked up";

  ProcessQuery(tl::kProcSetPriority, Lower(name) + "2");
  EXPECT_EQ(GetPriorityClass(p.handle()), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  EXPECT_EQ(tl::TextOf(ProcessQuery(tl::kProcGetPriority, Lower(name))), "High");
  ProcessQuery(tl::kProcSetPriority, name + "0");
  EXPECT_EQ(tl::TextOf(ProcessQuery(tl::kProcGetPriority, name)), "Idle");

  EXPECT_EQ(tl::TextOf(ProcessQuery(tl::kProcIsResponding, name)), "True");
  EXPECT_EQ(tl::TextOf(ProcessQuery(tl::kProcIsResponding, Lower(name))), "") << "compared with case";

  EXPECT_FALSE(tl::FlagOf(ProcessQuery(tl::kProcTerminate, std::to_string(GetCurrentProcessId()))));
  EXPECT_TRUE(tl::FlagOf(ProcessQuery(tl::kProcTerminate, std::to_string(p.pid()))));
  EXPECT_EQ(p.Wait(5000), 0u) << "ended with exit code 0";
}

TEST_F(Processes, VersionReaderInBothModes) {
  std::string versioned = FixturePath("insp_versioned\\insp_versioned.exe");
  EXPECT_EQ(ModProgInfo::FileVersionInfo(2, versioned), "inspver");
  ModProgInfo::FileVersionInfo(1, versioned);
  const char* expected[] = {"Insp Fixtures Ltd", "Inspection test program", "4.2.0.7", "inspver",
                            "none", "insp_versioned.exe", "Insp Suite", "4.2"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(ModProgInfo::VerInfo[i], expected[i]) << i;

  // No version resource: the file title stands in.
  std::string plain = FixturePath("insp_windows.exe");
  EXPECT_EQ(ModProgInfo::FileVersionInfo(2, plain), "insp_windows.exe");
  ModProgInfo::FileVersionInfo(1, plain);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(ModProgInfo::VerInfo[i], i == 3 ? "insp_windows.exe" : "") << i;
}
