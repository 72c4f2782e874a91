// The pop-up blocker's test bed: the built program installed as a LAN
// user's with the fixture browser as its one listed browser, both started.
// Shared by the end-to-end tests and the benchmark.
#pragma once
#include <windows.h>

#include <string>

#include "tests/fixtures/browser_commands.h"
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
  // A fixture window once built and shown: the fixture notes the tick in it
  // then (it builds a window hidden, as a browser does).
  HWND FixtureWindow(DWORD pid, const char* cls, const char* title, DWORD timeoutMs = 5000);
  std::string BlockCount();

  // The listed browser: the fixture program and its main window.
  std::string fixtureName = "pop_browser";
  const char* frameClass = "PopFixtureFrame";
  const char* frameTitle = "Fixture Browser";
  std::string fixtureArgs;
  int blockMode = -1;  // "BlockMode" stored when not -1

  std::string folder, fixture;
  Process program, browser;
  HWND browserMain = nullptr;
};

}  // namespace tltest
