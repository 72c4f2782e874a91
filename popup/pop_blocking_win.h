// Pop-up protection as the main loop drives it: start when a connection
// comes, one detection pass per loop pass, stop when it goes.
#pragma once

namespace ModPop {

// The light process snapshot taken when protection starts.
void TakeQuickSnapshot();
// Installs the hooks (corvel.dll) with the countdown form's window.
void StartPopupBlocking();
// One detection pass over the hand-off values.
void DetectPopups();
void StopPopupBlocking();

}  // namespace ModPop
