// The text conversions of the settings store on any stored text.
#include <cmath>

#include "app/conversions.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto number = tl::ParseNumber(text);
  if (number) FUZZ_CHECK(std::isfinite(*number));
  // An integer field takes the integer part, or fails when it does not fit.
  if (auto v = tl::ParseInt16(text)) FUZZ_CHECK(number && *v == std::trunc(*number));
  if (auto v = tl::ParseInt32(text)) FUZZ_CHECK(number && *v == std::trunc(*number));
  if (number && std::trunc(*number) >= -32768 && std::trunc(*number) <= 32767)
    FUZZ_CHECK(tl::ParseInt16(text));
  if (number) FUZZ_CHECK(tl::ParseFlag(text) == (*number != 0));
  std::string trimmed = tl::Trim(text);
  FUZZ_CHECK(tl::Trim(trimmed) == trimmed);
  FUZZ_CHECK(tl::ToLower(tl::ToUpper(text)) == tl::ToLower(text));
  // What the program writes it reads back.
  if (size >= 4) {
    float f;
    __builtin_memcpy(&f, data, 4);
    std::string written = tl::SingleText(f);
    FUZZ_CHECK(tl::ParseNumber(written));
  }
  for (bool b : {false, true}) FUZZ_CHECK(tl::ParseFlag(tl::FlagText(b)) == b);
  return 0;
}
