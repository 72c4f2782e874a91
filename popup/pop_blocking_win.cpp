#include "popup/pop_blocking_win.h"

#include "app/corvel_win.h"
#include "app/startup_win.h"
#include "shutdown/cancel_event_win.h"

namespace ModPop {

// The snapshot and the judging of new windows come with the process
// inspection and the detection rules; protection itself is the hooks.
void TakeQuickSnapshot() {}

void StartPopupBlocking() { Corvel::InstallMainHook(ModMain::CancelForm().hwnd(), 1); }

void DetectPopups() {}

void StopPopupBlocking() { Corvel::InstallMainHook(ModMain::CancelForm().hwnd(), 0); }

}  // namespace ModPop
