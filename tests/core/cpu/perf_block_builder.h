// Builds performance data as the system lays it out: a data block, objects,
// counter definitions, instances and their counter blocks. Used by the core
// tests and by the test provider that feeds Wine's HKEY_PERFORMANCE_DATA.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "hooklib/perf_data.h"

namespace perftest {

using Bytes = std::vector<uint8_t>;

inline void Put32(Bytes& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
inline void Put64(Bytes& b, size_t at, int64_t v) { std::memcpy(b.data() + at, &v, 8); }
inline uint32_t Get32(const Bytes& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

struct Instance {
  std::string name;  // ASCII; stored as UTF-16
  int64_t counter = 0;
  uint32_t id = 0;  // the "ID Process" value, where the object has that counter
};

struct Object {
  uint32_t titleIndex = perf::kProcessObject;
  // Title indexes of the counters, in order; each is a 64-bit value.
  std::vector<uint32_t> counters = {perf::kProcessorTimeCounter};
  std::vector<Instance> instances;
};

// One object record. Counter c of instance i holds instances[i].counter +
// 1000 * c, so that a reader of the wrong counter shows; "ID Process" holds
// the instance's id.
inline Bytes BuildObject(const Object& o) {
  namespace ot = perf::object_type;
  namespace cd = perf::counter_definition;
  namespace id = perf::instance_definition;
  const size_t definition = ot::Size + o.counters.size() * cd::Size;
  Bytes b(definition, 0);
  Put32(b, ot::DefinitionLength, static_cast<uint32_t>(definition));
  Put32(b, ot::HeaderLength, ot::Size);
  Put32(b, ot::ObjectNameTitleIndex, o.titleIndex);
  Put32(b, ot::NumCounters, static_cast<uint32_t>(o.counters.size()));
  Put32(b, ot::NumInstances, static_cast<uint32_t>(o.instances.size()));
  const uint32_t blockLen = static_cast<uint32_t>(8 + 8 * o.counters.size());
  for (size_t c = 0; c < o.counters.size(); ++c) {
    size_t at = ot::Size + c * cd::Size;
    Put32(b, at + cd::ByteLength, cd::Size);
    Put32(b, at + cd::CounterNameTitleIndex, o.counters[c]);
    Put32(b, at + cd::CounterOffset, static_cast<uint32_t>(8 + 8 * c));
  }
  for (const Instance& inst : o.instances) {
    size_t nameBytes = (inst.name.size() + 1) * 2;
    size_t instLen = id::Size + ((nameBytes + 7) & ~size_t{7});
    size_t at = b.size();
    b.resize(at + instLen + blockLen, 0);
    Put32(b, at + id::ByteLength, static_cast<uint32_t>(instLen));
    Put32(b, at + id::NameOffset, id::Size);
    Put32(b, at + 20, static_cast<uint32_t>(nameBytes));  // NameLength
    for (size_t i = 0; i < inst.name.size(); ++i)
      b[at + id::Size + 2 * i] = static_cast<uint8_t>(inst.name[i]);
    Put32(b, at + instLen, blockLen);
    for (size_t c = 0; c < o.counters.size(); ++c) {
      int64_t value = inst.counter + 1000 * static_cast<int64_t>(c);
      if (o.counters[c] == perf::kProcessIdCounter) value = inst.id;
      Put64(b, at + instLen + 8 + 8 * c, value);
    }
  }
  Put32(b, ot::TotalByteLength, static_cast<uint32_t>(b.size()));
  return b;
}

// A data block holding the objects.
inline Bytes BuildBlock(int64_t time100ns, const std::vector<Bytes>& objects) {
  namespace db = perf::data_block;
  const size_t header = db::Size + 16;  // room for a system name, as real blocks have
  Bytes b(header, 0);
  const char16_t sig[4] = {u'P', u'E', u'R', u'F'};
  std::memcpy(b.data(), sig, sizeof sig);
  Put32(b, db::HeaderLength, static_cast<uint32_t>(header));
  Put32(b, db::NumObjectTypes, static_cast<uint32_t>(objects.size()));
  Put64(b, db::PerfTime100nSec, time100ns);
  for (const Bytes& o : objects) b.insert(b.end(), o.begin(), o.end());
  Put32(b, 20, static_cast<uint32_t>(b.size()));  // TotalByteLength
  return b;
}

}  // namespace perftest
