#include "mainwin/gradient.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(GradientBands, RunsFromStartToEndInEveryDistance) {
  auto bands = GradientBands({245, 245, 245}, {200, 200, 200});
  EXPECT_EQ(bands.front(), (Rgb{245, 245, 245}));
  EXPECT_EQ(bands.back(), (Rgb{200, 200, 200}));
  for (size_t i = 1; i < bands.size(); ++i) EXPECT_LE(bands[i].r, bands[i - 1].r) << i;
  // The accumulated steps must not stop one short of the end colour.
  for (int d = 0; d <= 255; ++d) {
    uint8_t end = static_cast<uint8_t>(d);
    EXPECT_EQ(GradientBands({0, 0, 0}, {end, end, end}).back(), (Rgb{end, end, end})) << d;
    EXPECT_EQ(GradientBands({255, 0, 0}, {static_cast<uint8_t>(255 - d), 0, 0}).back().r, 255 - d);
  }
  auto flat = GradientBands({10, 20, 30}, {10, 20, 30});
  for (const Rgb& c : flat) EXPECT_EQ(c, (Rgb{10, 20, 30}));
}

TEST(GradientBands, RedDecidesTheDirectionAndChannelsStopAtTheirLimits) {
  // Red rises, so green rises from its start too, up to 255.
  auto up = GradientBands({100, 200, 50}, {200, 100, 50});
  EXPECT_EQ(up[100], (Rgb{139, 239, 50}));
  EXPECT_EQ(up.back(), (Rgb{200, 255, 50}));
  // Red falls, so green falls from its start, down to 0.
  auto down = GradientBands({200, 50, 0}, {100, 150, 0});
  EXPECT_EQ(down.back(), (Rgb{100, 0, 0}));
}

}  // namespace
}  // namespace tl
