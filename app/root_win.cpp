#include "app/root_win.h"

#include "mainwin/interface_frm_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/pop_blocker_win.h"
#include "popup/pop_up_frm_win.h"
#include "shutdown/cancel_event_win.h"

namespace ModMain {

namespace {
struct Parts {
  InterfaceFrm mainForm;
  CancelEvent cancelForm;
  PopUpDetectorScrFrm detectorForm;
  ModPop::PopupBlocker blocker;
  PopUpFrm popUpPage;  // after the blocker: it lets go of the blocker first
};
Parts& TheParts() {
  static Parts parts;
  return parts;
}
}  // namespace

InterfaceFrm& MainForm() { return TheParts().mainForm; }
CancelEvent& CancelForm() { return TheParts().cancelForm; }
PopUpDetectorScrFrm& DetectorForm() { return TheParts().detectorForm; }
ModPop::PopupBlocker& Blocker() { return TheParts().blocker; }
PopUpFrm& PopUpPage() { return TheParts().popUpPage; }

}  // namespace ModMain
