#include "app/main_loop.h"

#include <gtest/gtest.h>

#include "app/reminder.h"

namespace tl {
namespace {

TEST(RefreshDue, IntervalsInWholeSecondsAndPaused) {
  EXPECT_FALSE(RefreshDue(100000, 96001, 4));
  EXPECT_TRUE(RefreshDue(100000, 96000, 4));
  EXPECT_FALSE(RefreshDue(100000, 0, 0));  // paused: never
  EXPECT_FALSE(RefreshDue(100000, 0, -1));
}

TEST(RefreshDue, TheCounterWrapChangesNothing) {
  // Across 2^32 and across 2^31: 6.1 s elapsed in both.
  for (uint32_t last : {0xFFFFF000u, 0x7FFFF000u}) {
    uint32_t now = last + 6144;
    EXPECT_TRUE(RefreshDue(now, last, 4)) << last;
    EXPECT_FALSE(RefreshDue(now, last, 20)) << last;
  }
  // A stamp from more than half the counter's range ago is overdue.
  EXPECT_TRUE(RefreshDue(0x90000000u, 0x00000010u, 35));
}

TEST(ConnectionTable, PermanentConnectionStartsOnceAndNeverStops) {
  ConnectionFlags f;
  EXPECT_EQ(DecideConnection(true, false, f), ConnectionAction::StartProtection);
  EXPECT_FALSE(f.LanStartPending);
  for (bool dialUp : {false, true, false})
    EXPECT_EQ(DecideConnection(true, dialUp, f), ConnectionAction::Nothing);
}

TEST(ConnectionTable, DialUpUpDownUpAgain) {
  ConnectionFlags f;
  EXPECT_EQ(DecideConnection(false, true, f), ConnectionAction::StartProtection);
  EXPECT_FALSE(f.DialUpStartPending);
  EXPECT_EQ(DecideConnection(false, true, f), ConnectionAction::Nothing);
  EXPECT_EQ(DecideConnection(false, false, f), ConnectionAction::StopProtection);
  EXPECT_TRUE(f.DialUpStartPending && f.LanStartPending);
  EXPECT_EQ(DecideConnection(false, false, f), ConnectionAction::Nothing);
  EXPECT_EQ(DecideConnection(false, true, f), ConnectionAction::StartProtection);
}

TEST(ConnectionTable, NeverConnectedNeverStopsAndLanSwitchedOffStops) {
  ConnectionFlags f;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(DecideConnection(false, false, f), ConnectionAction::Nothing);
  DecideConnection(true, false, f);  // LAN protection running
  EXPECT_EQ(DecideConnection(false, false, f), ConnectionAction::StopProtection);
}

class ReminderTest : public ::testing::Test {
 protected:
  ReminderState s;
  bool active = true;
  int probes = 0;
  std::function<bool()> probe = [this] { ++probes; return active; };
  uint32_t t = 1000;

  // n counted minutes, each exactly a minute after the last.
  int Minutes(int n, int16_t interval = 60, int16_t idleReset = 3) {
    int reminders = 0;
    for (int i = 0; i < n; ++i) {
      t += 60000;
      if (ReminderStep(s, t, interval, idleReset, probe) == ReminderOutcome::Remind) ++reminders;
    }
    return reminders;
  }
  void Start(int16_t interval = 60) { ReminderStep(s, t, interval, 3, probe); }
};

TEST_F(ReminderTest, RemindsOnTheSixtiethActiveMinuteAndStartsAgain) {
  Start();
  EXPECT_EQ(probes, 1);  // the starting look at the cursor
  EXPECT_EQ(Minutes(59), 0);
  EXPECT_EQ(s.ActiveMinutes, 59);
  EXPECT_EQ(Minutes(1), 1);
  EXPECT_EQ(s.ActiveMinutes, 0);
}

TEST_F(ReminderTest, ThreeIdleMinutesRestartTheCountTwoDoNot) {
  Start();
  Minutes(30);
  active = false;
  Minutes(2);
  EXPECT_EQ(s.ActiveMinutes, 30);
  active = true;
  Minutes(1);
  EXPECT_EQ(s.ActiveMinutes, 31);
  active = false;
  Minutes(3);
  EXPECT_EQ(s.ActiveMinutes, 0);
  EXPECT_EQ(s.IdleMinutes, 0);
}

TEST_F(ReminderTest, PassesWithinAMinuteCountNothing) {
  Start();
  EXPECT_EQ(ReminderStep(s, t + 59999, 1, 3, probe), ReminderOutcome::Nothing);
  EXPECT_EQ(probes, 1);
  EXPECT_EQ(ReminderStep(s, t + 60000, 1, 3, probe), ReminderOutcome::Remind);
}

TEST_F(ReminderTest, IntervalZeroIsOffAndTickZeroResets) {
  Start();
  Minutes(10);
  EXPECT_EQ(Minutes(100, 0), 0);  // "Don't show this reminder again" sets 0
  EXPECT_EQ(s.LastMinuteTick, 0u);
  EXPECT_EQ(ReminderStep(s, 0, 60, 3, probe), ReminderOutcome::Nothing);
  EXPECT_EQ(s.ActiveMinutes, 0);
}

TEST_F(ReminderTest, WrappingCounterNeitherStopsNorHurries) {
  for (uint32_t start : {0xFFFF0000u, 0x7FFF0000u}) {
    s = {};
    t = start;
    Start(2);
    // A pass 30 s later, across the wrap point: not yet a minute.
    EXPECT_EQ(ReminderStep(s, t + 30000, 2, 3, probe), ReminderOutcome::Nothing);
    EXPECT_EQ(Minutes(1, 2), 0);
    EXPECT_EQ(Minutes(1, 2), 1) << start;
  }
}

}  // namespace
}  // namespace tl
