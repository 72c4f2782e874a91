// The fixture browser opens 20 pop-ups one after another; for each, the time
// from its creation until the blocker hid it. The program is left running
// for bench/popup/popups, which reads its CPU time from the Linux side.
// usage: bench_popups [count] [chromium | chromium-refusing]  (the fixture:
// the Internet-Explorer-style one by default; refusing keeps the hook
// library out of it, so only the input watcher sees its windows).
// TL_BENCH_PROGRAM, when set, names another TarvickLite.exe to measure (an
// earlier build, for a before-and-after figure).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "popup_bed.h"

using namespace tltest;

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 20;
  if (count <= 0) count = 20;
  PopupBed bed;
  std::string kind = argc > 2 ? argv[2] : "";
  if (kind.rfind("chromium", 0) == 0) {
    bed.fixtureName = "chromium_browser";
    bed.frameClass = "Chrome_WidgetWin_1";
    bed.frameTitle = "Fixture Chromium";
    if (kind == "chromium-refusing") bed.fixtureArgs = "--refuse-hooks";
  }
  bed.Install(1, 1, true);  // the first-use notice is no part of the measure
  if (const char* other = std::getenv("TL_BENCH_PROGRAM"))
    CopyFileA(other, (bed.folder + "\\TarvickLite.exe").c_str(), FALSE);
  if (!bed.StartBoth()) {
    std::fprintf(stderr, "could not start the program and the fixture browser\n");
    return 1;
  }
  std::printf("READY %lu\n", bed.program.pid());
  std::fflush(stdout);
  Sleep(3000);  // the script takes its first CPU reading meanwhile
  std::vector<double> visibleMs;
  DWORD start = GetTickCount();
  for (int i = 0; i < count; ++i) {
    PostMessageA(bed.browserMain, WM_COMMAND, kOpenByItself, 0);
    HWND pop = nullptr;
    WaitUntil([&] { return (pop = FindWindowA(bed.frameClass, "Popup Ad")) != nullptr; }, 5000);
    if (!pop) continue;
    // The fixture keeps the creation tick with the window; watch it closely.
    DWORD created = 0;
    WaitUntil([&] { return (created = static_cast<DWORD>(GetWindowLongPtrA(pop, GWLP_USERDATA))) != 0; }, 1000);
    while (IsWindow(pop) && IsWindowVisible(pop) && GetTickCount() - created < 5000) Sleep(0);
    visibleMs.push_back(static_cast<double>(GetTickCount() - created));
    // Title it apart so the next pop-up is found, not this one.
    if (pop) SetWindowTextA(pop, "Popup Ad (seen)");
    Sleep(400);
  }
  double runSeconds = (GetTickCount() - start) / 1000.0;
  std::vector<double> sorted = visibleMs;
  if (sorted.empty()) return 1;
  std::sort(sorted.begin(), sorted.end());
  auto pct = [&](double p) { return sorted[std::min(sorted.size() - 1, size_t(p * (sorted.size() - 1) + 0.5))]; };
  std::printf("%d pop-ups over %.1f s; visible before hidden: median %.0f ms, 95th percentile %.0f ms, max %.0f ms\n",
              count, runSeconds, pct(0.5), pct(0.95), sorted.back());
  std::printf("blocked count now %s\n", bed.BlockCount().c_str());
  std::printf("DONE %d\n", count);
  std::fflush(stdout);
  Sleep(15000);  // the last announcement ends; the script reads the CPU time meanwhile
  return 0;
}
