#include "app/ini_rules.h"

#include <gtest/gtest.h>

#include "app/columns.h"

namespace tl {

TEST(IniAccessRules, ArgumentErrorsInTheirOrder) {
  EXPECT_EQ(IniArgumentError("", "", ""), "ERROR MODE");
  EXPECT_EQ(IniArgumentError("GET", "", ""), "ERROR Secname");
  EXPECT_EQ(IniArgumentError("GET", "Classes", ""), "ERROR Keyname");
  EXPECT_FALSE(IniArgumentError("x", "Classes", "Number").has_value());
}

TEST(IniAccessRules, ModesAreCaseInsensitive) {
  EXPECT_EQ(IniModeOf("get"), IniMode::Get);
  EXPECT_EQ(IniModeOf("Write"), IniMode::Write);
  EXPECT_EQ(IniModeOf("READ"), IniMode::Other);
}

TEST(IniAccessRules, GetResultStopsAtNulAndDropsTheMissingMarker) {
  using namespace std::string_literals;
  EXPECT_EQ(IniGetResult("RUNDLL  \0junk"s), "RUNDLL");
  EXPECT_EQ(IniGetResult("Failed"), "");
  EXPECT_EQ(IniGetResult("Failed over"), "");  // a value that begins with it, too
  EXPECT_EQ(IniGetResult("  lead"), "  lead");
}

TEST(IniAccessRules, ClassCountIsBoundedAndForgiving) {
  EXPECT_EQ(ClassCountOf("3"), 3);
  EXPECT_EQ(ClassCountOf(""), 0);
  EXPECT_EQ(ClassCountOf("many"), 0);
  EXPECT_EQ(ClassCountOf("-4"), 0);
  EXPECT_EQ(ClassCountOf("99999999"), kMaxClassCount);
}

TEST(ColumnTables, ProcessTableDependsOnTheFamily) {
  auto nt = ProcessColumns(true);
  auto other = ProcessColumns(false);
  ASSERT_EQ(nt.size(), 12u);
  ASSERT_EQ(other.size(), 11u);
  EXPECT_EQ(nt[3].caption, "Committed memory (K)");
  EXPECT_EQ(other[3].caption, "Committed memory (k)");
  EXPECT_EQ(nt[7].caption, "CPU usage (%)");
  EXPECT_DOUBLE_EQ(nt[7].width, 5 * 5.6);
  for (const auto& c : other) EXPECT_NE(c.caption, "CPU usage (%)");
  EXPECT_EQ(other[7].caption, "Processes");
  EXPECT_EQ(nt[11].caption, "Product name");
  EXPECT_DOUBLE_EQ(nt[11].width, 25 * 5.6);
}

TEST(ColumnTables, WindowTable) {
  auto w = WindowColumns();
  ASSERT_EQ(w.size(), 10u);
  EXPECT_EQ(w[0].caption, "Window Name");
  EXPECT_EQ(w[5].caption, "Always on-Top");
  EXPECT_EQ(w[9].caption, "Position");
  EXPECT_DOUBLE_EQ(w[9].width, 21 * 5.6);
}

}  // namespace tl
