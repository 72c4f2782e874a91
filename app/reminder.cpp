#include "app/reminder.h"

#include "app/ticks.h"

namespace tl {

ReminderOutcome ReminderStep(ReminderState& s, uint32_t tick, int16_t intervalMinutes,
                             int16_t idleResetMinutes, const std::function<bool()>& userWasActive) {
  if (tick == 0) {
    s.ActiveMinutes = 0;
    s.IdleMinutes = 0;
    return ReminderOutcome::Nothing;
  }
  if (intervalMinutes <= 0) {
    s.LastMinuteTick = 0;
    return ReminderOutcome::Nothing;
  }
  if (s.LastMinuteTick == 0) {
    s.LastMinuteTick = tick;
    userWasActive();  // takes the cursor position; the answer does not count
    return ReminderOutcome::Nothing;
  }
  // Under a minute since the last counted one: nothing. (A negative
  // difference means a stamp from half the counter's range ago: counted.)
  int32_t elapsed = TickDiff(tick, s.LastMinuteTick);
  if (elapsed >= 0 && elapsed < 60000) return ReminderOutcome::Nothing;
  s.LastMinuteTick = tick;
  if (userWasActive()) {
    s.ActiveMinutes += 1;
    s.IdleMinutes = 0;
  } else {
    s.IdleMinutes += 1;
    if (s.IdleMinutes >= idleResetMinutes) {
      s.ActiveMinutes = 0;
      s.IdleMinutes = 0;
    }
  }
  if (s.ActiveMinutes < intervalMinutes) return ReminderOutcome::Nothing;
  s.ActiveMinutes = 0;
  s.IdleMinutes = 0;
  return ReminderOutcome::Remind;
}

std::string ReminderTitle(int16_t intervalMinutes) {
  return "Windows Reminder (Every " + std::to_string(intervalMinutes) + " minute(s))";
}

}  // namespace tl
