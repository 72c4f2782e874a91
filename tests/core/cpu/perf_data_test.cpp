// The performance-data walk and the usage arithmetic of GetCpuUsage, on
// hand-built blocks. (Blocks without the "ID Process" counter, paired in
// order, are what the test provider feeds the library through the system.)
#include <gtest/gtest.h>

#include <memory>

#include "hooklib/cpu_sample.h"
#include "hooklib/perf_data.h"
#include "perf_block_builder.h"

using namespace perftest;

namespace {

constexpr int64_t kSecond = 10'000'000;  // in 100 ns units

void Narrow(const char16_t* text, size_t units, char* out, size_t size) {
  size_t n = units < size - 1 ? units : size - 1;
  for (size_t i = 0; i < n; ++i) out[i] = text[i] < 128 ? static_cast<char>(text[i]) : '?';
  out[n] = '\0';
}

std::unique_ptr<perf::Sample> Read(const Bytes& b, size_t size) {
  auto s = std::make_unique<perf::Sample>();
  // An exact-size copy: the sanitizer then catches any read past the end.
  Bytes exact(b.begin(), b.begin() + static_cast<long>(size));
  perf::ReadProcessSample(exact.data(), exact.size(), Narrow, *s);
  return s;
}
std::unique_ptr<perf::Sample> Read(const Bytes& b) { return Read(b, b.size()); }

Bytes ProcessBlock(int64_t time, const std::vector<Instance>& instances) {
  Object o;
  o.instances = instances;
  return BuildBlock(time, {BuildObject(o)});
}

}  // namespace

