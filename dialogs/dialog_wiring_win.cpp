#include "dialogs/dialog_wiring_win.h"

namespace Dialogs {

Wiring& Wire() {
  static Wiring wiring;
  return wiring;
}

void ShowForward(HWND dialog) {
  if (Wire().showForm) Wire().showForm(dialog);
  else ShowWindow(dialog, SW_SHOW);
}

}  // namespace Dialogs
