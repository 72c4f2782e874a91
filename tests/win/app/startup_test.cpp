// The built program started as a user starts it: first and later starts, a
// second instance, bad settings, and the end of the Windows session.
#include <gtest/gtest.h>

#include "win_test_util.h"

using namespace tltest;

namespace {

const char* const kCaption = "Tarvick Lite";
const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TarvickLite.exe";

// The session-end request, as Windows sends it to the hidden countdown form;
// the program must end by itself with code 0.
void EndSession(Process& p) {
  HWND cancel = FindProcessWindow(p.pid(), "TarvickLiteCancelEvent", nullptr, 10000);
  ASSERT_TRUE(cancel);
  DWORD_PTR r;
  SendMessageTimeoutA(cancel, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &r);
  EXPECT_EQ(p.Wait(10000), 0u) << "the session end must end the program with code 0";
}

// True once the main loop runs (the settings are loaded by then).
bool WaitUntilIdle(Process& p) {
  return FindProcessWindow(p.pid(), "TarvickLiteCancelEvent", nullptr, 15000) &&
         WaitForInputIdle(p.handle(), 10000) == 0;
}

}  // namespace

// A first run ended early (a crash, a kill, a log-off while the question
// waits) is run again in full at the next start. Cut while the question
// waits, the last step before the mark, so every earlier step has run once
// already; the run after it is checked as any first run. (The class list
// and a later start without the question: the installer's first start and
// upgrade.)
TEST(StartUp, FirstRunCutShortIsRunAgainInFullAndBadGeneralValuesLaterAreRecovered) {
  const std::string browserPaths =
      "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\pop_browser.exe";
  WriteRaw(HKEY_LOCAL_MACHINE, browserPaths, "", REG_SZ,
           BinaryDir() + "\\tests\\fixtures\\pop_browser.exe" + '\0');
  ForgetInstallation();
  std::string folder = MakeProgramFolder("first");
  WriteFixturePopDat(folder);
  {
    Process cut;
    ASSERT_TRUE(cut.Start(folder + "\\TarvickLite.exe", "", folder));
    ASSERT_TRUE(WaitForMessageBox(cut.pid(), kCaption, 20000));
    EXPECT_EQ(Setting("PopUp", "BrowsersLst_Total"), "1") << "imported before the question";
  }
  EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "").exists);
  Process p;
  ASSERT_TRUE(p.Start(folder + "\\TarvickLite.exe", "", folder));
  // The question (its box is checked in-process) answered No.
  ASSERT_TRUE(PressButton(WaitForMessageBox(p.pid(), kCaption, 20000), "&No"));
  ASSERT_TRUE(WaitUntilIdle(p));
  // The marker comes last, once every step is done.
  ASSERT_TRUE(WaitUntil([&] { return ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "").exists; }, 10000));
  RawValue path = ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "");
  EXPECT_EQ(path.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(path.bytes, folder + "\\TarvickLite.exe" + '\0');
  EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kAppPaths, "Path").bytes, folder + '\0');
  EXPECT_EQ(Setting("Options", "LANCon"), "1");
  EXPECT_EQ(Setting("PopUp", "BrowsersLst_Total"), "1") << "imported once";
  // The built-in special program lies in the system's own folder, lower-cased.
  char sysdir[MAX_PATH];
  GetSystemDirectoryA(sysdir, MAX_PATH);
  std::string sprog2 = std::string(sysdir) + "\\kernel32.dll,0;1";
  CharLowerA(sprog2.data());
  EXPECT_EQ(Setting("Options", "SProg2"), sprog2);
  HKEY tmpcpu = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey("tmpcpu").c_str(), 0, KEY_READ, &tmpcpu),
            ERROR_SUCCESS);
  if (tmpcpu) RegCloseKey(tmpcpu);
  EndSession(p);
  EXPECT_NE(Setting("General", "Left"), "<missing>");

  // The next start finds bad general values: their error once, then the
  // values of the core's recovery stored as text. (The options' load error
  // is proved in-process, where its icon shows; a number stored as a number,
  // by the store's own test.)
  WriteRaw(HKEY_CURRENT_USER, SettingsKey("General"), "UpdateSpeed", REG_DWORD, std::string("\x02\0\0\0", 4));
  WriteRaw(HKEY_CURRENT_USER, SettingsKey("MoreTools"), "BlockPopUps", REG_SZ, std::string(5000, 'z') + '\0');
  Process again;
  ASSERT_TRUE(again.Start(folder + "\\TarvickLite.exe", "", folder));
  HWND box = WaitForMessageBox(again.pid(), kCaption, 20000);
  ASSERT_TRUE(box);
  MessageBoxInfo info = ReadMessageBox(box);
  EXPECT_EQ(info.text, "Error loading general settings from registry, default settings will be loaded");
  EXPECT_EQ(info.buttons, std::vector<std::string>{"OK"});
  PressButton(box, "OK");
  ASSERT_TRUE(WaitUntilIdle(again));
  EXPECT_EQ(WaitForMessageBox(again.pid(), kCaption, 1500), nullptr) << "one message only";
  EXPECT_EQ(Setting("General", "UpdateSpeed"), "0");
  EXPECT_EQ(Setting("MoreTools", "BlockPopUps"), "True");
  EndSession(again);
  DeleteKeyTree(HKEY_LOCAL_MACHINE, browserPaths);
}

// A second start while the first waits on its first-run question: the
// second says so and ends, the first stays. Then the exit request reaches the
// first from inside that modal box, as when an upgrade finds the program
// waiting for its user (from the main loop: the installer's upgrade).
TEST(StartUp, ASecondStartEndsAndTheExitRequestReachesTheFirstInAModalBox) {
  ForgetInstallation();
  std::string folder = MakeProgramFolder("twice");
  Process first, second;
  ASSERT_TRUE(first.Start(folder + "\\TarvickLite.exe", "", folder));
  ASSERT_TRUE(WaitForMessageBox(first.pid(), kCaption, 20000));
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

  // What the installer does to end the program: post the registered message.
  HWND w = FindProcessWindow(first.pid(), "TarvickLiteExit", nullptr, 10000);
  ASSERT_TRUE(w);
  PostMessageA(w, RegisterWindowMessageA("TarvickLite.ExitRequest"), 0, 0);
  EXPECT_EQ(first.Wait(10000), 0u);
  EXPECT_NE(Setting("General", "Left"), "<missing>") << "the exit sequence saves";
}
