#include "popup/pop_lists.h"

#include <gtest/gtest.h>

#include <cstring>

#include "pop_record.h"

namespace tl {
namespace {

using poptest::PopRecord;

// The program and white-list fields are proved end to end.
TEST(PopDat, ReadsRecordsAndTheirFields) {
  std::string data = PopRecord("", "2") + PopRecord("Browser A", "a.exe", "open in new window", 6,
                                              "www.example.test", 0, 1) +
                     PopRecord("Browser B", "b.exe");
  auto list = PopDatBrowsers(data);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].DisplayName, "Browser A");
  EXPECT_EQ(list[0].MenuName[0], "open in new window");
  EXPECT_EQ(list[0].MenuName[1], "");
  EXPECT_EQ(list[0].Version, 6);
  EXPECT_EQ(list[0].HidePop, 1);
  EXPECT_EQ(list[1].ExeName, "b.exe");
}

TEST(PopDat, DamagedFilesReadOnlyWhatIsThere) {
  std::string two = PopRecord("", "2") + PopRecord("A", "a.exe") + PopRecord("B", "b.exe");
  EXPECT_EQ(PopDatBrowsers(two.substr(0, two.size() - 1)).size(), 1u);  // truncated record
  EXPECT_EQ(PopDatBrowsers(PopRecord("", "99999") + PopRecord("A", "a.exe")).size(), 1u);
  EXPECT_EQ(PopDatBrowsers(PopRecord("", "-3") + PopRecord("A", "a.exe")).size(), 0u);
  EXPECT_EQ(PopDatBrowsers(PopRecord("", "lots") + PopRecord("A", "a.exe")).size(), 0u);
  EXPECT_EQ(PopDatBrowsers(std::string(100, '\xff')).size(), 0u);
  EXPECT_EQ(PopDatBrowsers("").size(), 0u);
  EXPECT_FALSE(ReadPopRecord(two, 0).has_value());
  EXPECT_FALSE(ReadPopRecord(two, 4).has_value());
  // NUL padding instead of blanks reads the same.
  std::string nul(kPopRecordSize, '\0');
  std::memcpy(nul.data() + 256, "1", 1);
  EXPECT_EQ(PopDatBrowsers(nul + PopRecord("A", "a.exe")).size(), 1u);
}

TEST(PopDat, VersionOfARecord) {
  EXPECT_TRUE(VersionApplies(0, ""));
  EXPECT_TRUE(VersionApplies(6, "6.0.2900.2180"));
  EXPECT_FALSE(VersionApplies(6, "5.5.1"));
  EXPECT_FALSE(VersionApplies(6, ""));
}

TEST(PopupStore, RoundTripAndStaleEntriesBeyondTheCount) {
  MemorySettingsStore store;
  std::vector<BrowserEntry> list(3);
  for (int i = 0; i < 3; ++i) {
    list[i].Path = "C:\\B" + std::to_string(i) + "\\b.exe";
    list[i].MenuName[0] = "open in new window";
    list[i].HidePop = 1;
    list[i].PopDisNotf = static_cast<int16_t>(i);
  }
  list[0].PreDefinedWhite[5] = {1, "Print", 1};
  SavePopupLists(store, list);
  EXPECT_EQ(store.Read(kAppTitle, "PopUp", "Browsers(0).PreDefinedWhite(5).URL_Or_Name_text").text, "Print");
  list.pop_back();
  SavePopupLists(store, list);
  EXPECT_TRUE(store.Has(kAppTitle, "PopUp", "Browsers(2).Path"));  // left, but ignored
  auto loaded = LoadBrowserEntries(store);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1].Path, "C:\\B1\\b.exe");
  EXPECT_EQ(loaded[1].PopDisNotf, 1);
  EXPECT_EQ(loaded[0].PreDefinedWhite[5].URL_Or_Name_text, "");  // white entries are not read back
}

TEST(PopupStore, MissingOrOddCountsAndCounters) {
  MemorySettingsStore store;
  EXPECT_TRUE(LoadBrowserEntries(store).empty());
  store.Write(kAppTitle, "PopUp", "BrowsersLst_Total", "9999");
  EXPECT_EQ(LoadBrowserEntries(store).size(), kMaxBrowsers);
  store.Write(kAppTitle, "PopUp", "BrowsersLst_Total", "-2");
  EXPECT_TRUE(LoadBrowserEntries(store).empty());
  PopupCounters c = LoadCounters(store, "07/12/2026");
  EXPECT_EQ(c.TotalBlockCnt, 0);
  EXPECT_EQ(c.TotalBlockSince, "07/12/2026");
  EXPECT_EQ(store.Read(kAppTitle, "PopUp", "TotalBlockSince").text, "07/12/2026");
  store.Write(kAppTitle, "PopUp", "TotalBlockSince", "01/01/2020");
  SaveBlockCount(store, 41);
  c = LoadCounters(store, "07/12/2026");
  EXPECT_EQ(c.TotalBlockCnt, 41);
  EXPECT_EQ(c.TotalBlockSince, "01/01/2020");
}

TEST(WhiteEntries, ExactAndContained) {
  BrowserEntry b;
  b.PreDefinedWhite[0] = {0, "  www.bank.test/login  ", 1};
  b.PreDefinedWhite[1] = {0, "trusted.test", 0};
  b.PreDefinedWhite[2] = {1, "Print", 0};
  b.PreDefinedWhite[3] = {0, "", 0};
  EXPECT_TRUE(WhiteEntryMatches(b, 0, "www.bank.test/login"));
  EXPECT_FALSE(WhiteEntryMatches(b, 0, "www.bank.test/login?x"));
  EXPECT_TRUE(WhiteEntryMatches(b, 0, "http://a.trusted.test/x"));
  EXPECT_FALSE(WhiteEntryMatches(b, 0, "http://a.TRUSTED.test/x"));  // case counts
  EXPECT_FALSE(WhiteEntryMatches(b, 0, "Print preview"));            // wrong type
  EXPECT_TRUE(WhiteEntryMatches(b, 1, "Print preview"));
  EXPECT_FALSE(WhiteEntryMatches(b, 0, ""));
  EXPECT_FALSE(WhiteEntryMatches(b, 0, "anything"));  // an empty entry matches nothing
}

TEST(MenuRule, AccessKeyAndConfiguredNames) {
  EXPECT_EQ(StripAccessKey("Open in &New Window"), "Open in New Window");
  EXPECT_EQ(StripAccessKey("&Open"), "Open");
  EXPECT_EQ(StripAccessKey("Open&"), "Open");
  EXPECT_EQ(StripAccessKey("Open in New Window"), "");  // no marker: never a menu rule
  BrowserEntry b;
  b.MenuName[0] = "Open in new window";
  b.MenuName[1] = "new window";
  EXPECT_TRUE(MenuRuleAllows("open in new window", b));
  EXPECT_FALSE(MenuRuleAllows("save as", b));
  EXPECT_FALSE(MenuRuleAllows("", b));
  b.MenuName[1] = "";
  EXPECT_TRUE(MenuRuleAllows("save as", b));  // an empty name matches any item
}

}  // namespace
}  // namespace tl
