// The main loop: the one driver of periodic work.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ModMainLoop {

extern uint32_t LastRefreshTick;
extern uint64_t PassCount;  // passes since start, for measurement

// Runs until Exiting is set.
void RunMainLoop();
void PeriodicWork();
void ShowMainWindow();
void StartProtection();
void StopProtection();
void RemoveHooks();
void ResetRefreshTimer();
// Releases the outside component (at exit).
void ReleaseExternalComponent();

}  // namespace ModMainLoop
