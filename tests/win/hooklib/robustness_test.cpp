// Many events in a row inside another program: window creations, menu
// choices with over-long and vanished items, clicks in a page whose address
// is longer than the buffer, windows destroyed between input and delivery.
// The probe sees every call pass on one of the handles the installer
// published, read once per process.
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
  for (std::string kind : {"Shell", "Msg", "Mouse"}) {
    EXPECT_GT(std::stol(Report((kind + "Calls").c_str())), 1000) << kind;
    // The host's first call found no handle, read it, and never again.
    EXPECT_EQ(Report((kind + "FirstQueryAt").c_str()), "0") << kind;
    EXPECT_EQ(Report((kind + "Queries").c_str()), "1") << kind;
  }
  EXPECT_GT(std::stol(Report("HandlesBefore")), 0) << "the count must be a real one";
  EXPECT_EQ(Report("HandlesAfter"), Report("HandlesBefore"));
  // The values stop at the buffers' ends.
  EXPECT_EQ(Handoff("MenuName"), ("&Long " + std::string(300, 'x')).substr(0, 255));
  EXPECT_EQ(Handoff("MouseTimeD"), ("http://" + std::string(1500, 'a')).substr(0, 1023));
  EXPECT_EQ(c.Remove(), 0);
  EXPECT_EQ(c.Remove(), 3) << "the stored handles are gone from the system by now";
}
