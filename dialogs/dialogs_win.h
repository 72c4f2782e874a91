// The Options and Run dialogs as the rest of the program opens them. The
// program root hands in what the dialogs reach outside their folder.
#pragma once
#include <windows.h>

#include <functional>

namespace Dialogs {

struct Wiring {
  // Puts start-up, hotkey, tray icon and messenger settings into effect; true
  // when the hotkey could not be registered and the user wants to change it.
  std::function<bool()> applySystemSettings;
  // Stops pop-up blocking once; the main loop starts it again as the
  // connection kind says.
  std::function<void()> stopPopupBlocking;
  // Shows a dialog forward (on top while the main window is).
  std::function<void(HWND)> showForm;
  std::function<void()> openHelp;
  // The main window's pop-up page with its browsers list.
  std::function<void()> showBrowsersList;
};
Wiring& Wire();

// One Options dialog at a time: opens it, or brings the open one forward,
// on the given tab.
void ShowOptionsDialog(HWND owner, int tab);
void ShowRunDialog(HWND owner);
// The open dialogs' windows, or null.
HWND OptionsWindow();
HWND RunWindow();

}  // namespace Dialogs
