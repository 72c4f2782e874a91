// The program root's objects: the three forms that live from start-up to
// exit and the pop-up blocker. Only the root (start-up, the main loop) and
// the tests use them; a subsystem is handed what it needs.
#pragma once

class InterfaceFrm;
class CancelEvent;
class PopUpDetectorScrFrm;
class PopUpFrm;
namespace ModPop {
class PopupBlocker;
}

namespace ModMain {

InterfaceFrm& MainForm();
CancelEvent& CancelForm();
PopUpDetectorScrFrm& DetectorForm();
// The pop-up blocker's page, created in the main window by LoadForms.
PopUpFrm& PopUpPage();
ModPop::PopupBlocker& Blocker();

}  // namespace ModMain
