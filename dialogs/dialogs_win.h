// The Options, Run and About dialogs as the rest of the program opens them. The
// program root sets Wire() once; the dialogs are modeless and one of each
// exists at a time.
#pragma once
#include <windows.h>

#include "dialogs/dialog_wiring_win.h"

namespace Dialogs {

// Opens the Options dialog, or brings the open one forward, on the given
// tab when that tab is offered.
void ShowOptionsDialog(HWND owner, int tab);
void ShowRunDialog(HWND owner);
void ShowAboutDialog(HWND owner);
// The open dialogs' windows, or null.
HWND OptionsWindow();
HWND RunWindow();
HWND AboutWindow();

}  // namespace Dialogs
