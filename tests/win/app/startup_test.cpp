// The built program started as a user starts it: first and later starts, a
// second instance, bad settings, and the end of the Windows session.
#include <gtest/gtest.h>

#include <functional>

#include "win_test_util.h"

using namespace tltest;

namespace {

const char* const kCaption = "Tarvick Lite";
const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TarvickLite.exe";

void ForgetInstallation() {
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick Lite");
  DeleteKeyTree(HKEY_LOCAL_MACHINE, kAppPaths);
  DeleteKeyTree(HKEY_CURRENT_USER, kAppPaths);
}

// Starts the program and answers the first-run question (its box is
// checked in-process) with No.
void FirstStart(Process& p, const std::string& folder) {
  ASSERT_TRUE(p.Start(folder + "\\TarvickLite.exe", "", folder));
  HWND box = WaitForMessageBox(p.pid(), kCaption, 20000);
  ASSERT_TRUE(box) << "no connection question";
  ASSERT_TRUE(PressButton(box, "&No"));
}

// The session-end request, as Windows sends it to the hidden countdown form.
void EndSession(Process& p) {
  HWND cancel = FindProcessWindow(p.pid(), "TarvickLiteCancelEvent", nullptr, 10000);
  ASSERT_TRUE(cancel);
  DWORD_PTR r;
  SendMessageTimeoutA(cancel, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &r);
}

// True once the main loop runs (the settings are loaded by then).
bool WaitUntilIdle(Process& p) {
  return FindProcessWindow(p.pid(), "TarvickLiteCancelEvent", nullptr, 15000) &&
         WaitForInputIdle(p.handle(), 10000) == 0;
}

}  // namespace

TEST(StartUp, FirstRunRegistersResetsAndAsksOnceThenSessionEndSaves) {
  ForgetInstallation();
  std::string folder = MakeProgramFolder("first");
  {
    Process p;
    FirstStart(p, folder);
    ASSERT_TRUE(WaitUntilIdle(p));
    Sleep(500);
    RawValue path = ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "");
    EXPECT_EQ(path.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(path.bytes, folder + "\\TarvickLite.exe" + '\0');
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "Path").bytes, folder + '\0');
    // The built-in special program lies in the system's own folder, lower-cased.
    char sysdir[MAX_PATH];
    GetSystemDirectoryA(sysdir, MAX_PATH);
    std::string sprog2 = std::string(sysdir) + "\\kernel32.dll,0;1";
    CharLowerA(sprog2.data());
    EXPECT_EQ(Setting("Options", "SProg2"), sprog2);
    char ini[64] = {};
    GetPrivateProfileStringA("Classes", "Class2", "", ini, sizeof ini, (folder + "\\prog.ini").c_str());
    EXPECT_STREQ(ini, "STUBWINDOW32");
    HKEY tmpcpu = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey("tmpcpu").c_str(), 0, KEY_READ, &tmpcpu),
              ERROR_SUCCESS);
    if (tmpcpu) RegCloseKey(tmpcpu);

    EndSession(p);
    EXPECT_EQ(p.Wait(10000), 0u) << "the session end must end the program with code 0";
    EXPECT_EQ(Setting("General", "AlwaysOnTop"), "True");
    EXPECT_NE(Setting("General", "Left"), "<missing>");
  }
  // The second start asks nothing.
  Process again;
  ASSERT_TRUE(again.Start(folder + "\\TarvickLite.exe", "", folder));
  ASSERT_TRUE(WaitUntilIdle(again));
  EXPECT_EQ(WaitForMessageBox(again.pid(), kCaption, 3000), nullptr);
  EndSession(again);
  EXPECT_EQ(again.Wait(10000), 0u);
}

