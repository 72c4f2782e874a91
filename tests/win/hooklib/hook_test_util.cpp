#include "hook_test_util.h"

#include <cstring>

using namespace tltest;

namespace hooktest {

static std::string CorvelPath() { return BinaryDir() + "\\hooklib\\corvel.dll"; }
std::string HostPath() { return BinaryDir() + "\\tests\\fixtures\\hook_host\\hook_host.exe"; }

bool Corvel::Load() {
  lib = LoadLibraryA(CorvelPath().c_str());
  if (!lib) return false;
  install = reinterpret_cast<long(WINAPI*)(long, long)>(
      reinterpret_cast<void*>(GetProcAddress(lib, "InstallMainHook")));
  return install != nullptr;
}

static const char kHandoffKey[] = "Software\\VB and VBA Program Settings\\Tarvick\\tmp";

RawValue HandoffRaw(const char* name) { return ReadRaw(HKEY_CURRENT_USER, kHandoffKey, name); }

std::string Handoff(const char* name) { return TextOf(HandoffRaw(name)); }

void SetHandoff(const char* name, const std::string& text) {
  WriteRaw(HKEY_CURRENT_USER, kHandoffKey, name, REG_SZ, text + '\0');
}

void ForgetHandoff() { DeleteKeyTree(HKEY_CURRENT_USER, kHandoffKey); }

std::string Report(const char* name) { return TextOf(ReadRaw(HKEY_CURRENT_USER, hookhost::kReportKey, name)); }

std::string ProbeArgs() {
  std::string args = '"' + CorvelPath() + '"';
  for (const char* name : {"hHook_shell", "hHook_msg", "hHook_mouse"}) {
    RawValue v = HandoffRaw(name);
    DWORD bits = 0;
    if (v.bytes.size() == 4) std::memcpy(&bits, v.bytes.data(), 4);
    args += ' ' + std::to_string(static_cast<LONG>(bits));
  }
  return args;
}

bool Host::Start() {
  DeleteKeyTree(HKEY_CURRENT_USER, hookhost::kReportKey);
  if (!process_.Start(HostPath(), ProbeArgs())) return false;
  main_ = FindProcessWindow(process_.pid(), hookhost::kMainClass, nullptr, 15000);
  return main_ && WaitUntil([] { return Report("Ready") == "1"; }, 15000) &&
         WaitForInputIdle(process_.handle(), 10000) == 0;
}

HWND Host::Item(int id) const {
  HWND direct = GetDlgItem(main_, id);
  return direct ? direct : GetDlgItem(GetDlgItem(main_, hookhost::kPage), id);
}

LRESULT Host::Send(UINT msg) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(main_, msg, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
  return static_cast<LRESULT>(result);
}

bool Host::WaitForMouse(HWND hwnd, UINT message, UINT orMessage) const {
  std::string seen;
  auto saw = [&](UINT m) {
    return seen.find("[0 " + std::to_string(m) + " " + std::to_string(reinterpret_cast<LONG_PTR>(hwnd)) + "]") !=
           std::string::npos;
  };
  return WaitUntil([&] {
    Send(hookhost::kCmdReport);
    seen += Report("MouseHistory");
    return saw(message) || (orMessage && saw(orMessage));
  });
}

}  // namespace hooktest
