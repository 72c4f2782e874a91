// Helpers of the hook library's tests: the library loaded into the test
// process, the hand-off values and the hook_host fixture.
#pragma once
#include <windows.h>

#include <string>

#include "hook_host_protocol.h"
#include "win_test_util.h"

namespace hooktest {

std::string HostPath();

// corvel.dll in this process (each test is a process of its own, so the
// library's state starts at zero in every test).
struct Corvel {
  HMODULE lib = nullptr;
  long(WINAPI* install)(long, long) = nullptr;
  bool Load();
  long Install() const { return install(0x1234, 1); }
  long Remove() const { return install(0x1234, 0); }
};

tltest::RawValue HandoffRaw(const char* name);
std::string Handoff(const char* name);  // text up to the NUL, "<missing>" when absent
void SetHandoff(const char* name, const std::string& text);
void ForgetHandoff();  // deletes the whole key
std::string Report(const char* name);  // a value under the fixture's report key

// Arguments that make hook_host watch the library with the handles that
// the installer published.
std::string ProbeArgs();

// The fixture program, watched by its probe with the hooks now installed.
class Host {
 public:
  bool Start();
  HWND main() const { return main_; }
  HWND Item(int id) const;  // a child of the main window or of the page
  LRESULT Send(UINT msg) const;
  // Waits until the probe has seen the mouse hook pass `message` (or
  // `orMessage`) on for `hwnd`, with code 0, since the last kCmdReport.
  bool WaitForMouse(HWND hwnd, UINT message, UINT orMessage = 0) const;

 private:
  tltest::Process process_;
  HWND main_ = nullptr;
};

}  // namespace hooktest
