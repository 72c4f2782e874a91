#include "app/main_loop.h"

namespace tl {

bool RefreshDue(uint32_t now, uint32_t lastRefresh, int16_t intervalSeconds) {
  if (intervalSeconds <= 0) return false;
  int32_t elapsed = TickDiff(now, lastRefresh);
  return elapsed < 0 || elapsed / 1000 >= intervalSeconds;
}

ConnectionAction DecideConnection(bool lanCon, bool connected, ConnectionFlags& flags) {
  if (lanCon) {
    if (!flags.LanStartPending) return ConnectionAction::Nothing;
    flags.LanStartPending = false;
    return ConnectionAction::StartProtection;
  }
  if (connected) {
    if (!flags.DialUpStartPending) return ConnectionAction::Nothing;
    flags.DialUpStartPending = false;
    return ConnectionAction::StartProtection;
  }
  if (!flags.DialUpStartPending || !flags.LanStartPending) {
    flags.DialUpStartPending = true;
    flags.LanStartPending = true;
    return ConnectionAction::StopProtection;
  }
  return ConnectionAction::Nothing;
}

}  // namespace tl
