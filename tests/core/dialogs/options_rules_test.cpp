#include "dialogs/options_rules.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(OptionsRules, ModifierBoxesRoundTripAndNumberBoxesReadTheirLeadingNumber) {
  for (int32_t m = 0; m < 8; ++m) EXPECT_EQ(CollectModifiers(SeperateModifiers(m)), m) << m;

  EXPECT_EQ(LeadingInt16("12abc"), 12);
  EXPECT_EQ(LeadingInt16("  7"), 7);
  EXPECT_EQ(LeadingInt16("abc"), 0);
  EXPECT_EQ(LeadingInt16("-5"), 0);
  EXPECT_EQ(LeadingInt16("1.9"), 1);
  EXPECT_EQ(LeadingInt16("99999"), 32767);  // held, not wrapped negative
  EXPECT_DOUBLE_EQ(LeadingNumber("0.25 EUR", true), 0.25);
  EXPECT_DOUBLE_EQ(LeadingNumber(".5", true), 0.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("x1", true), 0);

  EXPECT_EQ(CharBoxCode("e", kMainHotkeyChar), 69);
  EXPECT_EQ(CharBoxCode("", kMainHotkeyChar), 'E');
  EXPECT_EQ(CharBoxCode("", kRestartHotkeyChar), 'D');
  EXPECT_EQ(CharBoxText(0), "");
}

TEST(OptionsRules, ColumnTextsKeepTheTableLength) {
  EXPECT_EQ(ColumnChecks("101", 5), (std::vector<bool>{true, false, true, false, false}));
  EXPECT_EQ(ColumnText(ColumnChecks("11111111111", 12)), "111111111110");
  EXPECT_EQ(ColumnText(ColumnChecks("1111111111", 10)), "1111111111");
}

TEST(OptionsRules, ChecksStopAtTheFirstErrorWithItsTab) {
  SettingsRecord rec;
  rec.AppHKEnabled = 1;
  rec.RestartHKEnabled = 1;
  rec.AppList = "000";
  rec.WndList = "00";
  OptionsValues v = ValuesFromSettings(rec, 3, 2);
  auto expect = [&](const char* message, int tab) {
    auto e = CheckErrors(v);
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->message, message);
    EXPECT_EQ(e->tab, tab);
  };
  expect(kNoMainModifier, 0);
  EXPECT_EQ(CheckErrors(v)->focus, OptionsError::MainCharBox);
  v.hk.shift = true;
  expect(kNoRestartModifier, 0);
  v.restartEnabled = false;  // a switched-off hotkey needs no modifier
  expect(kNoProgramColumn, 3);
  v.appList[2] = true;  // the last box alone is enough
  expect(kNoWindowColumn, 3);
  v.wndList[0] = true;
  EXPECT_FALSE(CheckErrors(v));
}

class StoreOptionsTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  SettingsEnv env{store, {"C:\\TL", "C:\\WINDOWS", "C:\\WINDOWS\\System32"}, {}};
  SettingsRecord rec;
  std::string Opt(const std::string& key) const { return store.Read(kAppTitle, "Options", key).text; }
  bool HasOpt(const std::string& key) const { return store.Has(kAppTitle, "Options", key); }
};

TEST_F(StoreOptionsTest, OpeningAndApplyingUnchangedKeepsEveryStoredValue) {
  ResetToDefaults(env, rec);
  SaveOptions(env, rec);
  std::vector<SpecialProgramRow> rows;
  SpecialProgramList(env, rec, kLoadSpecialPrograms, "", &rows);
  MemorySettingsStore before = store;

  OptionsValues v = ValuesFromSettings(rec, 12, 10);
  v.programs = rows;
  EXPECT_FALSE(StoreOptions(env, rec, v));
  EXPECT_EQ(store.Size(), before.Size());
  for (const char* key : {"RunAtStartUp", "AppHK.Modifiers", "AppHK.CharCode",
                          "WndList", "LANCon", "BlockMode", "SProgCount", "SProg1", "SProg2"})
    EXPECT_EQ(Opt(key), before.Read(kAppTitle, "Options", key).text) << key;
  EXPECT_EQ(Opt("AppList"), "111111111110");  // the reset's eleven, as the twelve boxes show them
  EXPECT_FLOAT_EQ(rec.CostPerInterval, 0.02f);
  EXPECT_EQ(rec.TrackerThresholds[1], 95);
}

TEST_F(StoreOptionsTest, ApplyWritesTheControlsReplacesEntriesAndReportsAConnectionChange) {
  ResetToDefaults(env, rec);
  rec.SProgCount = 3;
  store.Write(kAppTitle, "Options", "SProg3", "c:\\old.exe,0;1");
  OptionsValues v = ValuesFromSettings(rec, 12, 10);
  v.programs = {{"C:\\Apps\\Tool.exe", ActionCaption(1), 2}};
  v.lanCon = 1;
  v.blockMode = 0;
  v.wndDisplay = 3;

  EXPECT_TRUE(StoreOptions(env, rec, v));
  EXPECT_EQ(Opt("SProgCount"), "1");
  EXPECT_EQ(Opt("SProg1"), "C:\\Apps\\Tool.exe,1;2");
  EXPECT_FALSE(HasOpt("SProg2"));
  EXPECT_FALSE(HasOpt("SProg3"));
  EXPECT_EQ(Opt("LANCon"), "1");
  EXPECT_EQ(Opt("BlockMode"), "0");
  EXPECT_EQ(Opt("WndDisplay"), "3");
  // The same choice applied again is no change of connection.
  EXPECT_FALSE(StoreOptions(env, rec, v));
}

}  // namespace
}  // namespace tl
