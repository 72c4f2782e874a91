// corvel.dll entry point and exports. The hook procedures and the CPU query
// are added by their own changes; until then the exports answer "nothing
// installed" and "no instances".
#include <windows.h>

namespace {
HINSTANCE gInstance = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  gInstance = instance;  // nothing else here: the loader lock is held
  return TRUE;
}

extern "C" __declspec(dllexport) long WINAPI InstallMainHook(long, long install) {
  return install ? 1 : 3;
}

extern "C" __declspec(dllexport) long WINAPI GetCpuUsage(long*) { return 0; }
