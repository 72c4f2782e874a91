// The decisions behind the process dispatcher: which process an operation
// matches, how the snapshot and the program table are built, the priority
// names, the processor shares and the version-resource key text. The glue
// (process_query_win.h) walks the processes and carries them out.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"
#include "inspect/query_value.h"

namespace tl {

// Operation codes of ProcessQuery.
enum ProcessCode : int32_t {
  kProcIsRunning = 0,
  kProcTerminateAll = 1,
  kProcRefresh = 2,
  kProcReserved = 3,
  kProcWindowProgram = 4,
  kProcTerminate = 5,
  kProcIsResponding = 6,
  kProcCountInstances = 7,
  kProcPidProgram = 8,
  kProcSetPriority = 9,
  kProcGetPriority = 10,
};

// Codes 0, 2 and 3 ask the system for its processes; the others walk the snapshot.
bool WalksLiveProcesses(int32_t code);
// The argument of a refresh that makes it light (no process is opened).
bool IsLightRefresh(std::string_view arg);
// A refresh is refused while the last full one is less than a second old
// (tick counts in milliseconds, wrap-around safe).
bool RefreshAllowed(uint32_t nowTick, uint32_t lastFullRefreshTick);

// The match test of the per-process operation for one process (name, pid);
// targetPid is the process found for a window (code 4). A process whose ID
// is 0 matches nothing, as do codes without a per-process action.
bool ProcessOpMatches(int32_t code, std::string_view name, uint32_t pid, uint32_t targetPid,
                      std::string_view arg);
// Whether a match ends the walk: codes 0, 4, 5, 6, 8 and 10.
bool ProcessOpStopsWalk(int32_t code);
// Code 9: the priority-table index named by the argument's last character;
// nullopt unless it is a digit 0 to 3.
std::optional<int> PriorityIndexOf(std::string_view arg);

// The priority-class values in the order Idle, Normal, High, Realtime.
using PriorityTable = std::array<uint32_t, 4>;
// "Idle", "Normal", "High", "Realtime" for the table's values, "" for others.
std::string PriorityName(uint32_t priorityClass, const PriorityTable& classes);

// The program never lists itself: by its path (any case) or its process ID.
bool IsOwnProcess(std::string_view name, uint32_t pid, std::string_view ownExePath,
                  uint32_t ownPid);

// A program-table row: name, responding, three empty cells, instances,
// processor share, priority name.
using ProgRow = std::array<std::string, 8>;
enum ProgCell : int {
  kCellName = 0,
  kCellResponding = 1,
  kCellInstances = 5,
  kCellCpuShare = 6,
  kCellPriority = 7,
};

// The snapshot (one entry per process) and the program table (one row per
// program) as the last refresh left them.
struct ProcessPicture {
  std::vector<uint32_t> SnapPids;
  std::vector<std::string> SnapNames;
  std::vector<ProgRow> ProgTable;

  int16_t SnapCount() const { return static_cast<int16_t>(SnapPids.size()) - 1; }  // -1 = empty
  int16_t ProgCount() const { return static_cast<int16_t>(ProgTable.size()) - 1; }
  void Clear();
  // The snapshot name of a process, "" when it is not in the snapshot.
  std::string NameOf(uint32_t pid) const;
};

// Whether a program with this special action has a row (actions 0 and 1 hide it).
bool HasRow(int specialAction);

// What a full refresh learned about a process it could open.
struct ProcessFacts {
  bool responding = true;
  std::string priorityName;
};
// Adds one process that passed the own-program and open tests: a snapshot
// entry always; a row (new, or one more instance of an existing one) unless
// its special action hides it (0 or 1). facts is null on a light refresh,
// which leaves the responsiveness and priority cells alone.
void AddToPicture(ProcessPicture& picture, std::string_view name, uint32_t pid, int specialAction,
                  const ProcessFacts* facts);

// The special-program lookup for one walk over many processes or windows:
// the entries are read once. When a read fails, each lookup goes through the
// settings operation itself, which reports the failure and resets as it does.
class SpecialLookup {
 public:
  SpecialLookup(SettingsEnv& env, SettingsRecord& rec);
  int Action(std::string_view path);  // 0, 1, 2, or -1 for none

 private:
  SettingsEnv& env_;
  SettingsRecord& rec_;
  std::optional<std::vector<SpecialProgramEntry>> entries_;
};

// The program part of a path: after its last "\" and before its last ".".
std::string ProgramBase(std::string_view path);
// Cell 6 of every row from one measurement: names[k] and values[k] describe
// instance k, and the last value is the total over all processes. Instances
// whose name is the row's program base (any case) add value * 100 / total,
// each sum rounded to one decimal.
void ApplyCpuShares(std::vector<ProgRow>& table, const std::vector<std::string>& names,
                    const int32_t* values, size_t count);
// A share as the table shows it: at most one decimal ("7.5", "10", "0").
std::string ShareText(double share);

// The version fields, in the order of the version reader's result.
inline constexpr std::array<const char*, 8> VerFieldNames = {
    "CompanyName",      "FileDescription", "FileVersion", "InternalName",
    "LegalCopyright",   "OriginalFileName", "ProductName", "ProductVersion"};
inline constexpr int kVerInternalName = 3;
// The key of a translation entry (language, code page as the four bytes of
// the resource): eight upper-case hex digits, "040904B0".
std::string TranslationKey(const uint8_t (&entry)[4]);
// Text up to its first NUL character.
std::string CutAtNul(std::string_view text);

}  // namespace tl
