// GetCpuUsage: processor usage of every process instance since the previous
// call, from the system's performance data. Only the main program calls it;
// its state is allocated on that first call, so the copies of the library
// mapped into other programs carry none of it.
#include <windows.h>
#include <winperf.h>

#include <cstddef>
#include <cstdlib>

#include "hooklib/cpu_sample.h"
#include "hooklib/perf_data.h"

static_assert(offsetof(PERF_DATA_BLOCK, HeaderLength) == perf::data_block::HeaderLength);
static_assert(offsetof(PERF_DATA_BLOCK, NumObjectTypes) == perf::data_block::NumObjectTypes);
static_assert(offsetof(PERF_DATA_BLOCK, PerfTime100nSec) == perf::data_block::PerfTime100nSec);
static_assert(sizeof(PERF_DATA_BLOCK) == perf::data_block::Size);
static_assert(offsetof(PERF_OBJECT_TYPE, DefinitionLength) == perf::object_type::DefinitionLength);
static_assert(offsetof(PERF_OBJECT_TYPE, HeaderLength) == perf::object_type::HeaderLength);
static_assert(offsetof(PERF_OBJECT_TYPE, ObjectNameTitleIndex) ==
              perf::object_type::ObjectNameTitleIndex);
static_assert(offsetof(PERF_OBJECT_TYPE, NumCounters) == perf::object_type::NumCounters);
static_assert(offsetof(PERF_OBJECT_TYPE, NumInstances) == perf::object_type::NumInstances);
static_assert(sizeof(PERF_OBJECT_TYPE) == perf::object_type::Size);
static_assert(offsetof(PERF_COUNTER_DEFINITION, CounterNameTitleIndex) ==
              perf::counter_definition::CounterNameTitleIndex);
static_assert(offsetof(PERF_COUNTER_DEFINITION, CounterOffset) ==
              perf::counter_definition::CounterOffset);
static_assert(sizeof(PERF_COUNTER_DEFINITION) == perf::counter_definition::Size);
static_assert(offsetof(PERF_INSTANCE_DEFINITION, NameOffset) ==
              perf::instance_definition::NameOffset);
static_assert(sizeof(PERF_INSTANCE_DEFINITION) == perf::instance_definition::Size);
static_assert(sizeof(PERF_COUNTER_BLOCK) == perf::counter_block::Size);

namespace {

// Enough for the Process object of a typical machine, so most calls need one read.
constexpr DWORD kFirstBufferSize = 256u << 10;
// Past this the data are not read at all: the call answers no instances.
constexpr DWORD kMaxBufferSize = 64u << 20;
// Wine writes a provider's objects one data-block header further on than
// the block's HeaderLength says, while offering it the whole size we passed;
// the slack keeps such writes inside our allocation.
constexpr DWORD kSlack = 4096;
constexpr const char* kTmpCpuKey = "Software\\VB and VBA Program Settings\\Tarvick Lite\\tmpcpu";

struct State {
  perf::Sample samples[2];
  int previous;  // index of the previous sample in samples
  int32_t values[perf::kMaxInstances];
};

State* gState = nullptr;
BYTE* gBuffer = nullptr;
DWORD gBufferSize = 0;

bool Reserve(DWORD size) {
  if (gBuffer) HeapFree(GetProcessHeap(), 0, gBuffer);
  gBufferSize = 0;
  gBuffer = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size + kSlack));
  if (gBuffer) gBufferSize = size;
  return gBuffer != nullptr;
}

// Reads the data block of the Process object (230) alone ("Global" would collect
// every object of every provider); returns the number of valid bytes, 0 on
// failure.
DWORD QueryProcessObject() {
  if (!gBuffer && !Reserve(kFirstBufferSize)) return 0;
  for (;;) {
    ZeroMemory(gBuffer, gBufferSize + kSlack);
    DWORD size = gBufferSize;
    LONG rc = RegQueryValueExA(HKEY_PERFORMANCE_DATA, "230", nullptr, nullptr, gBuffer, &size);
    if (rc == ERROR_SUCCESS) return size < gBufferSize ? size : gBufferSize;
    if (rc != ERROR_MORE_DATA || gBufferSize >= kMaxBufferSize) return 0;
    // The size left by a short call is undefined on Windows and 0 on Wine, so
    // it is only a hint: the buffer at least doubles, and the loop ends.
    DWORD64 want = static_cast<DWORD64>(gBufferSize) * 2;
    if (static_cast<DWORD64>(size) + 1024 > want) want = static_cast<DWORD64>(size) + 1024;
    if (want > kMaxBufferSize) want = kMaxBufferSize;
    if (!Reserve(static_cast<DWORD>(want))) return 0;
  }
}

DWORD ReadPerformanceData() {
  DWORD size = QueryProcessObject();
  // The query opened the key and keeps the providers loaded until it is closed.
  RegCloseKey(HKEY_PERFORMANCE_DATA);
  return size;
}

void ToAnsi(const char16_t* text, size_t units, char* out, size_t size) {
  // Room for double-byte code pages; the name is then cut to its buffer.
  char wide[(perf::kNameBytes - 1) * 2];
  int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text),
                              static_cast<int>(units), wide, sizeof wide, nullptr, nullptr);
  if (n <= 0) return;
  size_t len = static_cast<size_t>(n) < size - 1 ? static_cast<size_t>(n) : size - 1;
  CopyMemory(out, wide, len);
  out[len] = '\0';
}

void Publish(const perf::Sample& sample, int32_t count) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kTmpCpuKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char name[16];
  for (int32_t i = 0; i < count; ++i) {
    _itoa(i, name, 10);
    // The whole name buffer: the text and its NUL padding.
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(sample.items[i].name),
                   perf::kNameBytes);
  }
  RegCloseKey(key);
}

}  // namespace

extern "C" __declspec(dllexport) long WINAPI GetCpuUsage(long* values) {
  if (!values) return 0;
  if (!gState) {
    gState = static_cast<State*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(State)));
    if (!gState) return 0;
  }
  perf::Sample& previous = gState->samples[gState->previous];
  perf::Sample& current = gState->samples[1 - gState->previous];
  DWORD size = ReadPerformanceData();
  perf::ReadProcessSample(gBuffer, size, ToAnsi, current);

  int32_t n = perf::UsageSince(previous, current, gState->values);
  for (int32_t i = 0; i < n; ++i) values[i] = gState->values[i];
  gState->previous = 1 - gState->previous;  // the current sample becomes the previous one
  if (n > 0) Publish(current, n);
  return n;
}
