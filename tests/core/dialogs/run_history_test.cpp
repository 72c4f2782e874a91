#include "dialogs/run_history.h"

#include <gtest/gtest.h>

#include <map>

namespace tl {
namespace {

TEST(RunHistory, CommandsGetExeOnlyWithoutADotAndTheOldestGoBeyondTwenty) {
  EXPECT_EQ(RunCommandText("notepad"), "notepad.exe");
  EXPECT_EQ(RunCommandText("readme.txt"), "readme.txt");
  EXPECT_EQ(RunCommandText(""), ".exe");

  std::vector<std::string> h;
  for (int i = 0; i < 21; ++i) AddToRunHistory(h, "c" + std::to_string(i));
  ASSERT_EQ(h.size(), kRunHistoryMax);
  EXPECT_EQ(h.front(), "c1");
  EXPECT_EQ(h.back(), "c20");
}

class RunHistoryFile : public ::testing::Test {
 protected:
  std::map<std::string, std::string> ini;
  IniGet get = [this](const std::string& k) { return ini.count(k) ? ini[k] : ""; };
  IniPut put = [this](const std::string& k, const std::string& v) { ini[k] = v; };
};

TEST_F(RunHistoryFile, SavingEmptiesTheOldEntriesAndWritesTheNewCount) {
  ini = {{"Number", "3"}, {"App0", "a.exe"}, {"App1", "b.exe"}, {"App2", "c.exe"}, {"App3", "d.exe"}};
  auto h = LoadRunHistory(get);
  EXPECT_EQ(h, (std::vector<std::string>{"a.exe", "b.exe", "c.exe", "d.exe"}));

  SaveRunHistory(get, put, {"x.exe", "y.exe"});
  EXPECT_EQ(ini["Number"], "1");
  EXPECT_EQ(ini["App0"], "x.exe");
  EXPECT_EQ(ini["App1"], "y.exe");
  EXPECT_EQ(ini["App2"], "");  // emptied, not removed
  EXPECT_EQ(ini["App3"], "");
}

TEST_F(RunHistoryFile, DamagedCountsGiveABoundedHistory) {
  EXPECT_TRUE(LoadRunHistory(get).empty());
  ini["Number"] = "many";
  EXPECT_TRUE(LoadRunHistory(get).empty());
  ini["Number"] = "2000000000";
  ini["App999"] = "newest.exe";
  auto h = LoadRunHistory(get);
  ASSERT_EQ(h.size(), kRunHistoryMax);
  EXPECT_EQ(h.back(), "newest.exe");
}

}  // namespace
}  // namespace tl
