// Two storms of 200 pop-ups, 25 ms apart, from the fixture browser: how long
// each stayed visible before the blocker hid it, and the program's handles
// and memory after 200 and after 400. bench/popup/storm reads its CPU time.
// usage: bench_storm [pop-ups per storm]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "popup_bed.h"

using namespace tltest;

namespace {

struct Watch {
  DWORD pid;
  std::map<HWND, DWORD> created;  // still visible
  std::vector<double> visibleMs;
};

BOOL CALLBACK Visit(HWND h, LPARAM lp) {
  auto& w = *reinterpret_cast<Watch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  char title[32] = {};
  if (pid != w.pid || !GetWindowTextA(h, title, sizeof title) || lstrcmpA(title, "Storm Ad") != 0)
    return TRUE;
  // The fixture stores the creation tick just after creating the window.
  auto created = static_cast<DWORD>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (created && IsWindowVisible(h) && !w.created.count(h)) w.created[h] = created;
  return TRUE;
}

// Polls until the counter reaches `target`; a window counts as hidden once
// it is invisible or gone.
void RunStorm(PopupBed& bed, int count, int target, Watch& w) {
  PostMessageA(bed.browserMain, WM_COMMAND, kStorm, count);
  DWORD start = GetTickCount(), lastReport = start;
  while (std::atoi(bed.BlockCount().c_str()) < target && GetTickCount() - start < 300000) {
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&w));
    DWORD now = GetTickCount();
    for (auto it = w.created.begin(); it != w.created.end();) {
      if (IsWindow(it->first) && IsWindowVisible(it->first)) { ++it; continue; }
      w.visibleMs.push_back(static_cast<double>(now - it->second));
      it = w.created.erase(it);
    }
    if (now - lastReport >= 5000) {
      std::printf("  %5.1f s: counted %s, hidden %zu, visible %zu\n", (now - start) / 1000.0,
                  bed.BlockCount().c_str(), w.visibleMs.size(), w.created.size());
      lastReport = now;
    }
    Sleep(1);
  }
  std::printf("storm to %d: counter %s after %.1f s; %llu hidden when asked to close\n", target,
              bed.BlockCount().c_str(), (GetTickCount() - start) / 1000.0,
              static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetPropA(bed.browserMain, "StormHiddenAtClose"))));
}

// The process's handles as the system lists them (GetProcessHandleCount
// answers 0 for another process under Wine).
ULONG HandleCount(DWORD pid) {
  struct Entry {
    ULONG pid;
    BYTE type, flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  using Query = LONG(WINAPI*)(int, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  std::vector<BYTE> buf(1 << 20);
  ULONG got = 0;
  while (query && query(16 /* SystemHandleInformation */, buf.data(), static_cast<ULONG>(buf.size()), &got) ==
                      static_cast<LONG>(0xC0000004))  // STATUS_INFO_LENGTH_MISMATCH
    buf.resize(buf.size() * 2);
  ULONG n = *reinterpret_cast<ULONG*>(buf.data()), mine = 0;
  auto* e = reinterpret_cast<Entry*>(buf.data() + sizeof(ULONG_PTR));
  for (ULONG i = 0; i < n && (i + 1) * sizeof(Entry) + sizeof(ULONG_PTR) <= buf.size(); ++i)
    if (e[i].pid == pid) ++mine;
  return mine;
}

void ReportResources(const Process& p, const char* when) {
  Sleep(7000);  // the last announcement ends
  PROCESS_MEMORY_COUNTERS m{};
  GetProcessMemoryInfo(p.handle(), &m, sizeof m);
  std::printf("after %s: %lu handles, working set %.1f MB, private %.1f MB\n", when, HandleCount(p.pid()),
              m.WorkingSetSize / 1048576.0, m.PagefileUsage / 1048576.0);
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 200;
  if (count <= 0) count = 200;
  PopupBed bed;
  bed.Install(1, 1);
  if (!bed.StartBoth()) {
    std::fprintf(stderr, "could not start the program and the fixture browser\n");
    return 1;
  }
  std::printf("READY %lu\n", bed.program.pid());
  std::fflush(stdout);
  Sleep(3000);  // the script takes its first CPU reading meanwhile
  Watch w{bed.browser.pid(), {}, {}};
  ReportResources(bed.program, "start");
  RunStorm(bed, count, count, w);
  ReportResources(bed.program, "the first storm");
  RunStorm(bed, count, 2 * count, w);
  ReportResources(bed.program, "the second storm");
  std::vector<double>& v = w.visibleMs;
  if (v.empty()) return 1;
  std::sort(v.begin(), v.end());
  auto pct = [&](double p) { return v[std::min(v.size() - 1, size_t(p * (v.size() - 1) + 0.5))]; };
  std::printf("%zu pop-ups seen; visible before hidden: median %.0f ms, 95th percentile %.0f ms, max %.0f ms\n",
              v.size(), pct(0.5), pct(0.95), v.back());
  std::printf("DONE %d\n", 2 * count);
  std::fflush(stdout);
  Sleep(5000);  // the script reads the CPU time meanwhile
  return 0;
}
