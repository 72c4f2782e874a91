// The Process object of a performance data block, read from a byte buffer.
// Pure code: it runs inside corvel.dll (no exceptions, no allocation) and in
// the core, where its tests feed it hand-built blocks.
#pragma once
#include <cstddef>
#include <cstdint>

namespace perf {

inline constexpr uint32_t kProcessObject = 230;        // "Process"
inline constexpr uint32_t kProcessorTimeCounter = 6;   // "% Processor Time", 100 ns units
inline constexpr uint32_t kProcessIdCounter = 784;     // "ID Process", 32 bits
inline constexpr int32_t kNoInstances = -1;            // PERF_NO_INSTANCES
inline constexpr int kMaxInstances = 1000;
inline constexpr int kNameBytes = 256;

// Field offsets of the system's records (winperf.h; the same for 32- and
// 64-bit programs). The DLL checks them against the system header.
namespace data_block {
inline constexpr size_t HeaderLength = 24;
inline constexpr size_t NumObjectTypes = 28;
inline constexpr size_t PerfTime100nSec = 72;
inline constexpr size_t Size = 88;
}  // namespace data_block
namespace object_type {
inline constexpr size_t TotalByteLength = 0;
inline constexpr size_t DefinitionLength = 4;
inline constexpr size_t HeaderLength = 8;
inline constexpr size_t ObjectNameTitleIndex = 12;
inline constexpr size_t NumCounters = 32;
inline constexpr size_t NumInstances = 40;
inline constexpr size_t Size = 64;
}  // namespace object_type
namespace counter_definition {
inline constexpr size_t ByteLength = 0;
inline constexpr size_t CounterNameTitleIndex = 4;
inline constexpr size_t CounterOffset = 36;
inline constexpr size_t Size = 40;
}  // namespace counter_definition
namespace instance_definition {
inline constexpr size_t ByteLength = 0;
inline constexpr size_t NameOffset = 16;
inline constexpr size_t Size = 24;
}  // namespace instance_definition
namespace counter_block {
inline constexpr size_t ByteLength = 0;
inline constexpr size_t Size = 4;
}  // namespace counter_block

struct Instance {
  char name[kNameBytes];  // ANSI, NUL-padded to the end
  int64_t counter;
  uint32_t id;  // process id; 0 when the object has no "ID Process" counter
};

// One reading of the Process object.
struct Sample {
  int32_t count;  // instances held, 0..kMaxInstances
  bool hasIds;    // the object carries "ID Process"
  int64_t time;   // PerfTime100nSec of the block
  Instance items[kMaxInstances];
};

// Converts `units` UTF-16 code units to ANSI text in out[0..size-1], NUL-terminated.
using NameConverter = void (*)(const char16_t* text, size_t units, char* out, size_t size);

// Fills `out` from the block in data[0..size): the instances of the Process
// object, in order, with their "% Processor Time" values and, when the
// object has that counter, their process ids. Every record must
// lie inside the buffer and inside its object, and every length must move
// the walk forward; a block that breaks that, or lacks the object or the
// counter, gives no instances. With more than kMaxInstances instances the
// first kMaxInstances - 1 are kept, and the last one, the system's total.
void ReadProcessSample(const uint8_t* data, size_t size, NameConverter convert, Sample& out);

}  // namespace perf