TEST(PerfData, PercentagesOverTheElapsedTimeTruncatedAndDefinedAtTheEdges) {
  // (That the first reading gives nothing is proved through the library.)
  auto first = Read(ProcessBlock(5 * kSecond, {{"Idle", 0}, {"app", 4'000'000}, {"_Total", 9'000'000}}));
  int32_t values[perf::kMaxInstances] = {};
  // One second later: 1 000 000 more of "app" is 10 %, 12 345 678 of the total is 123 %.
  auto second = Read(ProcessBlock(6 * kSecond, {{"Idle", 8'000'000}, {"app", 5'000'000}, {"_Total", 21'345'678}}));
  ASSERT_EQ(perf::UsageSince(*first, *second, values), 3);
  EXPECT_EQ(std::vector<int32_t>(values, values + 3), (std::vector<int32_t>{80, 10, 123}))
      << "truncated, not rounded; the total is not divided by processors";

  // The same time stamp: no division by zero; then falling and huge counters stay defined.
  auto same = Read(ProcessBlock(6 * kSecond, {{"Idle", 9'000'000}, {"app", 9'000'000}, {"_Total", 0}}));
  ASSERT_EQ(perf::UsageSince(*second, *same, values), 3);
  EXPECT_EQ(values[1], 0);
  auto later = Read(ProcessBlock(7 * kSecond, {{"Idle", 0}, {"app", -550'000}, {"_Total", INT64_MAX}}));
  ASSERT_EQ(perf::UsageSince(*same, *later, values), 3);
  EXPECT_EQ(values[1], -95);  // toward zero
  EXPECT_EQ(values[2], INT32_MAX);
}

TEST(PerfData, InstancesOfOneProgramPairByProcessIdWhenOneEnds) {
  Object o;
  o.counters = {perf::kProcessIdCounter, perf::kProcessorTimeCounter};
  o.instances = {{"Idle", 0, 0}, {"chrome", 0, 100}, {"chrome", 50'000'000, 200},
                 {"chrome", 90'000'000, 300}, {"_Total", 100'000'000, 0}};
  auto before = Read(BuildBlock(kSecond, {BuildObject(o)}));
  // The first chrome ends and another starts; paired in order, the survivors
  // would read 520 and 430.
  o.instances = {{"Idle", 5'000'000, 0}, {"chrome", 52'000'000, 200}, {"chrome", 93'000'000, 300},
                 {"chrome", 7, 400}, {"_Total", 110'000'000, 0}};
  auto after = Read(BuildBlock(2 * kSecond, {BuildObject(o)}));
  int32_t values[perf::kMaxInstances] = {};
  ASSERT_EQ(perf::UsageSince(*before, *after, values), 5);
  EXPECT_EQ(std::vector<int32_t>(values, values + 5), (std::vector<int32_t>{50, 20, 30, 0, 100}));
}

TEST(PerfData, FindsTheProcessObjectAndItsCounterAmongOthers) {
  Object other;
  other.titleIndex = 238;
  other.instances = {{"cpu0", 7}};
  Object process;
  process.counters = {142, 6, 144};  // % Processor Time is the second counter
  process.instances = {{"a", 11}, {"_Total", 22}};
  auto s = Read(BuildBlock(kSecond, {BuildObject(other), BuildObject(process)}));
  ASSERT_EQ(s->count, 2);
  EXPECT_EQ(s->items[1].counter, 1022);

  Object noCounter = process;
  noCounter.counters = {142, 144};
  EXPECT_EQ(Read(BuildBlock(kSecond, {BuildObject(noCounter)}))->count, 0);
  EXPECT_EQ(Read(BuildBlock(kSecond, {BuildObject(other)}))->count, 0);
  Bytes none = BuildBlock(kSecond, {BuildObject(process)});  // NumInstances = -1
  Put32(none, Get32(none, perf::data_block::HeaderLength) + perf::object_type::NumInstances,
        static_cast<uint32_t>(perf::kNoInstances));
  EXPECT_EQ(Read(none)->count, 0);
}

TEST(PerfData, EveryTruncationGivesNoInstances) {
  Bytes full = ProcessBlock(kSecond, {{"alpha", 1}, {"beta", 2}, {"_Total", 3}});
  ASSERT_EQ(Read(full)->count, 3);
  for (size_t size = 0; size < full.size(); ++size)
    ASSERT_EQ(Read(full, size)->count, 0) << "truncated at " << size;
}

TEST(PerfData, HostileLengthsAndOffsetsEndTheWalk) {
  namespace ot = perf::object_type;
  namespace id = perf::instance_definition;
  Object o;
  o.counters = {perf::kProcessorTimeCounter, perf::kProcessIdCounter};
  o.instances = {{"alpha", 1}, {"_Total", 3}};
  const Bytes good = BuildBlock(kSecond, {BuildObject(o)});
  const size_t object = Get32(good, perf::data_block::HeaderLength);
  const size_t inst = object + Get32(good, object + ot::DefinitionLength);
  auto patched = [&](size_t where, uint32_t value) {
    Bytes b = good;
    Put32(b, where, value);
    return Read(b);
  };
  // Every field set to a value that overflows, points outside or loops: the
  // walk stays inside the buffer (the sanitizer watches) and invents nothing.
  for (size_t at = 0; at + 4 <= good.size(); at += 4)
    for (uint32_t v : {0u, 2u, 12u, 0x7FFFFFFFu, 0xFFFFFFF0u, 0xFFFFFFFFu})
      ASSERT_LE(patched(at, v)->count, 2) << at << ", " << v;
  // A name offset outside the instance gives an empty name, not a stray read.
  auto s = patched(inst + id::NameOffset, 0x7FFFFFFFu);
  ASSERT_EQ(s->count, 2);
  EXPECT_STREQ(s->items[0].name, "");

  // A non-matching object of length zero, repeated "for ever".
  Object other;
  other.titleIndex = 238;
  Bytes stuck = BuildBlock(kSecond, {BuildObject(other), BuildObject(o)});
  Put32(stuck, object + ot::TotalByteLength, 0);
  Put32(stuck, perf::data_block::NumObjectTypes, 0xFFFFFFFFu);
  EXPECT_EQ(Read(stuck)->count, 0);
}

TEST(PerfData, PastTheTableTheTotalIsStillLast) {
  std::vector<Instance> many;
  for (int i = 0; i < 1500; ++i) many.push_back({std::string(1, 'p').append(std::to_string(i)), i});
  many.push_back({"_Total", 99});
  auto s = Read(ProcessBlock(kSecond, many));
  ASSERT_EQ(s->count, perf::kMaxInstances);
  EXPECT_STREQ(s->items[998].name, "p998");
  EXPECT_STREQ(s->items[999].name, "_Total");
  EXPECT_EQ(s->items[999].counter, 99);
}
