// The "ShutDown" menu's commands: a five-second countdown on the countdown
// form that the user can cancel, then the end of the Windows session (or
// the MS-DOS restart file). The main window's menu reaches ShutDownCommand
// through the callback the program root sets.
#pragma once
#include <windows.h>

#include <string>

class CancelEvent;

namespace ModExitWin {

// The command of a "ShutDown" menu index. Separators, unknown indexes and a
// command while a countdown runs do nothing.
void ShutDownCommand(CancelEvent& form, int index);
// Counts five seconds down on the form, letting messages run meanwhile;
// true when the user cancelled.
bool CountDown(CancelEvent& form, const std::string& text);
// Asks Windows to end the session with these ExitWindowsEx flags and leaves
// the program, whatever Windows answered.
void EndSession(UINT flags);
std::string ExitToDosPath();

}  // namespace ModExitWin
