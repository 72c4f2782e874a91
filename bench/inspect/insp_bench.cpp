// Time of a full process refresh and of a window enumeration with 50 and 400
// fixture processes (one window each) and 50 and 400 windows of one process.
// Every fixture is an X client, so the display must take more than 400:
//   xvfb-run -a -s "-screen 0 1280x1024x24 -maxclients 1024"
//       wine build/win/bench/inspect/insp_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ini_win.h"
#include "app/program_win.h"
#include "inspect/process_query_win.h"
#include "inspect/window_query_win.h"

namespace {

struct Child {
  PROCESS_INFORMATION pi{};
};

std::string Fixture() {
  std::string s = INSP_FIXTURE;
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

bool Start(Child& c, const std::string& args) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = "\"" + Fixture() + "\" " + args;
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &c.pi))
    return false;
  WaitForInputIdle(c.pi.hProcess, 30000);
  return true;
}

void StopAll(std::vector<Child>& children) {
  for (Child& c : children) TerminateProcess(c.pi.hProcess, 0);
  for (Child& c : children) {
    WaitForSingleObject(c.pi.hProcess, 10000);
    CloseHandle(c.pi.hProcess);
    CloseHandle(c.pi.hThread);
  }
  children.clear();
}

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return (b.QuadPart - a.QuadPart) * 1000.0 / f.QuadPart;
}

// Average milliseconds of each function over `rounds`, taken in turns so
// that every one sees the same load (the machine may be shared).
template <class... F>
std::vector<double> TimeInTurns(int rounds, F... fs) {
  std::vector<double> total(sizeof...(fs), 0.0);
  for (int r = 0; r < rounds; ++r) {
    size_t i = 0;
    auto one = [&](auto& f) {
      LARGE_INTEGER a, b;
      QueryPerformanceCounter(&a);
      f();
      QueryPerformanceCounter(&b);
      total[i++] += Ms(a, b);
    };
    (one(fs), ...);
  }
  for (double& t : total) t /= rounds;
  return total;
}

// The platform calls a listed unowned window needs, with nothing around them.
BOOL CALLBACK BareCalls(HWND h, LPARAM) {
  DWORD pid;
  GetWindowThreadProcessId(h, &pid);
  IsWindowVisible(h);
  GetWindowLongA(h, GWL_EXSTYLE);
  IsWindow(GetWindow(h, GW_OWNER));
  return TRUE;
}

void Measure(const char* what, size_t fixtures) {
  const int rounds = 10;
  Sleep(2000);  // let the fixtures' start-up settle
  std::vector<double> w = TimeInTurns(
      rounds, [] { EnumWindows(BareCalls, 0); },
      [] { ModWndOpr::WindowQuery(tl::kWndEnumerate, ""); });
  double bareMs = w[0], enumMs = w[1];
  size_t windows = ModWndOpr::WndHandles.size();
  std::vector<double> p = TimeInTurns(
      rounds, [] { ModProgInfo::ProcessQuery(tl::kProcReserved, ""); },
      [] {
        ModProgInfo::LastFullRefreshTick = GetTickCount() - 5000;
        ModProgInfo::ProcessQuery(tl::kProcRefresh, "True");
      },
      [] {
        ModProgInfo::LastFullRefreshTick = GetTickCount() - 5000;
        ModProgInfo::ProcessQuery(tl::kProcRefresh, "");
      });
  double walkMs = p[0], lightMs = p[1], fullMs = p[2];
  size_t processes = ModProgInfo::Picture.SnapPids.size();
  std::printf("%s: %zu\n", what, fixtures);
  std::printf("  window enumeration %8.2f ms, %3zu listed, %6.1f us/window, %.2fx the bare calls\n",
              enumMs, windows, enumMs * 1000 / (windows ? windows : 1), enumMs / bareMs);
  std::printf("  full refresh       %8.2f ms, %3zu processes, %6.1f us/process"
              " (live walk alone %.2f ms, light refresh %.2f ms)\n",
              fullMs, processes, fullMs * 1000 / (processes ? processes : 1), walkMs, lightMs);
}

}  // namespace

int main() {
  ModMain::InitProcessValues();
  ModMain::Prog().Settings.WndDisplay = 0;
  ModMain::Prog().Settings.HideWnd = 1;
  ModMain::Prog().Settings.SProgCount = 0;
  modIni::ClassList = {"RUNDLL", "STUBWINDOW32"};
  std::vector<Child> children;

  Measure("no fixtures", 0);
  for (int n : {50, 400}) {
    children.resize(1);
    Start(children[0], "many:" + std::to_string(n) + ":bench");
    Measure("windows of one process", n);
    StopAll(children);

    children.resize(n);
    for (Child& c : children) Start(c, "app:bench");
    Measure("processes, one window each", n);
    StopAll(children);
  }
  return 0;
}
