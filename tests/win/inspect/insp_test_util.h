// Shared steps of the inspection tests: the program's process-wide values
// in this test process, fixture programs with known windows, special
// programs, and the test performance-data provider.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "win_test_util.h"

namespace insptest {

// List settings WndDisplay 0 and HideWnd 1, no special programs, the
// default class list, empty lists, and a refresh guard that lets one through.
void Reset();
void AllowRefresh();

std::string FixturePath(const std::string& file);  // under the built fixtures
// A copy of insp_windows.exe under another name, in a new folder.
std::string CopyOfWindowsFixture(const std::string& exeName);
// Starts insp_windows (or a copy) and waits for its window titled `title`.
HWND StartWindows(tltest::Process& p, const std::string& exe, const std::string& args,
                  const char* title);
HWND WindowOf(const tltest::Process& p, const char* title);

std::string Lower(std::string s);
// The program's name as the NT enumeration gives it: its module path in upper case.
std::string NtName(const tltest::Process& p);

// Special-program entries "path,action;state"; Reset removes them.
void SetSpecialPrograms(const std::vector<std::string>& entries);

// The test provider, registered and kept loaded for the object's lifetime.
class PerfProvider {
 public:
  PerfProvider();
  ~PerfProvider();
  bool ok() const { return setLoad_ != nullptr; }
  // "name=percent;...": each instance's counter grows at that share of one processor.
  void SetLoad(const std::string& spec) { setLoad_(spec.c_str()); }

 private:
  HMODULE module_ = nullptr;
  void(WINAPI* setLoad_)(const char*) = nullptr;
};

}  // namespace insptest
