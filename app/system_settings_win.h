// Puts the settings into effect on the system and the main window (at
// start-up and whenever the Options dialog applies settings), and shows
// secondary forms on top. Part of the program root: it reaches the main form.
#pragma once
#include <windows.h>

namespace ModMain {

// Run key, hotkey, tray icon, messenger service, menu marks, in that order.
// True only when the hotkey could not be registered and the user chose to
// change it (the Options dialog is then open on its first tab).
bool ApplySystemSettings();

// Shows a form modeless: topmost while the main window is, then forward.
void ShowForm(HWND form);

}  // namespace ModMain