TEST(StartUp, SecondInstanceShowsItsMessageAndLeavesTheFirstRunning) {
  ForgetInstallation();
  std::string folder = MakeProgramFolder("twice");
  Process first;
  FirstStart(first, folder);
  ASSERT_TRUE(WaitUntilIdle(first));

  Process second;
  ASSERT_TRUE(second.Start(folder + "\\TarvickLite.exe", "", folder));
  HWND box = WaitForMessageBox(second.pid(), kCaption, 20000);
  ASSERT_TRUE(box);
  MessageBoxInfo info = ReadMessageBox(box);
  EXPECT_EQ(info.text, "Tarvick Lite is already running, double-click Tarvick tray icon to launch it");
  EXPECT_EQ(info.buttons, std::vector<std::string>{"OK"});
  EXPECT_NE(info.icon, nullptr);
  PressButton(box, "OK");
  EXPECT_EQ(second.Wait(10000), 0u);
  EXPECT_TRUE(first.Running());
  EndSession(first);
  EXPECT_EQ(first.Wait(10000), 0u);
}

namespace {

// A program folder whose first run is done.
std::string InstalledFolder(const char* stem) {
  ForgetInstallation();
  std::string folder = MakeProgramFolder(stem);
  Process p;
  FirstStart(p, folder);
  WaitUntilIdle(p);
  EndSession(p);
  p.Wait(10000);
  return folder;
}

void StartThroughError(Process& p, const std::string& folder, const char* error) {
  ASSERT_TRUE(p.Start(folder + "\\TarvickLite.exe", "", folder));
  HWND box = WaitForMessageBox(p.pid(), kCaption, 20000);
  ASSERT_TRUE(box);
  MessageBoxInfo info = ReadMessageBox(box);
  EXPECT_EQ(info.text, error);
  EXPECT_EQ(info.buttons, std::vector<std::string>{"OK"});
  PressButton(box, "OK");
  ASSERT_TRUE(WaitUntilIdle(p));
  EXPECT_EQ(WaitForMessageBox(p.pid(), kCaption, 1500), nullptr) << "one message only";
}

}  // namespace

TEST(StartUp, MalformedSettingShowsTheLoadErrorAndStoresResetValues) {
  std::string folder = InstalledFolder("bad");
  WriteRaw(HKEY_CURRENT_USER, SettingsKey("Options"), "RunAtStartUp", REG_SZ, std::string("on\0", 3));
  WriteRaw(HKEY_CURRENT_USER, SettingsKey("Options"), "WndList", REG_SZ, std::string("0000000000\0", 11));
  Process p;
  StartThroughError(p, folder, "Error loading settings from registry, default settings will be loaded");
  EXPECT_EQ(Setting("Options", "RunAtStartUp"), "1");
  EXPECT_EQ(Setting("Options", "WndList"), "1111111111");
  // A LAN user keeps the connection choice: its own value reads.
  EXPECT_EQ(Setting("Options", "LANCon"), "1");
  EndSession(p);
  EXPECT_EQ(p.Wait(10000), 0u);
}

TEST(StartUp, BadGeneralValuesAreRecoveredOnceAndTheNextStartIsClean) {
  std::string folder = InstalledFolder("general");
  WriteRaw(HKEY_CURRENT_USER, SettingsKey("General"), "UpdateSpeed", REG_DWORD, std::string("\x02\0\0\0", 4));
  WriteRaw(HKEY_CURRENT_USER, SettingsKey("MoreTools"), "BlockPopUps", REG_SZ, std::string(5000, 'z') + '\0');
  {
    Process p;
    StartThroughError(p, folder, "Error loading general settings from registry, default settings will be loaded");
    EXPECT_EQ(Setting("General", "UpdateSpeed"), "0");
    EXPECT_EQ(Setting("General", "Toolbar"), "True");
    EXPECT_EQ(Setting("MoreTools", "BlockPopUps"), "True");
    EndSession(p);
    EXPECT_EQ(p.Wait(10000), 0u);
  }
  // A number stored as a number is read, not an error.
  WriteRaw(HKEY_CURRENT_USER, SettingsKey("General"), "UpdateSpeed", REG_DWORD, std::string("\x02\0\0\0", 4));
  Process again;
  ASSERT_TRUE(again.Start(folder + "\\TarvickLite.exe", "", folder));
  ASSERT_TRUE(WaitUntilIdle(again));
  EXPECT_EQ(WaitForMessageBox(again.pid(), kCaption, 1500), nullptr);
  EndSession(again);
  EXPECT_EQ(again.Wait(10000), 0u);
  EXPECT_EQ(Setting("General", "UpdateSpeed"), "2");
}

