// The detector screen's geometry, countdown and notice rules.
#include "popup/detector_rules.h"

#include <gtest/gtest.h>

using namespace tl;

TEST(ScreenGeometry, TwipsConversionsAndPlacement) {
  EXPECT_EQ(TwipsPerPixel(0), 15);  // a failed device query
  // 10 twips is a visible sliver of one pixel, not zero.
  EXPECT_EQ(TwipsToPixels(10, 15), 1);
  EXPECT_EQ(TwipsToPixels(7, 15), 0);
  EXPECT_EQ(TwipsToPixels(-22, 15), -1);
  // Windows with a taskbar: the maximised size is the work area plus the
  // frame; the bottom stays on the work area.
  ScreenPlacement p = PlaceAtLoad(1296, 1000, 322 * 15, 15, 1280, 1010);
  EXPECT_EQ(p.Left, 1296 * 15 - 322 * 15 - 400);
  EXPECT_EQ(p.Bottom, 1000 * 15 - 100);
  p = PlaceAtLoad(1296, 1040, 322 * 15, 15, 1280, 1024);  // no taskbar
  EXPECT_EQ(p.Bottom, 1024 * 15);
  p = PlaceAtLoad(400, 300, 322 * 15, 15, 340, 300);  // a tiny screen
  EXPECT_EQ(p.Left, 340 * 15 - 322 * 15);
  // Tall screens do not overflow (16-bit twips would past 2184 pixels).
  EXPECT_EQ(PlaceAtLoad(3840, 4320, 0, 15, 3840, 4400).Bottom, 4320 * 15 - 100);
}

TEST(ScreenGeometry, SlideGrowsByEighthsEndsExactlyAndRestartsWhereDropped) {
  ScreenSlide s;
  s.Bottom = 15000;
  StartSlide(s, 2100, false);
  EXPECT_EQ(s.FinalTop, 12900);
  EXPECT_EQ(s.Top, 14900);
  EXPECT_EQ(s.Height, 10);
  int steps = 0;
  int32_t lastHeight = s.Height;
  while (!SlideStep(s)) {
    ++steps;
    EXPECT_EQ(s.Height, lastHeight + 2100 / 8);
    EXPECT_EQ(s.Top + s.Height, 14910);  // grows upward from a fixed bottom
    lastHeight = s.Height;
    ASSERT_LT(steps, 20);
  }
  EXPECT_EQ(steps, 8);
  EXPECT_EQ(s.Top, 12900);
  EXPECT_EQ(s.Height, 2100);
  EXPECT_TRUE(SlideStep(s));  // stays in place
  EXPECT_EQ(s.Top, 12900);

  // Dropped elsewhere: the next step does not pull it back, and the next
  // pop-up slides up from there.
  DropAt(s, 3000);
  EXPECT_TRUE(SlideStep(s));
  EXPECT_EQ(s.Top, 3000);
  EXPECT_EQ(s.Bottom, 5100);
  StartSlide(s, 2100, false);
  EXPECT_EQ(s.FinalTop, 3000);

  // A second pop-up while showing: in place at once.
  StartSlide(s, 1680, true);
  EXPECT_EQ(s.Top, 5100 - 1680);
  EXPECT_EQ(s.Height, 1680);
  EXPECT_TRUE(SlideStep(s));

  // A target under eight twips still ends.
  StartSlide(s, 5, false);
  EXPECT_TRUE(SlideStep(s));
}

TEST(Countdown, FiveSecondsOffTheScreenAcrossWrapAndNotice) {
  EXPECT_FALSE(CountdownExpired(false, 1000 + 4999, 1000));
  EXPECT_TRUE(CountdownExpired(false, 1000 + 5000, 1000));
  EXPECT_FALSE(CountdownExpired(true, 1000 + 60000, 1000));  // cursor resting on the screen
  EXPECT_TRUE(CountdownExpired(false, 3000, 0xFFFFF000u));   // tick count wrapped
  // After the notice the start lies one second ahead: six seconds in all.
  uint32_t start = 500000 + kNoticeExtraMs;
  EXPECT_FALSE(CountdownExpired(false, 500000 + 5999, start));
  EXPECT_TRUE(CountdownExpired(false, 500000 + 6000, start));
}

TEST(ScreenTexts, PendingAddressAndWhetherTheNoticeIsWanted) {
  EXPECT_TRUE(AddressPending(""));
  EXPECT_TRUE(AddressPending("about:blank"));
  EXPECT_FALSE(AddressPending("about:blank#x"));
  EXPECT_TRUE(NoticeWanted(std::nullopt));
  EXPECT_TRUE(NoticeWanted("garbage"));  // unreadable: shown, not lost
  EXPECT_FALSE(NoticeWanted("False"));
  EXPECT_FALSE(NoticeWanted("0"));
}
