// The per-user installer under Wine, in the order a user meets it: a silent
// install, the first start, an upgrade over the running program, an
// uninstall with it running, and one that also removes the settings.
// run.sh passes the two setups and the folders they were made from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "win_test_util.h"

using namespace tltest;

namespace {

const std::string kUninstKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TarvickLite";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TarvickLite.exe";
const std::string kHandoff = "Software\\VB and VBA Program Settings\\Tarvick\\tmp";

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string InstallDir() {
  char local[MAX_PATH];
  GetEnvironmentVariableA("LOCALAPPDATA", local, MAX_PATH);
  return std::string(local) + "\\Programs\\Tarvick Lite";
}

// Relative paths of the files under a folder, sorted.
std::vector<std::string> FilesUnder(const std::string& root) {
  std::vector<std::string> out;
  std::error_code missing;
  for (const auto& f : std::filesystem::recursive_directory_iterator(root, missing))
    if (f.is_regular_file()) out.push_back(f.path().lexically_relative(root).string());
  std::sort(out.begin(), out.end());
  return out;
}

// The installed folder holds the program folder byte for byte, plus `extra`.
// A prog.ini in the program folder is never shipped.
void ExpectInstalled(const std::string& dist, std::vector<std::string> extra) {
  std::vector<std::string> shipped = FilesUnder(dist);
  std::erase(shipped, "prog.ini");
  std::vector<std::string> want = shipped;
  for (auto& e : extra) want.push_back(e);
  std::sort(want.begin(), want.end());
  EXPECT_EQ(FilesUnder(InstallDir()), want);
  for (auto& f : shipped)
    EXPECT_TRUE(ReadFileBytes(dist + "\\" + f) == ReadFileBytes(InstallDir() + "\\" + f)) << f << " differs";
}

std::string Sz(const std::string& text) { return text + '\0'; }

void RunSetup(const std::string& setup, const std::string& args) {
  Process p;
  DWORD start = GetTickCount();
  ASSERT_TRUE(p.Start(setup, args));
  ASSERT_EQ(p.Wait(120000), 0u) << setup << " " << args;
  std::printf("%s %s: %lu ms\n", setup.substr(setup.rfind('\\') + 1).c_str(), args.c_str(),
              GetTickCount() - start);
}

// The uninstaller runs a copy of itself from outside the folder; do that
// here, as it does, so there is one process to wait for.
void RunUninstaller(const std::string& args) {
  std::string copy = MakeTempDir("uninst") + "\\Uninstall.exe";
  ASSERT_TRUE(CopyFileA((InstallDir() + "\\Uninstall.exe").c_str(), copy.c_str(), FALSE));
  RunSetup(copy, args + " _?=" + InstallDir());
}

}  // namespace

