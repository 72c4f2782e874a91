#include "app/settings.h"

#include <gtest/gtest.h>

#include <vector>

namespace tl {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  std::vector<std::string> errors;
  SettingsEnv env{store,
                  {"C:\\Program Files\\Tarvick Lite", "C:\\WINDOWS", "C:\\WINDOWS\\System32"},
                  [this](std::string_view m) { errors.emplace_back(m); }};
  SettingsRecord rec;

  std::string Opt(const char* key) const {
    return store.Read(kAppTitle, "Options", key).text;
  }
  void PutOpt(const char* key, const std::string& v) { store.Write(kAppTitle, "Options", key, v); }
  std::string Gen(const char* key) const { return store.Read(kAppTitle, "General", key).text; }
  void Fresh() {  // an empty store again, for the next case of a table
    store = MemorySettingsStore{};
    errors.clear();
    rec = SettingsRecord{};
  }
};

TEST_F(SettingsTest, EmptyStoreLoadsDefaultsAndWritesOnlyTheBuiltInPrograms) {
  LoadOptions(env, rec);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(rec.RunAtStartUp, 0);
  EXPECT_EQ(rec.PopPlaySndFile, "C:\\Program Files\\Tarvick Lite\\Bell.wav");
  EXPECT_EQ(rec.WinReminderInterval, 0);  // not a stored setting: off until a reset
  EXPECT_EQ(Opt("SProg1"), "c:\\windows\\explorer.exe,2;1");
  EXPECT_EQ(Opt("SProg2"), "c:\\windows\\system32\\kernel32.dll,0;1");
  EXPECT_EQ(Opt("SProgCount"), "2");
  EXPECT_FALSE(store.Has(kAppTitle, "Options", "RunAtStartUp"));
}

// The reset values differ from the load defaults: they are what a reset
// stores, as text, and old entries beyond the two built-in ones go.
TEST_F(SettingsTest, ResetAndSaveStoreTheResetValuesAsText) {
  PutOpt("SProgCount", "4");
  for (int i = 1; i <= 4; ++i) PutOpt(("SProg" + std::to_string(i)).c_str(), "c:\\x,0;1");
  LoadOptions(env, rec);
  ResetToDefaults(env, rec);
  SaveOptions(env, rec);
  EXPECT_EQ(Opt("RunAtStartUp"), "1");
  EXPECT_EQ(Opt("AppList"), "11111111111");
  EXPECT_EQ(Opt("BlockMessenger"), "True");
  EXPECT_EQ(Opt("SProgCount"), "2");
  EXPECT_FALSE(store.Has(kAppTitle, "Options", "SProg3"));  // and SProg4
  EXPECT_EQ(Opt("SProg1"), "c:\\windows\\explorer.exe,2;1");
  EXPECT_EQ(rec.WinReminderInterval, 60);
}

// The first run keeps a start-up choice the setup stored, and only a valid one.
TEST_F(SettingsTest, FirstRunKeepsTheStoredStartUpChoice) {
  PutOpt("RunAtStartUp", "0");
  FirstRunDefaults(env, rec);
  EXPECT_EQ(rec.RunAtStartUp, 0);
  EXPECT_EQ(rec.WinReminderInterval, 60);  // the rest is the reset
  PutOpt("RunAtStartUp", "7");
  FirstRunDefaults(env, rec);
  EXPECT_EQ(rec.RunAtStartUp, 1);
}

// Values that do not convert: the load error, then the reset values stand
// in memory and in the store.
TEST_F(SettingsTest, BadValuesRaiseTheLoadErrorAndLeaveTheResetValues) {
  // Which texts fail to convert is the conversions' test; here one of each
  // kind of value, and the connection choice itself.
  const std::pair<const char*, std::string> bad[] = {
      {"RunAtStartUp", "yes"}, {"AppHK.CharCode", "99999999999"}, {"LANCon", std::string(3000, '7')}};
  for (const auto& [key, value] : bad) {
    Fresh();
    PutOpt("LANCon", "1");
    PutOpt(key, value);
    LoadOptions(env, rec);
    ASSERT_EQ(errors.size(), 1u) << key;
    EXPECT_EQ(errors[0], kLoadOptionsError);
    EXPECT_EQ(rec.RunAtStartUp, 1) << key;
    // The connection choice survives unless it is the bad value itself.
    EXPECT_EQ(rec.LANCon, std::string(key) == "LANCon" ? 0 : 1) << key;
    EXPECT_EQ(Opt("LANCon"), rec.LANCon ? "1" : "0") << key;
    EXPECT_EQ(Opt("RunAtStartUp"), "1") << key;
    EXPECT_EQ(Opt("SProgCount"), "2") << key;
  }
}

TEST_F(SettingsTest, AnUnreadableValueIsALoadError) {
  store.PutUnreadable(kAppTitle, "Options", "HideWnd");
  LoadOptions(env, rec);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(rec.AppList, "11111111111");  // reset value, not the load default
}

