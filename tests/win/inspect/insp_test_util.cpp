#include "insp_test_util.h"

#include <psapi.h>

#include "app/ini_win.h"
#include "app/startup_win.h"
#include "inspect/process_query_win.h"
#include "inspect/window_query_win.h"

using namespace tltest;

namespace insptest {

namespace {
const char* const kProviderKey = "System\\CurrentControlSet\\Services\\insp_perf";
int gSpecialCount = 0;
}  // namespace

void AllowRefresh() { ModProgInfo::LastFullRefreshTick = GetTickCount() - 5000; }

void Reset() {
  static bool initialised = false;
  if (!initialised) {
    ModMain::InitProcessValues();
    initialised = true;
  }
  ModMain::Settings.WndDisplay = 0;
  ModMain::Settings.HideWnd = 1;
  for (int i = 1; i <= gSpecialCount; ++i)
    ModMain::Store().Delete(tl::kAppTitle, "Options", "SProg" + std::to_string(i));
  gSpecialCount = 0;
  ModMain::Settings.SProgCount = 0;
  modIni::ClassList = {"RUNDLL", "STUBWINDOW32"};
  ModProgInfo::Picture.Clear();
  ModWndOpr::WndHandles.clear();
  ModWndOpr::WndPids.clear();
  AllowRefresh();
}

std::string FixturePath(const std::string& file) {
  return BinaryDir() + "\\tests\\fixtures\\" + file;
}

std::string CopyOfWindowsFixture(const std::string& exeName) {
  std::string path = MakeTempDir("insp") + "\\" + exeName;
  CopyFileA(FixturePath("insp_windows.exe").c_str(), path.c_str(), FALSE);
  return path;
}

HWND WindowOf(const Process& p, const char* title) {
  return FindProcessWindow(p.pid(), nullptr, title, 10000);
}

HWND StartWindows(Process& p, const std::string& exe, const std::string& args, const char* title) {
  return p.Start(exe, args) ? WindowOf(p, title) : nullptr;
}

std::string Lower(std::string s) {
  CharLowerA(s.data());
  return s;
}

std::string NtName(const Process& p) {
  char path[MAX_PATH] = {};
  HMODULE first = nullptr;
  DWORD needed = 0;
  EnumProcessModules(p.handle(), &first, sizeof first, &needed);
  GetModuleFileNameExA(p.handle(), first, path, MAX_PATH);
  CharUpperA(path);
  return path;
}

void SetSpecialPrograms(const std::vector<std::string>& entries) {
  int i = 0;
  for (const std::string& e : entries)
    ModMain::Store().Write(tl::kAppTitle, "Options", "SProg" + std::to_string(++i), e);
  gSpecialCount = i;
  ModMain::Settings.SProgCount = static_cast<int16_t>(i);
}

PerfProvider::PerfProvider() {
  std::string dll = FixturePath("insp_perfprov\\insp_perfprov.dll");
  module_ = LoadLibraryA(dll.c_str());
  if (!module_) return;
  setLoad_ = reinterpret_cast<void(WINAPI*)(const char*)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "InspPerfSetLoad")));
  std::string perf = std::string(kProviderKey) + "\\Performance";
  WriteRaw(HKEY_LOCAL_MACHINE, perf, "Library", REG_SZ, dll + '\0');
  WriteRaw(HKEY_LOCAL_MACHINE, perf, "Open", REG_SZ, std::string("InspOpen\0", 9));
  WriteRaw(HKEY_LOCAL_MACHINE, perf, "Collect", REG_SZ, std::string("InspCollect\0", 12));
  WriteRaw(HKEY_LOCAL_MACHINE, perf, "Close", REG_SZ, std::string("InspClose\0", 10));
}

PerfProvider::~PerfProvider() {
  DeleteKeyTree(HKEY_LOCAL_MACHINE, kProviderKey);
  if (module_) FreeLibrary(module_);
}

}  // namespace insptest
