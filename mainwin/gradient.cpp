#include "mainwin/gradient.h"

#include <cmath>
#include <cstdlib>

namespace tl {

namespace {

uint8_t Channel(int start, float acc, int sign) {
  int v = start + static_cast<int>(std::floor(acc)) * sign;
  return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

std::array<Rgb, kGradientBands> GradientBands(Rgb start, Rgb end) {
  int sign = start.r > end.r ? -1 : 1;
  // Single-precision steps of a 255th: checked to land on the end colour
  // at the last band for every distance 0..255.
  float stepR = std::abs(end.r - start.r) / 255.0f;
  float stepG = std::abs(end.g - start.g) / 255.0f;
  float stepB = std::abs(end.b - start.b) / 255.0f;
  float ar = 0, ag = 0, ab = 0;
  std::array<Rgb, kGradientBands> bands;
  for (Rgb& band : bands) {
    band = {Channel(start.r, ar, sign), Channel(start.g, ag, sign), Channel(start.b, ab, sign)};
    ar += stepR;
    ag += stepG;
    ab += stepB;
  }
  return bands;
}

}  // namespace tl
