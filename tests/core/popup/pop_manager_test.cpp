#include "popup/pop_manager.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

std::vector<BrowserEntry> Entries(std::initializer_list<const char*> paths) {
  std::vector<BrowserEntry> list;
  for (const char* p : paths) list.emplace_back().Path = p;
  return list;
}

TEST(BrowserListRules, DuplicatePathsIgnoreCaseButNotTheEntryBeingChanged) {
  auto list = Entries({"C:\\A\\Browser.exe", "C:\\b.exe"});
  EXPECT_TRUE(PathTaken(list, "c:\\a\\BROWSER.EXE", std::nullopt));
  EXPECT_FALSE(PathTaken(list, "C:\\A\\Browser.exe", 0));  // modifying entry 0 itself
  EXPECT_TRUE(PathTaken(list, "C:\\B.EXE", 0));
  EXPECT_FALSE(PathTaken(list, "C:\\A\\Browser", std::nullopt));
  // A row finds its entry by the exact path it shows.
  EXPECT_EQ(EntryByPath(list, "C:\\b.exe"), 1u);
  EXPECT_EQ(EntryByPath(list, "c:\\b.exe"), std::nullopt);
}

TEST(BrowserListRules, RemovingMovesLaterEntriesUp) {
  auto list = Entries({"a", "b", "c"});
  EXPECT_TRUE(RemoveEntry(list, 2));  // the last one: nothing moves
  EXPECT_TRUE(RemoveEntry(list, 0));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Path, "b");
  EXPECT_FALSE(RemoveEntry(list, 1));
}

TEST(ReportListSort, FirstClickSortsDescendingAndEachClickFlips) {
  ListSort s;
  s.HeaderClicked(1);
  EXPECT_TRUE(s.descending);
  s.HeaderClicked(0);  // another column still flips the one flag
  EXPECT_FALSE(s.descending);
  EXPECT_EQ(s.column, 0);

  std::vector<std::string> texts = {"beta", "Alpha", "gamma", "alpha"};
  EXPECT_EQ(SortedOrder(texts, false), (std::vector<size_t>{1, 3, 0, 2}));
  EXPECT_EQ(SortedOrder(texts, true), (std::vector<size_t>{2, 0, 1, 3}));
}

TEST(CopiedText, NameThenAddressInBracketsWithoutBlank) {
  EXPECT_EQ(CopyText({}), "");
  EXPECT_EQ(CopyText({{"(none)", "http://x.test/"}, {"Ad", ""}}),
            "(none)(http://x.test/)\r\nAd()\r\n");
  EXPECT_EQ(CopyText({{"white.test", std::nullopt}}), "white.test\r\n");
}

TEST(PredefinedBrowsers, OfferedOnlyWhenInstalledInAMatchingVersion) {
  std::vector<PopDatRecord> records(5);
  for (size_t i = 0; i < records.size(); ++i) records[i].DisplayName = 'B' + std::to_string(i + 1);
  records[0].Version = 6;
  records[1].Version = 6;
  records[2].Version = 0;
  std::vector<InstalledFacts> facts = {
      {"C:\\six.exe", true, "6.0.2900"},  // offered
      {"C:\\five.exe", true, "5.5.1"},    // wrong version
      {"C:\\any.exe", true, ""},          // version 0: any
      {"C:\\gone.exe", false, ""},        // not installed
      {"", false, ""},                    // not registered
  };
  auto rows = PredefinedRows(records, facts);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].name, "B1");
  EXPECT_EQ(rows[0].recordNumber, 1u);
  EXPECT_EQ(rows[1].path, "C:\\any.exe");
  EXPECT_EQ(rows[1].recordNumber, 3u);
}

}  // namespace
}  // namespace tl
