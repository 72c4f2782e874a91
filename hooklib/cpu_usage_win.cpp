// GetCpuUsage: per-instance processor shares. Answers no instances until the
// performance-data query is added.
#include <windows.h>

extern "C" __declspec(dllexport) long WINAPI GetCpuUsage(long*) { return 0; }
