// Shared steps of the inspection tests: the program's process-wide values in
// this test process, fixture programs with known windows, special programs.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <string>
#include <vector>

#include "app/ini_win.h"
#include "app/program_win.h"
#include "inspect/process_query_win.h"
#include "inspect/window_query_win.h"
#include "win_test_util.h"

namespace insptest {

inline void AllowRefresh() { ModProgInfo::LastFullRefreshTick = GetTickCount() - 5000; }

// Special-program entries "path,action;state" (any beyond the count are not read).
inline void SetSpecialPrograms(const std::vector<std::string>& entries) {
  int16_t n = 0;
  for (const std::string& e : entries)
    ModMain::Prog().Store.Write(tl::kAppTitle, "Options", "SProg" + std::to_string(++n), e);
  ModMain::Prog().Settings.SProgCount = n;
}

// The NT family, list settings WndDisplay 0 and HideWnd 1, no special
// programs, the default class list, empty lists, and a refresh guard that
// lets one through.
inline void Reset() {
  static bool initialised = (ModMain::InitProcessValues(), true);
  (void)initialised;
  ModMain::Prog().IsNT = true;
  ModMain::Prog().Settings.WndDisplay = 0;
  ModMain::Prog().Settings.HideWnd = 1;
  SetSpecialPrograms({});
  modIni::ClassList = {"RUNDLL", "STUBWINDOW32"};
  ModProgInfo::Picture.Clear();
  ModWndOpr::WndHandles.clear();
  ModWndOpr::WndPids.clear();
  AllowRefresh();
}

class InspTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
};

inline std::string FixturePath(const std::string& file) {
  return tltest::BinaryDir() + "\\tests\\fixtures\\" + file;
}

// A copy of insp_windows.exe under another name, in a new folder.
inline std::string CopyOfWindowsFixture(const std::string& exeName) {
  std::string path = tltest::MakeTempDir("insp") + "\\" + exeName;
  CopyFileA(FixturePath("insp_windows.exe").c_str(), path.c_str(), FALSE);
  return path;
}

inline HWND WindowOf(const tltest::Process& p, const char* title) {
  return tltest::FindProcessWindow(p.pid(), nullptr, title, 10000);
}

// Starts insp_windows (or a copy) and waits for its window titled `title`.
inline HWND StartWindows(tltest::Process& p, const std::string& exe, const std::string& args,
                         const char* title) {
  return p.Start(exe, args) ? WindowOf(p, title) : nullptr;
}

inline std::string Lower(std::string s) {
  CharLowerA(s.data());
  return s;
}

// The program's name as the NT enumeration gives it: its module path in upper case.
inline std::string NtName(const tltest::Process& p) {
  char path[MAX_PATH] = {};
  HMODULE first = nullptr;
  DWORD needed = 0;
  EnumProcessModules(p.handle(), &first, sizeof first, &needed);
  GetModuleFileNameExA(p.handle(), first, path, MAX_PATH);
  CharUpperA(path);
  return path;
}

}  // namespace insptest
