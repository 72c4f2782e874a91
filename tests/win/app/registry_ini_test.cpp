// Registry helpers, the registry settings store and prog.ini on the real
// platform, and the message boxes of the settings checked in-process (where
// the icon handle can be compared with the system's).
#include <gtest/gtest.h>

#include <tuple>

#include "app/ini_win.h"
#include "app/registry_win.h"
#include "app/program_win.h"
#include "app/startup_win.h"
#include "win_test_util.h"

using namespace tltest;

namespace {
const std::string kTestKey = "Software\\TarvickLiteTests";

}  // namespace

TEST(Registry, ReadValueTrimsStopsAtNulAndSurvivesOddValues) {
  WriteRaw(HKEY_CURRENT_USER, kTestKey, "padded", REG_SZ, std::string("  c:\\a b  \0tail", 15));
  WriteRaw(HKEY_CURRENT_USER, kTestKey, "unterminated", REG_SZ, "abc");
  modRegEnum::RegKey k = modRegEnum::RegOpenKey(HKEY_CURRENT_USER, kTestKey);
  ASSERT_TRUE(k);
  EXPECT_EQ(modRegEnum::RegReadValue(k.get(), "padded"), "c:\\a b");
  EXPECT_EQ(modRegEnum::RegReadValue(k.get(), "unterminated"), "abc");
  EXPECT_EQ(modRegEnum::RegReadValue(k.get(), "missing"), "");
  EXPECT_EQ(modRegEnum::RegReadValue(nullptr, "padded"), "");
  EXPECT_FALSE(modRegEnum::RegOpenKey(HKEY_CURRENT_USER, kTestKey + "\\none"));
}

TEST(Registry, AppPathsPerUserWhenTheMachineKeyIsAbsent) {
  const std::string exe = "TarvickLiteProbe.exe";
  DeleteKeyTree(HKEY_LOCAL_MACHINE, modRegEnum::AppPathsKey(exe));
  DeleteKeyTree(HKEY_CURRENT_USER, modRegEnum::AppPathsKey(exe));
  EXPECT_EQ(modRegEnum::AppPathOf(exe), "");
  ASSERT_TRUE(modRegEnum::RegisterAppPathUnder(HKEY_CURRENT_USER, exe, "C:\\P\\TarvickLiteProbe.exe", "C:\\P"));
  EXPECT_EQ(modRegEnum::AppPathOf(exe), "C:\\P\\TarvickLiteProbe.exe");
  // The machine-wide registration is preferred when both exist.
  EXPECT_EQ(modRegEnum::RegisterAppPath(exe, "C:\\M\\TarvickLiteProbe.exe", "C:\\M"), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(modRegEnum::AppPathOf(exe), "C:\\M\\TarvickLiteProbe.exe");  // its bytes: the first run's test
  DeleteKeyTree(HKEY_LOCAL_MACHINE, modRegEnum::AppPathsKey(exe));
  DeleteKeyTree(HKEY_CURRENT_USER, modRegEnum::AppPathsKey(exe));
}

TEST(SettingsStore, RegistryFormsAndBadTypes) {
  tl::RegistrySettingsStore store;
  const std::string key = SettingsKey("TestSection");
  DeleteKeyTree(HKEY_CURRENT_USER, key);
  EXPECT_EQ(store.Read("Tarvick Lite", "TestSection", "a").status, tl::StoreRead::Missing);
  ASSERT_TRUE(store.Write("Tarvick Lite", "TestSection", "a", "69"));
  RawValue v = ReadRaw(HKEY_CURRENT_USER, key, "a");
  EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(v.bytes, std::string("69\0", 3));
  // Numbers stored as numbers by another tool read as the program's texts.
  for (auto [type, bytes, text] : {std::tuple{REG_DWORD, std::string("\x07\0\0\0", 4), "7"},
                                   std::tuple{REG_DWORD, std::string(4, '\xff'), "-1"},
                                   std::tuple{REG_QWORD, std::string("\x2a\0\0\0\0\0\0\0", 8), "42"}}) {
    WriteRaw(HKEY_CURRENT_USER, key, "number", type, bytes);
    tl::StoreRead r = store.Read("Tarvick Lite", "TestSection", "number");
    EXPECT_EQ(r.status, tl::StoreRead::Ok);
    EXPECT_EQ(r.text, text);
  }
  WriteRaw(HKEY_CURRENT_USER, key, "binary", REG_BINARY, std::string("\x01\0\0\0", 4));
  EXPECT_EQ(store.Read("Tarvick Lite", "TestSection", "binary").status, tl::StoreRead::Failed);
  WriteRaw(HKEY_CURRENT_USER, key, "big", REG_SZ, std::string(70000, '7'));
  tl::StoreRead big = store.Read("Tarvick Lite", "TestSection", "big");
  EXPECT_EQ(big.status, tl::StoreRead::Ok);
  EXPECT_EQ(big.text.size(), 70000u);
  EXPECT_TRUE(store.Delete("Tarvick Lite", "TestSection", "a"));
  EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, key, "a").exists);
  DeleteKeyTree(HKEY_CURRENT_USER, key);
}

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeTempDir("ini");
    ModMain::Prog().IniPath = dir_ + "\\prog.ini";
  }
  std::string dir_;
};