TEST_F(SettingsTest, SpecialProgramLookup) {
  PutOpt("SProgCount", "4");
  PutOpt("SProg1", "c:\\tools\\off.exe,1;2");
  PutOpt("SProg2", "c:\\windows\\explorer.exe,2;1");
  PutOpt("SProg3", "c:\\windows\\,0;1");
  PutOpt("SProg4", ",1;1");  // an empty path marks nothing
  LoadOptions(env, rec);
  auto lookup = [&](const char* path) {
    return SpecialProgramList(env, rec, kLookupSpecialProgram, path, nullptr);
  };
  EXPECT_EQ(lookup("c:\\windows\\explorer.exe"), 2);
  EXPECT_EQ(lookup("c:\\windows\\explorer.exe.bak"), 2);  // a prefix
  EXPECT_EQ(lookup("C:\\WINDOWS\\EXPLORER.EXE"), 2);       // Windows paths ignore case
  EXPECT_EQ(lookup("c:\\windows\\notepad.exe"), 0);        // directory entry
  EXPECT_EQ(lookup("c:\\tools\\off.exe"), -1);              // switched off
  EXPECT_EQ(lookup("d:\\other.exe"), -1);
  EXPECT_TRUE(errors.empty());

  std::vector<SpecialProgramRow> rows;
  EXPECT_EQ(SpecialProgramList(env, rec, kLoadSpecialPrograms, "", &rows), -1);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].path, "c:\\tools\\off.exe");
  EXPECT_EQ(rows[0].actionCaption, "Hide it and all its windows from lists");
  EXPECT_EQ(rows[0].icon, 2);  // listed although switched off

  rec.SProgCount = 0;  // "SProgCount" = "0": nothing is read, nothing matches
  EXPECT_EQ(lookup("c:\\windows\\explorer.exe"), -1);
}

TEST_F(SettingsTest, ABrokenEntryReportsAndResets) {
  for (const char* broken : {"no separators", "c:\\a;1,2", "c:\\a,x;1", "c:\\a,1;"}) {
    Fresh();
    PutOpt("SProgCount", "2");
    PutOpt("SProg1", "c:\\ok.exe,0;1");
    PutOpt("SProg2", broken);
    LoadOptions(env, rec);
    EXPECT_EQ(SpecialProgramList(env, rec, kLookupSpecialProgram, "c:\\zzz", nullptr), -1);
    ASSERT_EQ(errors.size(), 1u) << broken;
    EXPECT_EQ(errors[0], kLoadSpecialError);
    EXPECT_EQ(Opt("SProg1"), "c:\\windows\\explorer.exe,2;1");
    EXPECT_EQ(rec.RunAtStartUp, 1);
  }
  // A missing entry within the count fails the same way.
  Fresh();
  PutOpt("SProgCount", "3");
  LoadOptions(env, rec);
  std::vector<SpecialProgramRow> rows;
  SpecialProgramList(env, rec, kLoadSpecialPrograms, "", &rows);
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(SettingsTest, GeneralDefaultsAndTheIntegerPartOfUpdateSpeed) {
  GeneralSettings g = LoadGeneralSettings(env, 100, 200);
  EXPECT_TRUE(g.BlockMessenger && g.BlockPopUps && g.AlwaysOnTop);
  EXPECT_EQ(g.UpdateSpeed, 0);
  store.Write(kAppTitle, "General", "UpdateSpeed", "2.7");
  store.Write(kAppTitle, "General", "AlwaysOnTop", "False");
  store.Write(kAppTitle, "MoreTools", "BlockPopUps", "False");
  g = LoadGeneralSettings(env, 100, 200);
  EXPECT_EQ(g.UpdateSpeed, 2);
  EXPECT_FALSE(g.AlwaysOnTop);
  EXPECT_FALSE(g.BlockPopUps);
  EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsTest, GeneralRecoveryWritesItsValuesAndReadsAgain) {
  for (const char* bad : {"fast", "7", "-1"}) {
    errors.clear();
    store.Write(kAppTitle, "General", "UpdateSpeed", bad);
    store.Write(kAppTitle, "General", "AlwaysOnTop", "False");
    GeneralSettings g = LoadGeneralSettings(env, 4320, 2880.5f);
    ASSERT_EQ(errors.size(), 1u) << bad;
    EXPECT_EQ(errors[0], kLoadGeneralError);
    EXPECT_EQ(g.UpdateSpeed, 0);
    EXPECT_TRUE(g.AlwaysOnTop);
    EXPECT_EQ(Gen("AlwaysOnTop"), "True");
    EXPECT_EQ(Gen("Left"), "4320");
    EXPECT_EQ(Gen("Top"), "2880.5");
  }
}

// A bad "MoreTools" value is repaired, so the next start is clean; a store
// that cannot be written must not loop: one message, then the defaults.
TEST_F(SettingsTest, GeneralRecoveryEndsWhenTheRetryFailsToo) {
  store.Write(kAppTitle, "MoreTools", "BlockMessenger", "maybe");
  store.Write(kAppTitle, "MoreTools", "BlockPopUps", "False");
  GeneralSettings g = LoadGeneralSettings(env, 0, 0);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_TRUE(g.BlockMessenger);
  EXPECT_FALSE(g.BlockPopUps);  // a good value is kept
  EXPECT_EQ(store.Read(kAppTitle, "MoreTools", "BlockMessenger").text, "True");
  LoadGeneralSettings(env, 0, 0);
  EXPECT_EQ(errors.size(), 1u);

  errors.clear();
  store.Write(kAppTitle, "MoreTools", "BlockMessenger", "True");
  store.Write(kAppTitle, "General", "UpdateSpeed", "x");
  store.readOnly = true;
  g = LoadGeneralSettings(env, 0, 0);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(g.UpdateSpeed, 0);
}

}  // namespace
}  // namespace tl
