// Idle benchmark helper, run by bench/app/idle (which measures CPU time from
// the Linux side: Wine does not report other processes' times).
//   bench_idle prepare      installs the program as a LAN user's, no splash
//   bench_idle rate [secs]  the main loop's pass rate, in-process on the
//                           real loop and forms
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_loop_win.h"
#include "app/program_win.h"
#include "app/startup_win.h"
#include "mainwin/interface_frm_win.h"
#include "shutdown/cancel_event_win.h"

namespace {

std::string Folder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\'));
}

void SetSz(HKEY root, const std::string& key, const char* name, const std::string& value) {
  HKEY k;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr)) return;
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
}

double PassRate(int seconds) {
  ModMain::InitProcessValues();
  ModMain::LoadForms();
  ModMain::Prog().Settings.LANCon = 0;  // no connection: the loop's own cost
  SetTimer(nullptr, 0, seconds * 1000, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ModMain::Prog().Exiting = true;
  });
  uint64_t before = ModMainLoop::PassCount;
  DWORD start = GetTickCount();
  ModMainLoop::RunMainLoop();
  return (ModMainLoop::PassCount - before) * 1000.0 / (GetTickCount() - start);
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "rate") {
    int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    std::printf("main loop passes: %.1f per second over %d s (in-process, real loop and forms)\n",
                PassRate(seconds > 0 ? seconds : 10), seconds);
    return 0;
  }
  if (mode != "prepare") {
    std::fprintf(stderr, "usage: bench_idle prepare | rate [seconds]\n");
    return 2;
  }
  std::string bin = Folder();  // bench/app in the build tree
  std::string top = bin.substr(0, bin.rfind("\\bench"));
  std::string exe = top + "\\TarvickLite.exe";
  // An installed program of a LAN user: no first-run question, no splash.
  SetSz(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TarvickLite.exe", "", exe);
  const std::string opts = "Software\\VB and VBA Program Settings\\Tarvick Lite\\Options";
  SetSz(HKEY_CURRENT_USER, opts, "LANCon", "1");
  SetSz(HKEY_CURRENT_USER, opts, "SplashAtStartUp", "0");
  CopyFileA((top + "\\hooklib\\corvel.dll").c_str(), (top + "\\corvel.dll").c_str(), FALSE);
  return 0;
}
