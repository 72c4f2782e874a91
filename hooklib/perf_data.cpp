#include "hooklib/perf_data.h"

#include <cstring>

namespace perf {

namespace {

// The buffer as a bounded view: every read names its range first. Positions
// are 64-bit so that offsets taken from the data cannot wrap around.
class View {
 public:
  View(const uint8_t* data, uint64_t size) : data_(data), size_(size) {}
  bool Has(uint64_t pos, uint64_t len, uint64_t end) const {
    return end <= size_ && pos <= end && len <= end - pos;
  }
  uint32_t U32(uint64_t pos) const {
    uint32_t v;
    std::memcpy(&v, data_ + pos, sizeof v);
    return v;
  }
  int64_t I64(uint64_t pos) const {
    int64_t v;
    std::memcpy(&v, data_ + pos, sizeof v);
    return v;
  }
  char16_t Unit(uint64_t pos) const {
    char16_t v;
    std::memcpy(&v, data_ + pos, sizeof v);
    return v;
  }
  uint64_t size() const { return size_; }

 private:
  const uint8_t* data_;
  uint64_t size_;
};

struct Found {
  uint64_t object = 0;
  uint64_t objectEnd = 0;
  uint32_t counterOffset = 0;
  bool hasTime = false;
  bool hasId = false;
  uint32_t idOffset = 0;
};

// The Process object and the offsets of its processor-time and process-id
// counters. The id is optional: the walk of the definitions ends at the
// first broken one, keeping what it found before it.
bool FindCounters(const View& v, Found& f) {
  using namespace data_block;
  if (!v.Has(0, Size, v.size())) return false;
  uint64_t pos = v.U32(HeaderLength);
  uint32_t objects = v.U32(NumObjectTypes);
  for (uint32_t i = 0; i < objects; ++i) {
    if (!v.Has(pos, object_type::Size, v.size())) return false;
    uint32_t total = v.U32(pos + object_type::TotalByteLength);
    if (v.U32(pos + object_type::ObjectNameTitleIndex) == kProcessObject) {
      if (!v.Has(pos, total, v.size()) || total < object_type::Size) return false;
      f.object = pos;
      f.objectEnd = pos + total;
      break;
    }
    if (total == 0) return false;  // would read the same object again
    pos += total;
  }
  if (f.objectEnd == 0) return false;

  uint64_t c = f.object + v.U32(f.object + object_type::HeaderLength);
  uint32_t counters = v.U32(f.object + object_type::NumCounters);
  for (uint32_t i = 0; i < counters && !(f.hasTime && f.hasId); ++i) {
    if (!v.Has(c, counter_definition::Size, f.objectEnd)) break;
    uint32_t title = v.U32(c + counter_definition::CounterNameTitleIndex);
    uint32_t offset = v.U32(c + counter_definition::CounterOffset);
    if (title == kProcessorTimeCounter && !f.hasTime) {
      f.counterOffset = offset;
      f.hasTime = true;
    } else if (title == kProcessIdCounter && !f.hasId) {
      f.idOffset = offset;
      f.hasId = true;
    }
    uint32_t len = v.U32(c + counter_definition::ByteLength);
    if (len == 0) break;
    c += len;
  }
  return f.hasTime;
}

// The instance's name: UTF-16 up to its NUL, inside the instance definition.
void ReadName(const View& v, uint64_t inst, uint64_t instEnd, NameConverter convert, char* out) {
  std::memset(out, 0, kNameBytes);
  uint64_t pos = inst + v.U32(inst + instance_definition::NameOffset);
  char16_t units[kNameBytes - 1];
  size_t n = 0;
  while (n < sizeof units / sizeof units[0] && v.Has(pos, 2, instEnd)) {
    char16_t u = v.Unit(pos);
    if (u == 0) break;
    units[n++] = u;
    pos += 2;
  }
  if (n > 0 && convert) convert(units, n, out, kNameBytes);
  out[kNameBytes - 1] = '\0';
}

}  // namespace

void ReadProcessSample(const uint8_t* data, size_t size, NameConverter convert, Sample& out) {
  out.count = 0;
  out.hasIds = false;
  out.time = 0;
  View v(data, data ? size : 0);
  if (!v.Has(0, data_block::Size, v.size())) return;
  out.time = v.I64(data_block::PerfTime100nSec);

  Found f;
  if (!FindCounters(v, f)) return;
  int32_t instances = static_cast<int32_t>(v.U32(f.object + object_type::NumInstances));
  if (instances <= 0) return;  // kNoInstances, or nothing to read

  uint64_t inst = f.object + v.U32(f.object + object_type::DefinitionLength);
  int32_t kept = 0;
  for (int32_t i = 0; i < instances; ++i) {
    if (!v.Has(inst, instance_definition::Size, f.objectEnd)) return;
    uint32_t instLen = v.U32(inst + instance_definition::ByteLength);
    if (instLen < instance_definition::Size || !v.Has(inst, instLen, f.objectEnd)) return;
    uint64_t block = inst + instLen;
    if (!v.Has(block, counter_block::Size, f.objectEnd)) return;
    uint32_t blockLen = v.U32(block + counter_block::ByteLength);
    if (blockLen < counter_block::Size || !v.Has(block, blockLen, f.objectEnd)) return;
    if (!v.Has(block + f.counterOffset, sizeof(int64_t), block + blockLen)) return;
    if (f.hasId && !v.Has(block + f.idOffset, sizeof(uint32_t), block + blockLen)) return;

    // Past the table's room only the last instance, the total, is kept.
    int slot = kept < kMaxInstances - 1 ? kept : (i == instances - 1 ? kMaxInstances - 1 : -1);
    if (slot >= 0) {
      ReadName(v, inst, block, convert, out.items[slot].name);
      out.items[slot].counter = v.I64(block + f.counterOffset);
      out.items[slot].id = f.hasId ? v.U32(block + f.idOffset) : 0;
      kept = slot + 1;
    }
    inst = block + blockLen;
  }
  out.count = kept;
  out.hasIds = f.hasId;
}

}  // namespace perf
