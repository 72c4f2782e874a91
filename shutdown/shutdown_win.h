// The "ShutDown" menu's commands: a five-second countdown on the countdown
// form that the user can cancel, then the end of the Windows session (or
// the MS-DOS restart file). The main window's menu reaches ShutDownCommand
// through the callback the program root sets.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

class CancelEvent;

namespace ModExitWin {

// The call that ends the session. ExitWindowsEx ends every process of a
// Wine prefix, so tests put a recorder here instead.
struct SessionCalls {
  std::function<void(UINT flags, DWORD reason)> exitWindowsEx = [](UINT flags, DWORD reason) {
    ExitWindowsEx(flags, reason);
  };
};

// The command of a "ShutDown" menu index. Separators, unknown indexes and a
// command while a countdown runs do nothing.
void ShutDownCommand(CancelEvent& form, int index, const SessionCalls& calls = {});
// Counts five seconds down on the form, letting messages run meanwhile;
// true when the user cancelled.
bool CountDown(CancelEvent& form, const std::string& text);
// Asks Windows to end the session with these ExitWindowsEx flags and leaves
// the program, whatever Windows answered.
void EndSession(UINT flags, const SessionCalls& calls = {});
std::string ExitToDosPath();

}  // namespace ModExitWin
