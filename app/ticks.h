// Tick arithmetic: GetTickCount values compared as signed 32-bit
// differences, so the counter's wrap after 49.7 days changes nothing.
#pragma once
#include <cstdint>

namespace tl {

// now - then as a signed 32-bit difference.
inline int32_t TickDiff(uint32_t now, uint32_t then) {
  return static_cast<int32_t>(now - then);
}

}  // namespace tl