TEST(Installer, SetupAsksForNoElevation) {
  HMODULE m = LoadLibraryExA(Env("TL_SETUP_NEW").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(m);
  HRSRC r = FindResourceA(m, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
  ASSERT_TRUE(r);
  std::string manifest(static_cast<const char*>(LockResource(LoadResource(m, r))), SizeofResource(m, r));
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
  FreeLibrary(m);
}

TEST(Installer, InstallUpgradeOverTheRunningProgramAndUninstall) {
  const std::string dir = InstallDir(), exe = dir + "\\TarvickLite.exe";
  const std::string distOld = Env("TL_DIST_OLD"), distNew = Env("TL_DIST_NEW");
  RunSetup(Env("TL_SETUP_OLD"), "/S");
  ExpectInstalled(distOld, {"Uninstall.exe"});
  auto uninst = [](const char* name) { return ReadRaw(HKEY_CURRENT_USER, kUninstKey, name).bytes; };
  EXPECT_EQ(uninst("DisplayName"), Sz("Tarvick Lite"));
  EXPECT_EQ(uninst("DisplayVersion"), Sz("0.9.0"));
  EXPECT_EQ(uninst("Publisher"), Sz("Tarvick Lite team"));
  EXPECT_EQ(uninst("DisplayIcon"), Sz(exe));
  EXPECT_EQ(uninst("UninstallString"), Sz("\"" + dir + "\\Uninstall.exe\""));
  EXPECT_EQ(uninst("QuietUninstallString"), Sz("\"" + dir + "\\Uninstall.exe\" /S"));
  RawValue size = ReadRaw(HKEY_CURRENT_USER, kUninstKey, "EstimatedSize");
  EXPECT_EQ(size.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_GT(size.bytes.size() == 4 ? *reinterpret_cast<const DWORD*>(size.bytes.data()) : 0u, 100u);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, kRunKey, "Tarvick Lite").bytes, Sz("\"" + exe + "\""));
  EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kUninstKey, "DisplayName").exists) << "per user only";
  EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, "Tarvick Lite").exists);
  char programs[MAX_PATH];
  GetEnvironmentVariableA("APPDATA", programs, MAX_PATH);
  const std::string shortcut = std::string(programs) + "\\Microsoft\\Windows\\Start Menu\\Programs\\Tarvick Lite.lnk";
  EXPECT_NE(GetFileAttributesA(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);

  // The first start as a user starts it; the folder is the user's, so prog.ini is saved there.
  Process first;
  ASSERT_TRUE(first.Start(exe, "", dir));
  HWND box = WaitForMessageBox(first.pid(), "Tarvick Lite", 20000);
  ASSERT_TRUE(box);
  PressButton(box, "&No");
  ASSERT_TRUE(FindProcessWindow(first.pid(), "TarvickLiteExit", nullptr, 15000));
  char classes[64] = {};
  GetPrivateProfileStringA("Classes", "Class1", "", classes, sizeof classes, (dir + "\\prog.ini").c_str());
  EXPECT_STREQ(classes, "RUNDLL");
  WritePrivateProfileStringA("RunApp", "Number", "1", (dir + "\\prog.ini").c_str());
  WritePrivateProfileStringA("RunApp", "App1", "notepad", (dir + "\\prog.ini").c_str());
  DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("General"));

  // The upgrade ends the program the orderly way and starts the new one.
  RunSetup(Env("TL_SETUP_NEW"), "/S");
  EXPECT_EQ(first.Wait(10000), 0u) << "ended by its exit sequence";
  EXPECT_NE(Setting("General", "Left"), "<missing>") << "and it saved";
  ExpectInstalled(distNew, {"Uninstall.exe", "prog.ini"});
  EXPECT_EQ(uninst("DisplayVersion"), Sz("1.0.0"));
  // The program the installer started: another process, from the installed image.
  DWORD pid = 0;
  GetWindowThreadProcessId(FindProcessWindow(0, "TarvickLiteExit", nullptr, 15000), &pid);
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  char running[MAX_PATH] = {};
  DWORD n = MAX_PATH;
  if (h) QueryFullProcessImageNameA(h, 0, running, &n), CloseHandle(h);
  EXPECT_EQ(lstrcmpiA(running, exe.c_str()), 0) << running;
  EXPECT_NE(pid, first.pid());
  EXPECT_EQ(WaitForMessageBox(pid, "Tarvick Lite", 2000), nullptr) << "no first run after an upgrade";
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, kRunKey, "Tarvick Lite").bytes, Sz("\"" + exe + "\""));

  // Uninstall with the program running: ours goes, the user's settings stay.
  const std::string lanCon = ReadRaw(HKEY_CURRENT_USER, SettingsKey("Options"), "LANCon").bytes;
  const std::string ini = ReadFileBytes(dir + "\\prog.ini");
  RunUninstaller("/S");
  EXPECT_EQ(FindProcessWindow(0, "TarvickLiteExit", nullptr, 0), nullptr);
  EXPECT_EQ(FilesUnder(dir), std::vector<std::string>{"prog.ini"});
  EXPECT_EQ(ReadFileBytes(dir + "\\prog.ini"), ini);
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    EXPECT_FALSE(ReadRaw(root, kRunKey, "Tarvick Lite").exists);
    EXPECT_FALSE(ReadRaw(root, kAppPaths, "").exists);
  }
  HKEY k = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kHandoff.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kUninstKey.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
  EXPECT_EQ(GetFileAttributesA(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, SettingsKey("Options"), "LANCon").bytes, lanCon);
  EXPECT_EQ(lanCon, Sz("1"));

  // Installed again without start-up: the first start keeps that choice,
  // and a later setup starts from it.
  RunSetup(Env("TL_SETUP_NEW"), "/S /NOSTARTUP");
  EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, kRunKey, "Tarvick Lite").exists);
  Process again;
  ASSERT_TRUE(again.Start(exe, "", dir));
  box = WaitForMessageBox(again.pid(), "Tarvick Lite", 20000);
  ASSERT_TRUE(box);
  PressButton(box, "&No");
  ASSERT_TRUE(FindProcessWindow(again.pid(), "TarvickLiteExit", nullptr, 15000));
  RunSetup(Env("TL_SETUP_NEW"), "/S");
  EXPECT_TRUE(FindProcessWindow(0, "TarvickLiteExit", nullptr, 15000))
      << "started again, so the uninstaller ends it";
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    EXPECT_FALSE(ReadRaw(root, kRunKey, "Tarvick Lite").exists);
  EXPECT_EQ(Setting("Options", "RunAtStartUp"), "0");
  RunUninstaller("/S /REMOVESETTINGS");
  EXPECT_EQ(GetFileAttributesA(dir.c_str()), INVALID_FILE_ATTRIBUTES) << "the folder is gone";
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey("Options").c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
}
