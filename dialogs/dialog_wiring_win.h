// What the dialogs reach outside their folder, set by the program root.
// Every callback may be empty; the dialog then skips that effect.
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
// Shows an open dialog through showForm, or plainly when that is not set.
void ShowForward(HWND dialog);

}  // namespace Dialogs
