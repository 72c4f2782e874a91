#include "hook_test_util.h"

#include <cstdio>
#include <cstdlib>

using namespace tltest;

namespace hooktest {

std::string CorvelPath() { return BinaryDir() + "\\hooklib\\corvel.dll"; }
std::string HostPath() { return BinaryDir() + "\\tests\\fixtures\\hook_host\\hook_host.exe"; }

bool Corvel::Load() {
  lib = LoadLibraryA(CorvelPath().c_str());
  if (!lib) return false;
  install = reinterpret_cast<long(WINAPI*)(long, long)>(
      reinterpret_cast<void*>(GetProcAddress(lib, "InstallMainHook")));
  return install != nullptr;
}

const char kHandoffKey[] = "Software\\VB and VBA Program Settings\\Tarvick\\tmp";

RawValue HandoffRaw(const char* name) { return ReadRaw(HKEY_CURRENT_USER, kHandoffKey, name); }

std::string Handoff(const char* name) {
  RawValue v = HandoffRaw(name);
  return v.exists ? std::string(v.bytes.c_str()) : "<missing>";
}

void SetHandoff(const char* name, const std::string& text) {
  WriteRaw(HKEY_CURRENT_USER, kHandoffKey, name, REG_SZ, text + '\0');
}

void ForgetHandoff() { DeleteKeyTree(HKEY_CURRENT_USER, kHandoffKey); }

bool HandoffKeyExists() {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kHandoffKey, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

namespace {
template <class Pred>
bool Poll(Pred done, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(20);
  }
}
}  // namespace

bool WaitForHandoff(const char* name, const std::string& text, DWORD ms) {
  return Poll([&] {
    std::string v = Handoff(name);
    return text.empty() ? v != "<missing>" : v == text;
  }, ms);
}

bool WaitForHandoffChange(const char* name, const std::string& from, DWORD ms) {
  return Poll([&] { return Handoff(name) != from; }, ms);
}

std::string Report(const char* name) {
  RawValue v = ReadRaw(HKEY_CURRENT_USER, hookhost::kReportKey, name);
  return v.exists ? std::string(v.bytes.c_str()) : "<missing>";
}

void ForgetReport() { DeleteKeyTree(HKEY_CURRENT_USER, hookhost::kReportKey); }

RECT ParseRect(const std::string& text) {
  RECT r{};
  std::sscanf(text.c_str(), "%ld %ld %ld %ld", &r.left, &r.top, &r.right, &r.bottom);
  return r;
}

std::string ProbeArgs() {
  std::string args = "--probe \"";
  args += CorvelPath();
  args += '"';
  for (const char* name : {"hHook_shell", "hHook_msg", "hHook_mouse"}) {
    RawValue v = HandoffRaw(name);
    DWORD bits = 0;
    if (v.bytes.size() == 4) memcpy(&bits, v.bytes.data(), 4);
    args += ' ';
    args += std::to_string(static_cast<LONG>(bits));
  }
  return args;
}

bool Host::Start(bool probe) {
  ForgetReport();
  std::string args = probe ? ProbeArgs() : "";
  if (!process_.Start(HostPath(), args)) return false;
  main_ = FindProcessWindow(process_.pid(), hookhost::kMainClass, nullptr, 15000);
  return main_ && Poll([] { return Report("Ready") == "1"; }, 15000) &&
         WaitForInputIdle(process_.handle(), 10000) == 0;
}

namespace {
struct FindId {
  int id;
  HWND found;
};
BOOL CALLBACK FindIdProc(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindId*>(lp);
  if (GetDlgCtrlID(h) != f->id) return TRUE;
  f->found = h;
  return FALSE;
}
}  // namespace

HWND Host::Item(int id) const {
  FindId f{id, nullptr};
  EnumChildWindows(main_, FindIdProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

LRESULT Host::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(main_, msg, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
  return static_cast<LRESULT>(result);
}

long Host::MouseCalls() const {
  Send(hookhost::kCmdReport);
  return std::atol(Report("MouseCalls").c_str());
}

bool Host::WaitForMouse(UINT message, HWND hwnd, long after, DWORD ms) const {
  return Poll([&] {
    Send(hookhost::kCmdReport);
    std::string history = Report("MouseHistory");
    long n;
    int code;
    unsigned msg, hit;
    long long window;
    for (size_t at = 0; at < history.size(); at = history.find(';', at) + 1) {
      if (std::sscanf(history.c_str() + at, "%ld %d %u %lld %u", &n, &code, &msg, &window, &hit) == 5 &&
          n > after && code == 0 && msg == message &&
          window == static_cast<long long>(reinterpret_cast<LONG_PTR>(hwnd)))
        return true;
      if (history.find(';', at) == std::string::npos) break;
    }
    return false;
  }, ms);
}

POINT Center(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT ClientPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

namespace {
void SendMouse(POINT screen, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &in, sizeof in);
  Sleep(30);
}
}  // namespace

void MoveTo(POINT screen) { SendMouse(screen, 0); }
void Press(POINT screen) { SendMouse(screen, MOUSEEVENTF_LEFTDOWN); }
void Release(POINT screen) { SendMouse(screen, MOUSEEVENTF_LEFTUP); }
void Click(POINT screen) {
  MoveTo(screen);
  Press(screen);
  Release(screen);
}

}  // namespace hooktest