// A first run ended early (a crash, a kill, a log-off while the question
// waits) is run again in full at the next start: the question, the import.
TEST(StartUp, InterruptedFirstRunIsRunAgainInFull) {
  const std::string fixture = BinaryDir() + "\\tests\\fixtures\\pop_browser.exe";
  const std::string browserPaths =
      "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\pop_browser.exe";
  WriteRaw(HKEY_LOCAL_MACHINE, browserPaths, "", REG_SZ, fixture + '\0');
  struct Moment {
    const char* name;
    std::function<bool(DWORD pid)> reached;
  };
  const Moment moments[] = {
      {"options reset", [](DWORD) { return Setting("Options", "SProgCount") == "2"; }},
      {"browsers imported", [](DWORD) { return Setting("PopUp", "BrowsersLst_Total") == "1"; }},
      {"question waiting", [](DWORD pid) { return WaitForMessageBox(pid, kCaption, 0) != nullptr; }},
  };
  for (const Moment& m : moments) {
    ForgetInstallation();
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick Lite");
    std::string folder = MakeProgramFolder("cut");
    WriteFixturePopDat(folder);
    {
      Process cut;
      ASSERT_TRUE(cut.Start(folder + "\\TarvickLite.exe", "", folder));
      DWORD start = GetTickCount();
      while (!m.reached(cut.pid()) && GetTickCount() - start < 20000) Sleep(5);
      cut.Kill();
    }
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "").exists) << m.name;
    Process p;
    FirstStart(p, folder);
    // The marker comes last, once every step is done.
    DWORD start = GetTickCount();
    while (!ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "").exists && GetTickCount() - start < 10000) Sleep(20);
    EXPECT_TRUE(ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "").exists) << m.name;
    EXPECT_EQ(Setting("Options", "LANCon"), "1") << m.name;
    EXPECT_EQ(Setting("PopUp", "BrowsersLst_Total"), "1") << m.name << ": imported once";
    EndSession(p);
    EXPECT_EQ(p.Wait(10000), 0u);
  }
  DeleteKeyTree(HKEY_LOCAL_MACHINE, browserPaths);
}

namespace {

// What the installer does to end the program: post the registered message.
void RequestExit(Process& p) {
  HWND w = FindProcessWindow(p.pid(), "TarvickLiteExit", nullptr, 10000);
  ASSERT_TRUE(w);
  PostMessageA(w, RegisterWindowMessageA("TarvickLite.ExitRequest"), 0, 0);
}

}  // namespace

// Also while the first-run question is still open, as when an upgrade
// finds the program waiting for its user.
TEST(StartUp, ExitRequestRunsTheExitSequenceFromTheLoopAndFromAModalBox) {
  std::string folder = InstalledFolder("exitreq");
  DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("General"));
  {
    Process p;
    ASSERT_TRUE(p.Start(folder + "\\TarvickLite.exe", "", folder));
    ASSERT_TRUE(WaitUntilIdle(p));
    RequestExit(p);
    EXPECT_EQ(p.Wait(10000), 0u);
    EXPECT_NE(Setting("General", "Left"), "<missing>") << "the exit sequence saves";
  }
  ForgetInstallation();
  Process q;
  ASSERT_TRUE(q.Start(folder + "\\TarvickLite.exe", "", folder));
  ASSERT_TRUE(WaitForMessageBox(q.pid(), kCaption, 20000));
  RequestExit(q);
  EXPECT_EQ(q.Wait(10000), 0u);
  EXPECT_NE(Setting("General", "Left"), "<missing>");
}
