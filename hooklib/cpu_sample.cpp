#include "hooklib/cpu_sample.h"

namespace perf {

namespace {

char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(const char* a, const char* b) {
  for (int i = 0; i < kNameBytes; ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
    if (a[i] == '\0') return true;
  }
  return true;
}

int32_t Percent(int64_t before, int64_t after, int64_t elapsed) {
  if (elapsed <= 0) return 0;
  double p = (static_cast<double>(after) - static_cast<double>(before)) / elapsed * 100;
  // Hostile counters must not make the conversion undefined.
  if (p >= 2147483647.0) return 2147483647;
  if (p <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(p);
}

}  // namespace

int32_t UsageSince(const Sample& previous, const Sample& current, int32_t* values) {
  if (previous.count <= 0) return 0;
  // Wrap-around subtraction: hostile times must not overflow.
  int64_t elapsed = static_cast<int64_t>(static_cast<uint64_t>(current.time) -
                                         static_cast<uint64_t>(previous.time));
  for (int32_t i = 0; i < current.count; ++i) {
    const char* name = current.items[i].name;
    // Every instance of a program carries the program's name: the n-th one
    // is measured against the n-th one of the previous sample.
    int32_t occurrence = 0;
    for (int32_t k = 0; k < i; ++k)
      if (SameName(current.items[k].name, name)) ++occurrence;
    values[i] = 0;
    for (int32_t j = 0; j < previous.count; ++j)
      if (SameName(previous.items[j].name, name) && occurrence-- == 0) {
        values[i] = Percent(previous.items[j].counter, current.items[i].counter, elapsed);
        break;
      }
  }
  return current.count;
}

}  // namespace perf