// The default list and IniAccess on a plain file: the installer's first start
// and the Run dialog's history, byte for byte.
TEST_F(IniTest, OddAndUnwritableFiles) {
  // A file that is not INI text, a huge count and a value beginning "Failed".
  WriteFileBytes(ModMain::Prog().IniPath, "\x01\x02garbage\r\n[Classes]\r\nNumber=99999999\r\n"
                                          "Class1=Failed class\r\nClass2=" + std::string(600, 'c') + "\r\n");
  modIni::ReadClassList();
  EXPECT_EQ(modIni::ClassList.size(), 1024u);
  EXPECT_EQ(modIni::ClassList[0], "");
  EXPECT_EQ(modIni::ClassList[1].size(), 254u);  // cut to the buffer

  // A folder where the file should be: nothing is stored, the list is empty.
  ModMain::Prog().IniPath = dir_ + "\\sub";
  CreateDirectoryA(ModMain::Prog().IniPath.c_str(), nullptr);
  modIni::WriteDefaultClassList();
  modIni::ReadClassList();
  EXPECT_TRUE(modIni::ClassList.empty());
}

// The boxes' text, caption, buttons, icon and default button, seen in-process.
TEST(SettingsBoxes, LoadErrorIsAnErrorBoxAndTheResetValuesAreStored) {
  ModMain::InitProcessValues();
  WriteRaw(HKEY_CURRENT_USER, SettingsKey("Options"), "RunAtStartUp", REG_SZ, std::string("abc\0", 4));
  MessageBoxInfo seen = AnsweringBoxes("OK", ModMain::LoadOptions);
  EXPECT_EQ(seen.text, "Error loading settings from registry, default settings will be loaded");
  EXPECT_EQ(seen.caption, "Tarvick Lite");
  EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_HAND));
  EXPECT_EQ(Setting("Options", "RunAtStartUp"), "1");
}

// No stores the LAN choice: the interrupted first run's test, on the program.
TEST(SettingsBoxes, ConnectionQuestionAndAMissingPopDatMade) {
  ModMain::InitProcessValues();
  MessageBoxInfo seen = AnsweringBoxes("&No", ModMain::FirstRunSetup);
  EXPECT_EQ(seen.text,
            "Do you use a modem to connect to the Internet (dial-up connection) ? Or a leased line "
            "(LAN, DSL, ... etc) ? Click Yes if you use a modem and No if you use a leased line. "
            "You may change it later at any time from Options.");
  EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(seen.defaultButton, "&Yes");
  EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_ASTERISK));
  EXPECT_NE(GetFileAttributesA((ModMain::Prog().ProgramFolder + "\\Pop.dat").c_str()), INVALID_FILE_ATTRIBUTES);
}
