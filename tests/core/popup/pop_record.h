// A Pop.dat record image laid out as the program reads it: blank-padded
// texts and little-endian 16-bit numbers. A first record of ("", "N")
// heads a file of N browsers.
#pragma once
#include <cstdint>
#include <string>

#include "popup/pop_lists.h"

namespace poptest {

inline std::string PopRecord(const std::string& name, const std::string& exe,
                             const std::string& menu0 = "", int16_t version = 0,
                             const std::string& white0 = "", int16_t type0 = 0, int16_t exact0 = 0) {
  std::string r(tl::kPopRecordSize, ' ');
  r.replace(0, name.size(), name);
  r.replace(256, exe.size(), exe);
  r.replace(512, menu0.size(), menu0);
  auto put16 = [&](size_t off, int16_t v) {
    r[off] = static_cast<char>(v & 0xFF);
    r[off + 1] = static_cast<char>((v >> 8) & 0xFF);
  };
  put16(1280, 1);  // PopDisNotf
  put16(1282, 1);  // HidePop
  put16(1284, version);
  for (int j = 0; j < 6; ++j) put16(1286 + 2 * j, j == 0 ? type0 : 0);
  r.replace(1298, white0.size(), white0);
  for (int j = 0; j < 6; ++j) put16(2834 + 2 * j, j == 0 ? exact0 : 0);
  return r;
}

}  // namespace poptest
