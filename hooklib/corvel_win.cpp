// corvel.dll entry point and hook installation. The hook procedures are
// added by their own change; until then InstallMainHook installs nothing.
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
