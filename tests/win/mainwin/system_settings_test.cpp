// Settings put into effect against the real platform: the hotkey and its
// registration memory and error box, and the Run entry with its per-user
// fallback when the machine's key refuses writing.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include "app/program_win.h"
#include "app/root_win.h"
#include "app/startup_win.h"
#include "app/system_settings_win.h"
#include "app/system_win.h"
#include "mainwin/interface_frm_win.h"
#include "win_test_util.h"

using namespace tltest;

namespace {

bool HotkeyFree(UINT mods, UINT vk) {
  if (!RegisterHotKey(nullptr, 7, mods, vk)) return false;
  UnregisterHotKey(nullptr, 7);
  return true;
}

class SystemSettingsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ModMain::InitProcessValues();
    ModMain::LoadForms();
  }
  void SetUp() override {
    tl::SettingsRecord& s = ModMain::Prog().Settings;
    s.RunAtStartUp = 2;  // neither on nor off: the Run key stays out of these
    s.AppHKEnabled = 1;
    s.AppHKModifiers = MOD_CONTROL | MOD_ALT;
    s.AppHKCharCode = 'E';
  }
};

TEST_F(SystemSettingsTest, HotkeyIsRegisteredOnceAndATakenOneOffersTheOptions) {
  HWND main = ModMain::MainForm().hwnd();
  bool showOptions = true;
  EXPECT_FALSE(AnsweringBoxes("&No", [&] { showOptions = ModMain::ApplySystemSettings(); }).hwnd);
  EXPECT_FALSE(showOptions);
  EXPECT_FALSE(HotkeyFree(MOD_CONTROL | MOD_ALT, 'E'));
  // Unchanged settings again: no new registration (what was dropped stays dropped).
  UnregisterHotKey(main, tl::kHotkeyId);
  ModMain::ApplySystemSettings();
  EXPECT_TRUE(HotkeyFree(MOD_CONTROL | MOD_ALT, 'E'));

  // Another program holds Ctrl+Alt+F: the box, and Yes opens Options on its first tab.
  ASSERT_TRUE(RegisterHotKey(nullptr, 9, MOD_CONTROL | MOD_ALT, 'F'));
  ModMain::Prog().Settings.AppHKCharCode = 'F';
  int tab = -2;
  auto saved = ModMain::MainForm().commands.ShowOptions;
  ModMain::MainForm().commands.ShowOptions = [&](int t) { tab = t; };
  {
    BoxAnswerer yes("Tarvick Lite", "&Yes");
    EXPECT_TRUE(ModMain::ApplySystemSettings());
    MessageBoxInfo info = yes.Wait();
    ASSERT_EQ(yes.boxes, 1);
    EXPECT_EQ(info.text,
              "ERROR registering Tarvick hotkey! Some program may be using the same hotkey. You "
              "will not be able to display Tarvick main window by pressing the specified Hotkey. "
              "Click yes if you want to change it form options.");
    EXPECT_EQ(info.buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_NE(info.icon, nullptr);
  }
  EXPECT_EQ(tab, 0);
  // The failed combination is not tried again.
  EXPECT_FALSE(AnsweringBoxes("&No", [&] { showOptions = ModMain::ApplySystemSettings(); }).hwnd);
  EXPECT_FALSE(showOptions);
  ModMain::MainForm().commands.ShowOptions = saved;
  UnregisterHotKey(nullptr, 9);
  ModMain::Prog().Settings.AppHKEnabled = 0;
  ModMain::ApplySystemSettings();
}

// Written machine-wide and byte for byte by the program's first run (the tray
// test), left as it is when present with any text (the installer's upgrade).
TEST(RunEntry, RemovedWhenOffAndWrittenPerUserWhenTheMachineKeyRefuses) {
  const std::string base = "Software\\TlRunTest" + std::to_string(GetCurrentProcessId());
  const std::string exe = "C:\\Program Files\\Tarvick Lite\\TarvickLite.exe";
  HKEY machine = nullptr, user = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\Machine").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &machine, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\User").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &user, nullptr), ERROR_SUCCESS);
  ModMain::RunKeyRoots roots{machine, user};
  auto value = [&](const char* which) {
    return ReadRaw(HKEY_CURRENT_USER, base + "\\" + which + "\\" + ModMain::kRunKey, "Tarvick Lite");
  };

  WriteRaw(HKEY_CURRENT_USER, base + "\\Machine\\" + ModMain::kRunKey, "Tarvick Lite", REG_SZ, exe + '\0');
  ModMain::ApplyRunAtStartup(0, exe, roots);
  EXPECT_FALSE(value("Machine").exists);

  // The machine's key readable but not writable, as for a standard user.
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)",
                                                                   SDDL_REVISION_1, &sd, nullptr));
  HKEY run = nullptr;
  ASSERT_EQ(RegOpenKeyExA(machine, ModMain::kRunKey, 0, KEY_ALL_ACCESS, &run), ERROR_SUCCESS);
  ASSERT_EQ(RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
  RegCloseKey(run);
  LocalFree(sd);
  ModMain::ApplyRunAtStartup(1, exe, roots);
  EXPECT_FALSE(value("Machine").exists);
  EXPECT_EQ(value("User").bytes, exe + '\0');
  EXPECT_TRUE(ModMain::RunEntryPresent(roots));
  ModMain::ApplyRunAtStartup(0, exe, roots);
  EXPECT_FALSE(value("User").exists);
  RegCloseKey(machine);
  RegCloseKey(user);
}

}  // namespace
