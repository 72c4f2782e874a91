#include "app/hook_library_win.h"

#include "app/program_win.h"

namespace HookLibrary {

namespace {
using InstallFn = long(WINAPI*)(long, long);
using CpuFn = long(WINAPI*)(long*);

FARPROC Export(const char* name) {
  static HMODULE lib = nullptr;
  static bool tried = false;
  if (!tried) {
    tried = true;
    lib = LoadLibraryA((ModMain::Prog().ProgramFolder + "\\corvel.dll").c_str());
  }
  return lib ? GetProcAddress(lib, name) : nullptr;
}
}  // namespace

long InstallMainHook(HWND owner, long install) {
  auto fn = reinterpret_cast<InstallFn>(reinterpret_cast<void*>(Export("InstallMainHook")));
  // Window handles carry 32 significant bits on every Windows.
  return fn ? fn(static_cast<long>(reinterpret_cast<LONG_PTR>(owner)), install) : -1;
}

long GetCpuUsage(long* values) {
  auto fn = reinterpret_cast<CpuFn>(reinterpret_cast<void*>(Export("GetCpuUsage")));
  return fn ? fn(values) : -1;
}

}  // namespace HookLibrary
