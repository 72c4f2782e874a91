#include "popup/pop_rules.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(PopTimes, MenuClickCountsForThreeSecondsAcrossTheWrap) {
  EXPECT_TRUE(MenuClickFresh(10000, 7000));   // 3.0 s
  EXPECT_FALSE(MenuClickFresh(10000, 6500));  // 3.5 s
  EXPECT_FALSE(MenuClickFresh(10000, 12000)); // stamped "later": stale
  // The counter past 2^31 (stored as a negative number) and past 2^32.
  EXPECT_TRUE(MenuClickFresh(0x80000400u, static_cast<int32_t>(0x7FFFFC00u)));
  EXPECT_TRUE(MenuClickFresh(0x00000400u, -1024));
  EXPECT_FALSE(MenuClickFresh(0x00000400u, -4000));
  EXPECT_EQ(HandoffNumber("-1024"), -1024);
  EXPECT_EQ(HandoffNumber("junk"), 0);
  EXPECT_EQ(HandoffNumber(""), 0);
}

TEST(PopTimes, RunDialogGrace) {
  EXPECT_FALSE(RunDialogJustClosed(5000, 0));
  EXPECT_TRUE(RunDialogJustClosed(5000, 3500));
  EXPECT_FALSE(RunDialogJustClosed(5000, 3000));
  EXPECT_TRUE(RunDialogJustClosed(0x00000100u, 0xFFFFFF00u));
}

ClickEvidence PageClick(int32_t winTime, int32_t mouseTime) {
  ClickEvidence e;
  e.WinTime = winTime;
  e.MouseTime = mouseTime;
  e.ClickedClass = "Internet Explorer_Server";
  e.MouseTimeD = "http://news.test/story";
  e.CurrentAddress = "http://news.test/story";
  return e;
}

TEST(ClickInPage, WithinTheIntervalOnTheSamePage) {
  EXPECT_TRUE(ClickInPageAllows(PageClick(11200, 10000), 1500));   // 1.2 s
  EXPECT_FALSE(ClickInPageAllows(PageClick(11600, 10000), 1500));  // too late
  EXPECT_FALSE(ClickInPageAllows(PageClick(10000, 10000), 1500));  // not after
  EXPECT_TRUE(ClickInPageAllows(PageClick(-2147483000, 2147483000), 1500));  // across 2^31
  ClickEvidence child = PageClick(11200, 10000);
  child.ClickedClass = "Shell DocObject View";
  child.ClickedParentClass = "Internet Explorer_Server";
  EXPECT_TRUE(ClickInPageAllows(child, 1500));
  ClickEvidence toolbar = PageClick(10100, 10000);
  toolbar.ClickedClass = "ToolbarWindow32";
  toolbar.ClickedParentClass = "Internet Explorer_Server";
  EXPECT_FALSE(ClickInPageAllows(toolbar, 1500));
  ClickEvidence elsewhere = PageClick(10100, 10000);
  elsewhere.CurrentAddress = "http://other.test/";
  EXPECT_FALSE(ClickInPageAllows(elsewhere, 1500));
  ClickEvidence blank = PageClick(10100, 10000);
  blank.MouseTimeD = "about:blank";
  blank.CurrentAddress = "about:blank";
  EXPECT_TRUE(ClickInPageAllows(blank, 1500));
}

TEST(BrowserProcTable, RecordsWindowsAndPurgesTheGone) {
  BrowserProcTable t;
  int a = t.AddBrowserProcess(100);
  t.AddBrowserWindow(a, 1);
  t.AddBrowserWindow(a, 2);
  int b = t.AddBrowserProcess(200);
  t.AddBrowserWindow(b, 3);
  EXPECT_EQ(t.Find(200), b);
  EXPECT_EQ(t.Find(0), -1);
  t.ClearSeen();
  EXPECT_TRUE(t.MarkWindowSeen(a, 1));
  EXPECT_FALSE(t.MarkWindowSeen(a, 3));
  t.Purge();
  EXPECT_FALSE(t.MarkWindowSeen(a, 2));  // window 2 was not seen: gone
  EXPECT_EQ(t.Find(200), -1);         // no window of 200 seen: record freed
  EXPECT_EQ(t.AddBrowserProcess(300), b);          // and reused
}

TEST(BrowserProcTable, NoLimitOfOneHundredAndOne) {
  BrowserProcTable t;
  for (uint32_t pid = 1; pid <= 300; ++pid) t.AddBrowserWindow(t.AddBrowserProcess(pid), pid * 1000);
  EXPECT_EQ(t.Find(300), 299);
  int r = t.Find(7);
  // A browser that opens 5000 windows over a day, 3 alive at a time.
  for (uint32_t w = 1; w <= 5000; ++w) {
    t.AddBrowserWindow(r, 1000000 + w);
    if (w % 50 == 0) {
      t.ClearSeen();
      t.MarkWindowSeen(r, 1000000 + w);
      for (uint32_t pid = 1; pid <= 300; ++pid)
        if (pid != 7) t.MarkWindowSeen(t.Find(pid), pid * 1000);
      t.Purge();
    }
  }
  EXPECT_LE(t.records()[r].windows.size(), 51u);  // freed entries were reused
  EXPECT_TRUE(t.MarkWindowSeen(r, 1005000));
  EXPECT_FALSE(t.MarkWindowSeen(r, 1000001));
}

TEST(KnownDialogs, SlotsAreReused) {
  KnownDialogList d;
  d.AddKnownDialog(1);
  d.AddKnownDialog(2);
  d.DropGone([](uint32_t h) { return h != 1; });
  EXPECT_FALSE(d.Contains(1));
  d.AddKnownDialog(3);
  EXPECT_EQ(d.capacity(), 2u);
  EXPECT_TRUE(d.Contains(3));
}

}  // namespace
}  // namespace tl
