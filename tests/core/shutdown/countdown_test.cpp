#include "shutdown/countdown.h"

#include <gtest/gtest.h>

using tl::CountdownAt;

TEST(ShutDownCountdown, StartedAtSecond57CountsAcrossTheMinute) {
  const int seconds[] = {57, 58, 59, 0, 1};
  for (int i = 0; i < 5; ++i) {
    tl::CountdownState s = CountdownAt(57, seconds[i]);
    EXPECT_FALSE(s.expired) << "at second " << seconds[i];
    EXPECT_EQ(s.remaining, 5 - i) << "at second " << seconds[i];
  }
  EXPECT_TRUE(CountdownAt(57, 2).expired);
}

TEST(ShutDownCountdown, HeldUpPastItsFifthSecondEndsAtTheNextCheckWithoutANegativeCount) {
  EXPECT_FALSE(CountdownAt(10, 14).expired);
  for (auto [start, now] : {std::pair{10, 17}, std::pair{57, 4}}) {
    tl::CountdownState s = CountdownAt(start, now);
    EXPECT_TRUE(s.expired) << start << " to " << now;
    EXPECT_EQ(s.remaining, 0) << start << " to " << now;
  }
}

TEST(ShutDownCountdown, LabelLongerThan102CharactersIsCutOnce) {
  std::string text(150, 'x');
  std::string cut = tl::CutLabel(text);
  EXPECT_EQ(cut, std::string(98, 'x') + " ...");
  EXPECT_EQ(tl::CutLabel(cut), cut);
  EXPECT_EQ(tl::CutLabel(std::string(102, 'y')), std::string(102, 'y'));
  EXPECT_EQ(tl::CutLabel(std::string(103, 'y')), std::string(98, 'y') + " ...");
}
