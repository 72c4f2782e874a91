// The activity reminder's minute counting, over tick counts and an activity
// probe, so that its rules run without waiting for real minutes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace tl {

struct ReminderState {
  int32_t ActiveMinutes = 0;
  int32_t IdleMinutes = 0;
  uint32_t LastMinuteTick = 0;  // 0 = not started
};

enum class ReminderOutcome { Nothing, Remind };

// One step. tick 0 resets the counters. userWasActive is asked once when the
// count starts (to take the cursor position) and once per counted minute.
ReminderOutcome ReminderStep(ReminderState& s, uint32_t tick, int16_t intervalMinutes,
                             int16_t idleResetMinutes, const std::function<bool()>& userWasActive);

// "Windows Reminder (Every 60 minute(s))"
std::string ReminderTitle(int16_t intervalMinutes);

}  // namespace tl
