// The process dispatcher's decisions: matches, the program table, processor
// shares and version keys.
#include <gtest/gtest.h>

#include "inspect/process_query.h"

using namespace tl;

namespace {
const std::string kNotepad = "C:\\WINDOWS\\NOTEPAD.EXE";
}

TEST(ProcessOp, MatchTestsPerCode) {
  // Code 1: the trailing part of the path, any case.
  EXPECT_TRUE(ProcessOpMatches(kProcTerminateAll, "C:\\APPS\\MYNOTEPAD.EXE", 8, 0, "notepad.exe"));
  EXPECT_FALSE(ProcessOpMatches(kProcTerminateAll, "NOTEPAD.EX", 8, 0, "notepad.exe"));
  // Code 6: exact, case included; codes 0, 7, 10: the whole name, any case.
  EXPECT_TRUE(ProcessOpMatches(kProcIsResponding, kNotepad, 8, 0, kNotepad));
  EXPECT_FALSE(ProcessOpMatches(kProcIsResponding, kNotepad, 8, 0, "c:\\windows\\notepad.exe"));
  for (int code : {kProcIsRunning, kProcCountInstances, kProcGetPriority}) {
    EXPECT_TRUE(ProcessOpMatches(code, kNotepad, 8, 0, "c:\\windows\\notepad.exe")) << code;
    EXPECT_FALSE(ProcessOpMatches(code, kNotepad, 8, 0, "notepad.exe")) << code;
  }
  // Code 9: the name and one digit 0-3.
  EXPECT_TRUE(ProcessOpMatches(kProcSetPriority, kNotepad, 8, 0, "c:\\windows\\notepad.exe2"));
  EXPECT_FALSE(ProcessOpMatches(kProcSetPriority, kNotepad, 8, 0, ""));
  EXPECT_EQ(PriorityIndexOf("x.exe2"), 2);
  EXPECT_EQ(PriorityIndexOf("x.exe7"), std::nullopt);
  // Codes 4, 5, 8 by the whole process ID; ID 0 and codes without an operation match nothing.
  EXPECT_FALSE(ProcessOpMatches(kProcPidProgram, kNotepad, 1234, 0, "123"));
  EXPECT_FALSE(ProcessOpMatches(kProcWindowProgram, kNotepad, 0, 0, ""));
  EXPECT_FALSE(ProcessOpMatches(kProcReserved, kNotepad, 8, 0, kNotepad));
}

TEST(Refresh, ProgramTableCountsInstancesAndHidesMarkedPrograms) {
  ProcessPicture p;
  ProcessFacts busy{false, "High"}, fine{true, "Normal"};
  AddToPicture(p, kNotepad, 10, -1, &busy);
  AddToPicture(p, "C:\\APP.EXE", 11, kWarnBeforeClose, nullptr);
  AddToPicture(p, kNotepad, 12, -1, &fine);  // the facts of the last instance measured
  AddToPicture(p, kNotepad, 13, -1, nullptr);
  AddToPicture(p, "C:\\GHOST.EXE", 16, kHideWithWindows, nullptr);
  EXPECT_EQ(p.SnapCount(), 4);  // the last entry's index: every process is in the snapshot
  ASSERT_EQ(p.ProgCount(), 1);  // the last row's index
  EXPECT_EQ(p.ProgTable[0], (ProgRow{kNotepad, "True", "", "", "", "3", "", "Normal"}));
  EXPECT_EQ(p.ProgTable[1], (ProgRow{"C:\\APP.EXE", "", "", "", "", "1", "", ""}));
  EXPECT_FALSE(RefreshAllowed(200, 0xFFFFFF00u));  // 456 ms across the wrap
}

TEST(CpuShares, SharesOfTheMachineSummedOverInstancesAndRounded) {
  std::vector<ProgRow> table(3);
  table[0][kCellName] = "C:\\APPS\\EDITOR.EXE";
  table[1][kCellName] = "C:\\APPS\\IDLE.EXE";
  table[1][kCellCpuShare] = "55";  // stale: every update starts from 0
  table[2][kCellName] = "C:\\V1.2\\TOOL";
  const int32_t values[] = {10, 0, 5, 1, 200};
  ApplyCpuShares(table, {"editor", "idle", "Editor", "tool", "_Total"}, values, 5);
  EXPECT_EQ(table[0][kCellCpuShare], "7.5");
  EXPECT_EQ(table[1][kCellCpuShare], "0");
  EXPECT_EQ(table[2][kCellCpuShare], "0.5");
  // Each sum is rounded before the next instance is added: 33.3 + 33.3.
  const int32_t thirds[] = {1, 1, 3};
  ApplyCpuShares(table, {"editor", "editor", "_Total"}, thirds, 3);
  EXPECT_EQ(table[0][kCellCpuShare], "66.6");
  const int32_t noTotal[] = {10, 0};
  ApplyCpuShares(table, {"editor", "_Total"}, noTotal, 2);
  EXPECT_EQ(table[0][kCellCpuShare], "0");
}

TEST(ProcessDetails, VersionKeys) {
  const uint8_t usUnicode[4] = {0x09, 0x04, 0xB0, 0x04};
  EXPECT_EQ(TranslationKey(usUnicode), "040904B0");
}
