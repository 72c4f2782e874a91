#include "dialogs/dialog_wiring_win.h"

namespace Dialogs {

Wiring& Wire() {
  static Wiring wiring;
  return wiring;
}

}  // namespace Dialogs
