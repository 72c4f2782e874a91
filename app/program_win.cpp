#include "app/program_win.h"

namespace ModMain {

namespace {

std::string DirectoryOf(UINT(WINAPI* get)(LPSTR, UINT), UINT size) {
  std::string buf(size, '\0');
  UINT n = get(buf.data(), size);
  buf.resize(n < size ? n : 0);
  return buf;
}

// The folders and the executable's name, from the running module.
void InitPaths(Program& p) {
  char path[MAX_PATH * 4] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string full(path, n);
  size_t slash = full.find_last_of('\\');
  p.ProgramFolder = slash == std::string::npos ? "." : full.substr(0, slash);
  std::string file = slash == std::string::npos ? full : full.substr(slash + 1);
  size_t dot = file.find_last_of('.');
  p.ExeName = dot == std::string::npos ? file : file.substr(0, dot);
  p.OwnExePath = p.ProgramFolder + "\\" + p.ExeName + ".exe";
  p.IniPath = p.ProgramFolder + "\\prog.ini";
}

void InitVersion(Program& p) {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&vi)) return;
#pragma GCC diagnostic pop
  p.IsNT = vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
  p.IsNT4 = p.IsNT && vi.dwMajorVersion == 4;
}

}  // namespace

tl::SettingsEnv& Program::Env() {
  if (!env_) {
    tl::SystemDirs dirs{ProgramFolder, DirectoryOf(GetWindowsDirectoryA, 200),
                        DirectoryOf(GetSystemDirectoryA, 255)};
    env_.emplace(tl::SettingsEnv{Store, dirs, [](std::string_view message) {
                                   ShowMessage(nullptr, std::string(message), MB_OK | MB_ICONERROR);
                                 }});
  }
  return *env_;
}

Program& Prog() {
  static Program program;
  return program;
}

void InitProcessValues() {
  Program& p = Prog();
  InitPaths(p);
  InitVersion(p);
  p.InterfaceColours[0] = RGB(233, 233, 233);
  p.InterfaceColours[1] = RGB(233, 233, 233);
  p.InterfaceColours[2] = RGB(176, 184, 207);
  p.DialUpStartPending = true;
  p.LanStartPending = true;
  p.PriorityClasses[0] = IDLE_PRIORITY_CLASS;
  p.PriorityClasses[1] = NORMAL_PRIORITY_CLASS;
  p.PriorityClasses[2] = HIGH_PRIORITY_CLASS;
  p.PriorityClasses[3] = REALTIME_PRIORITY_CLASS;
  p.OwnProcessId = GetCurrentProcessId();
  p.ProcessColumnTable = tl::ProcessColumns(p.IsNT);
  p.WindowColumnTable = tl::WindowColumns();
}

void EnablePrivilege(const char* name) {
  tl::KernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
    return;
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueA(nullptr, name, &tp.Privileges[0].Luid)) {
    TOKEN_PRIVILEGES prev{};
    DWORD len = 0;
    AdjustTokenPrivileges(token.get(), FALSE, &tp, sizeof prev, &prev, &len);
  }
}

int ShowMessage(HWND owner, const std::string& text, UINT style) {
  return MessageBoxA(owner, text.c_str(), tl::kAppTitle, style);
}

void LoadOptions() { tl::LoadOptions(Prog().Env(), Prog().Settings); }
void SaveOptions() { tl::SaveOptions(Prog().Env(), Prog().Settings); }

}  // namespace ModMain
