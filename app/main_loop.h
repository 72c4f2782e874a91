// The decisions of the main loop over tick counts and facts: the refresh
// due test and the connection table. Ticks are GetTickCount values and are
// compared as signed 32-bit differences, so the counter's wrap changes nothing.
#pragma once
#include <cstdint>

#include "app/ticks.h"

namespace tl {

// Whether a refresh is due: interval > 0 and whole seconds since the last
// refresh reach it. A negative difference can only mean a stamp older than
// the counter's half range (refresh paused for weeks): due.
bool RefreshDue(uint32_t now, uint32_t lastRefresh, int16_t intervalSeconds);

struct ConnectionFlags {
  bool DialUpStartPending = true;
  bool LanStartPending = true;
};

enum class ConnectionAction { Nothing, StartProtection, StopProtection };

// One pass of the connection table (first matching row wins). Start rows
// clear their pending flag here; StopProtection sets both flags again.
ConnectionAction DecideConnection(bool lanCon, bool connected, ConnectionFlags& flags);

}  // namespace tl
