// The main program's side of corvel.dll: its exports are bound by name from
// the program folder on first use; a missing library makes the calls no-ops.
#pragma once
#include <windows.h>

namespace HookLibrary {

// InstallMainHook(window, flag); -1 when the library or export is missing.
long InstallMainHook(HWND owner, long install);
// GetCpuUsage(values[1000]); -1 when the library or export is missing.
long GetCpuUsage(long* values);

}  // namespace HookLibrary
