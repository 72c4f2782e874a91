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
  // Every instance of a program carries the program's name, so only the id
  // tells them apart once one of them ends. Without ids the n-th one is
  // measured against the n-th one of the previous sample. The id joins the
  // name rather than replacing it: "Idle" and "_Total" share id 0.
  const bool byId = previous.hasIds && current.hasIds;
  auto same = [byId](const Instance& a, const Instance& b) {
    return (!byId || a.id == b.id) && SameName(a.name, b.name);
  };
  for (int32_t i = 0; i < current.count; ++i) {
    const Instance& item = current.items[i];
    int32_t occurrence = 0;
    for (int32_t k = 0; k < i; ++k)
      if (same(current.items[k], item)) ++occurrence;
    values[i] = 0;
    for (int32_t j = 0; j < previous.count; ++j)
      if (same(previous.items[j], item) && occurrence-- == 0) {
        values[i] = Percent(previous.items[j].counter, item.counter, elapsed);
        break;
      }
  }
  return current.count;
}

}  // namespace perf
