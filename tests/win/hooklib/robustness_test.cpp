// Many events in a row inside another program: window creations, menu
// choices with over-long and vanished items, clicks in a page whose address
// is longer than the buffer, windows destroyed between input and delivery.
#include <gtest/gtest.h>

#include "hook_test_util.h"

using namespace hooktest;

TEST(HookRobustness, TenThousandEventsLeaveTheHostRunningWithoutLeaks) {
  ForgetHandoff();
  Corvel c;
  ASSERT_TRUE(c.Load());
  ASSERT_EQ(c.Install(), 0);
  tltest::DeleteKeyTree(HKEY_CURRENT_USER, hookhost::kReportKey);
  tltest::Process host;
  ASSERT_TRUE(host.Start(HostPath(), ProbeArgs() + " 10000"));
  EXPECT_EQ(host.Wait(240000), 0u) << "the host must finish by itself";

  EXPECT_GE(std::stol(Report("StressEvents")), 10000) << "hook calls passed on";
  EXPECT_EQ(Report("Unknown"), "0");
  for (const char* kind : {"ShellCalls", "MsgCalls", "MouseCalls"})
    EXPECT_GT(std::stol(Report(kind)), 1000) << kind;
  EXPECT_GT(std::stol(Report("HandlesBefore")), 0) << "the count must be a real one";
  EXPECT_EQ(Report("HandlesAfter"), Report("HandlesBefore"));
  // The values stop at the buffers' ends.
  EXPECT_EQ(Handoff("MenuName"), ("&Long " + std::string(300, 'x')).substr(0, 255));
  EXPECT_EQ(Handoff("MouseTimeD"), ("http://" + std::string(1500, 'a')).substr(0, 1023));
  EXPECT_EQ(c.Remove(), 0);
}
