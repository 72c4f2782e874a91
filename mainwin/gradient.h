// The colours of a form's vertical background gradient: 256 horizontal
// bands from a start colour at the top to an end colour at the bottom.
#pragma once
#include <array>
#include <cstdint>

namespace tl {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr int kGradientBands = 256;

// The direction of every channel follows red: a channel that runs the other
// way walks away from its start and stops at 0 or 255.
std::array<Rgb, kGradientBands> GradientBands(Rgb start, Rgb end);

}  // namespace tl
