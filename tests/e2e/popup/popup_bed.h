// The pop-up blocker's test bed: the built program installed as a LAN
// user's with the fixture browser as its one listed browser, both started.
// Shared by the end-to-end tests and the benchmark.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "win_test_util.h"

namespace tltest {

// Commands of the fixture browser (WM_COMMAND to its main window).
constexpr int kOpenByItself = 200;
constexpr int kOpenTrusted = 201;
constexpr int kOpenDialog = 202;
constexpr int kClickMenuItem = 203;
constexpr int kOpenThenHang = 204;  // lParam: how long the browser hangs, ms
constexpr int kStorm = 205;         // lParam: how many pop-ups, 25 ms apart

bool WaitUntil(const std::function<bool()>& done, DWORD ms);

class PopupBed {
 public:
  // Fresh settings and program folder; hidePop/popDisNotf of the fixture's entry.
  void Install(int hidePop, int popDisNotf, bool noticeSuppressed = true);
  // Starts the program, waits for the hooks, starts the browser. False on failure.
  bool StartBoth();
  HWND Screen();
  bool ScreenVisible();
  std::string BlockCount();

  std::string folder, fixture;
  Process program, browser;
  HWND browserMain = nullptr;
};

}  // namespace tltest
