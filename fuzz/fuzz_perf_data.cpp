// Performance data blocks as the system (or anything posing as it) returns
// them, and the usage worked out from two readings of one block.
#include <cstring>

#include "fuzz_check.h"
#include "hooklib/cpu_sample.h"

namespace {

// As the DLL's converter: one byte per code unit, always terminated.
void Narrow(const char16_t* text, size_t units, char* out, size_t size) {
  size_t n = 0;
  for (; n < units && n + 1 < size && text[n]; ++n) out[n] = static_cast<char>(text[n] & 0x7F);
  if (size) out[n] = '\0';
}

perf::Sample current, previous;  // too large for the stack
int32_t values[perf::kMaxInstances];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  perf::ReadProcessSample(data, size, Narrow, current);
  FUZZ_CHECK(current.count >= 0 && current.count <= perf::kMaxInstances);
  for (int i = 0; i < current.count; ++i)
    FUZZ_CHECK(std::memchr(current.items[i].name, '\0', perf::kNameBytes) != nullptr);
  // The same counters a moment later: nobody used any processor time.
  std::memcpy(&previous, &current, sizeof current);
  // Wrapping, as the clock of a hostile block may sit at the edge.
  previous.time = static_cast<int64_t>(static_cast<uint64_t>(current.time) - 1 - (size ? data[0] : 0));
  int32_t n = perf::UsageSince(previous, current, values);
  FUZZ_CHECK(n == (previous.count ? current.count : 0));
  for (int i = 0; i < n; ++i) FUZZ_CHECK(values[i] == 0);
  // No time at all between the readings.
  n = perf::UsageSince(current, current, values);
  for (int i = 0; i < n; ++i) FUZZ_CHECK(values[i] == 0);
  return 0;
}
