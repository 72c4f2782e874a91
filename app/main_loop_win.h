// The main loop: the one driver of periodic work.
#pragma once
#include <cstdint>

namespace ModMainLoop {

extern int16_t RefreshIntervalSeconds;  // 0 = paused

// Runs until Exiting is set.
void RunMainLoop();

}  // namespace ModMainLoop
