// The pop-up blocker's test bed: the built program installed as a LAN
// user's with the fixture browser as its one listed browser, both started.
// Shared by the end-to-end tests and the benchmark.
#pragma once
#include <windows.h>

#include <string>

#include "tests/fixtures/pop_browser_protocol.h"
#include "win_test_util.h"

namespace tltest {

using namespace popbrowser;

class PopupBed {
 public:
  // Fresh settings and program folder; hidePop/popDisNotf of the fixture's entry.
  // The program folder is named after stem; the browser is copied into it.
  void Install(int hidePop, int popDisNotf, bool noticeSuppressed = true,
               const std::string& stem = "e2e");
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
