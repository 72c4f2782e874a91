// The performance-data walk and the usage arithmetic of GetCpuUsage, on
// hand-built blocks.
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
  return BuildBlock(time, {BuildObject(o).bytes});
}

std::vector<std::string> Names(const perf::Sample& s) {
  std::vector<std::string> names;
  for (int i = 0; i < s.count; ++i) names.emplace_back(s.items[i].name);
  return names;
}

}  // namespace

TEST(PerfData, FirstReadingGivesNothingThenPercentagesOverTheElapsedTime) {
  auto first = Read(ProcessBlock(5 * kSecond, {{"Idle", 0}, {"app", 4'000'000}, {"_Total", 9'000'000}}));
  ASSERT_EQ(first->count, 3);
  EXPECT_EQ(first->time, 5 * kSecond);
  EXPECT_EQ(Names(*first), (std::vector<std::string>{"Idle", "app", "_Total"}));

  auto empty = std::make_unique<perf::Sample>();
  empty->count = 0;
  int32_t values[perf::kMaxInstances] = {};
  EXPECT_EQ(perf::UsageSince(*empty, *first, values), 0);

  // One second later: 1 000 000 more of "app" is 10 %, 12 345 678 of the total is 123 %.
  auto second = Read(ProcessBlock(6 * kSecond, {{"Idle", 8'000'000}, {"app", 5'000'000}, {"_Total", 21'345'678}}));
  ASSERT_EQ(perf::UsageSince(*first, *second, values), 3);
  EXPECT_EQ(values[0], 80);
  EXPECT_EQ(values[1], 10);
  EXPECT_EQ(values[2], 123);  // truncated, not rounded; the total is not divided by processors
}

TEST(PerfData, NewInstancesReadZeroAndInstancesOfOneProgramPairInOrder) {
  // The data name every instance of a program alike; names match in any case.
  auto before = Read(ProcessBlock(kSecond, {{"APP", 100'000'000}, {"app", 1'000}, {"gone", 0}, {"_Total", 0}}));
  auto after = Read(ProcessBlock(2 * kSecond, {{"app", 101'000'000}, {"app", 501'000}, {"new", 9},
                                               {"app", 7}, {"_Total", 5'000'000}}));
  int32_t values[perf::kMaxInstances] = {};
  ASSERT_EQ(perf::UsageSince(*before, *after, values), 5);
  EXPECT_EQ(Names(*after), (std::vector<std::string>{"app", "app", "new", "app", "_Total"}));
  EXPECT_EQ(std::vector<int32_t>(values, values + 5), (std::vector<int32_t>{10, 5, 0, 0, 50}));
}

TEST(PerfData, NoElapsedTimeOrFallingCountersStayDefined) {
  auto a = Read(ProcessBlock(kSecond, {{"x", 5'000'000}, {"_Total", 0}}));
  auto b = Read(ProcessBlock(kSecond, {{"x", 9'000'000}, {"_Total", 0}}));
  int32_t values[perf::kMaxInstances] = {};
  ASSERT_EQ(perf::UsageSince(*a, *b, values), 2);
  EXPECT_EQ(values[0], 0);  // same time stamp: no division by zero
  auto c = Read(ProcessBlock(2 * kSecond, {{"x", -550'000}, {"_Total", INT64_MAX}}));
  ASSERT_EQ(perf::UsageSince(*b, *c, values), 2);
  EXPECT_EQ(values[0], -95);  // toward zero
  EXPECT_EQ(values[1], INT32_MAX);
}

TEST(PerfData, FindsTheProcessObjectAndItsCounterAmongOthers) {
  Object other;
  other.titleIndex = 238;
  other.instances = {{"cpu0", 7}};
  Object process;
  process.counters = {142, 6, 144};  // % Processor Time is the second counter
  process.instances = {{"a", 11}, {"_Total", 22}};
  auto s = Read(BuildBlock(kSecond, {BuildObject(other).bytes, BuildObject(process).bytes}));
  ASSERT_EQ(s->count, 2);
  EXPECT_EQ(s->items[1].counter, 1022);

  Object noCounter = process;
  noCounter.counters = {142, 144};
  EXPECT_EQ(Read(BuildBlock(kSecond, {BuildObject(noCounter).bytes}))->count, 0);
  EXPECT_EQ(Read(BuildBlock(kSecond, {BuildObject(other).bytes}))->count, 0);
  Object none = process;
  none.noInstances = true;
  EXPECT_EQ(Read(BuildBlock(kSecond, {BuildObject(none).bytes}))->count, 0);
}

TEST(PerfData, EveryTruncationGivesNoInstances) {
  Bytes full = ProcessBlock(kSecond, {{"alpha", 1}, {"beta", 2}, {"_Total", 3}});
  ASSERT_EQ(Read(full)->count, 3);
  for (size_t size = 0; size < full.size(); ++size)
    ASSERT_EQ(Read(full, size)->count, 0) << "truncated at " << size;
}

TEST(PerfData, HostileLengthsAndOffsetsEndTheWalk) {
  Object o;
  o.instances = {{"alpha", 1}, {"_Total", 3}};
  std::vector<size_t> at;
  Built obj = BuildObject(o);
  Bytes good = BuildBlock(kSecond, {obj.bytes}, &at);
  const size_t object = at[0], inst = object + obj.instanceAt[0];
  namespace ot = perf::object_type;
  namespace id = perf::instance_definition;
  namespace cd = perf::counter_definition;
  auto patched = [&](size_t where, uint32_t value) {
    Bytes b = good;
    Put32(b, where, value);
    return Read(b)->count;
  };
  EXPECT_EQ(patched(perf::data_block::HeaderLength, 0xFFFFFFF0u), 0);
  EXPECT_EQ(patched(object + ot::TotalByteLength, 0xFFFFFF00u), 0);
  EXPECT_EQ(patched(object + ot::DefinitionLength, 0x7FFFFFFFu), 0);
  EXPECT_EQ(patched(object + ot::NumInstances, 0x7FFFFFFFu), 0);
  EXPECT_EQ(patched(object + ot::NumCounters, 0xFFFFFFFFu), 2);  // the counter comes first
  EXPECT_EQ(patched(object + ot::Size + cd::CounterOffset, 0xFFFFFFF8u), 0);
  EXPECT_EQ(patched(object + ot::Size + cd::CounterOffset, 12), 0);  // runs past the counter block
  EXPECT_EQ(patched(inst + id::ByteLength, 0), 0);
  EXPECT_EQ(patched(inst + id::ByteLength, 0xFFFFFFFFu), 0);
  size_t block = inst + Get32(good, inst + id::ByteLength);
  EXPECT_EQ(patched(block, 0), 0);
  EXPECT_EQ(patched(block, 2), 0);

  // A non-matching object of length zero, repeated "for ever".
  Object other;
  other.titleIndex = 238;
  Bytes stuck = BuildBlock(kSecond, {BuildObject(other).bytes, obj.bytes}, &at);
  Put32(stuck, at[0] + ot::TotalByteLength, 0);
  Put32(stuck, perf::data_block::NumObjectTypes, 0xFFFFFFFFu);
  EXPECT_EQ(Read(stuck)->count, 0);

  // A name offset outside the instance gives an empty name, not a stray read.
  Bytes b = good;
  Put32(b, inst + id::NameOffset, 0x7FFFFFFFu);
  auto s = Read(b);
  ASSERT_EQ(s->count, 2);
  EXPECT_STREQ(s->items[0].name, "");
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
