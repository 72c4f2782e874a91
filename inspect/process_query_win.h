// ModProgInfo: the process snapshot and program table, the one dispatcher
// for questions about and actions on processes, and the version reader.
#pragma once
#include <windows.h>

#include <string>

#include "inspect/process_query.h"

namespace ModProgInfo {

// Module state: the snapshot (SnapPids, SnapNames) and the program table
// (ProgTable) of the last refresh.
extern tl::ProcessPicture Picture;
// The program of the last code-4 (lower case) or code-8 (as stored) lookup.
// Callers that must tell "not found" from a stale value empty it first.
extern std::string LastProgName;
extern int16_t InstanceCount;
extern DWORD LastFullRefreshTick;
// The version fields of the last FileVersionInfo in mode 1 (VerFieldNames order).
extern std::string VerInfo[8];

// Codes (tl::ProcessCode):
//  0 is `arg` running (live)        -> flag
//  1 terminate every process whose path ends with `arg` -> false
//  2 refresh; "True" = light        -> true, or false within a second of a full refresh
//  3 reserved: walks without effect -> true
//  4 program of the window `arg`    -> flag found; LastProgName = lower-case path;
//                                      empty when `arg` is no window
//  5 terminate process ID `arg`     -> flag found
//  6 is `arg` responding (name compared with case) -> "True"/"False", "" if not found
//  7 instances of `arg`             -> count
//  8 program of process ID `arg`    -> flag found; LastProgName = the stored name
//  9 set priority: name + digit 0-3 -> false
// 10 priority name of `arg`         -> text, "" if not found
tl::QueryValue ProcessQuery(int32_t code, const std::string& arg);

// The per-process operation: whether (name, pid) is a hit for the code.
bool ProcessOp(int32_t code, const std::string& name, DWORD pid, DWORD targetPid,
               const std::string& arg, std::string* outText);

// False when one of the process's listed windows (the last window
// enumeration) does not answer within 50 ms.
bool IsProcessResponding(DWORD pid);
std::string PriorityName(DWORD priorityClass);
// Cell 6 of the program table from corvel.dll's measurement (NT family).
void UpdateCpuShares();
// Mode 1 fills VerInfo and returns ""; mode 2 returns "InternalName". A file
// without a readable version resource gives its file title instead.
std::string FileVersionInfo(int mode, const std::string& path);

}  // namespace ModProgInfo
