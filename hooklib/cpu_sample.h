// Processor usage per instance between two readings of the Process object.
// Pure code shared by corvel.dll and the core.
#pragma once
#include <cstdint>

#include "hooklib/perf_data.h"

namespace perf {

// For each instance of `current`, in order: the percentage of one processor
// it used since `previous`, truncated toward zero; 0 for an instance that
// `previous` does not have and when no time has passed. When both readings
// carry process ids, an instance pairs with the one of the same name and id;
// otherwise the n-th instance of a name pairs with the n-th instance of that
// name in `previous`. Names are compared without regard to case. Returns the
// number of values written, current.count, or 0 when `previous` holds no
// instances (the first reading).
int32_t UsageSince(const Sample& previous, const Sample& current, int32_t* values);

}  // namespace perf
