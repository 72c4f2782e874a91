// Helpers of the hook library's tests: the library loaded into the test
// process, the hand-off values, the hook_host fixture and real mouse input.
#pragma once
#include <windows.h>

#include <string>

#include "hook_host_protocol.h"
#include "win_test_util.h"

namespace hooktest {

std::string CorvelPath();
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

extern const char kHandoffKey[];
tltest::RawValue HandoffRaw(const char* name);
std::string Handoff(const char* name);  // text up to the NUL, "<missing>" when absent
void SetHandoff(const char* name, const std::string& text);
void ForgetHandoff();  // deletes the whole key
bool HandoffKeyExists();
// Polls until the value reads `text` (or, with `text` empty, until it exists).
bool WaitForHandoff(const char* name, const std::string& text, DWORD ms = 5000);
bool WaitForHandoffChange(const char* name, const std::string& from, DWORD ms = 5000);

std::string Report(const char* name);  // a value under the fixture's report key
void ForgetReport();
RECT ParseRect(const std::string& text);

// Arguments that make hook_host watch the library with the handles that
// the installer published.
std::string ProbeArgs();

// The fixture program, watched by its probe with the hooks now installed.
class Host {
 public:
  bool Start(bool probe = true);
  HWND main() const { return main_; }
  HWND Item(int id) const;  // a child by control id, searched in the whole tree
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // Mouse calls passed on so far.
  long MouseCalls() const;
  // Waits until the probe has seen the mouse hook pass `message` on for
  // `hwnd`, in a call after the first `after`.
  bool WaitForMouse(UINT message, HWND hwnd, long after, DWORD ms = 5000) const;
  tltest::Process& process() { return process_; }

 private:
  tltest::Process process_;
  HWND main_ = nullptr;
};

POINT Center(HWND window);
POINT ClientPoint(HWND window, int x, int y);
void MoveTo(POINT screen);
void Press(POINT screen);
void Release(POINT screen);
void Click(POINT screen);

}  // namespace hooktest
