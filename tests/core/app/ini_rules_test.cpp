#include "app/ini_rules.h"

#include <gtest/gtest.h>

namespace tl {

TEST(IniAccessRules, ArgumentErrorsInTheirOrder) {
  EXPECT_EQ(IniArgumentError("", "", ""), "ERROR MODE");
  EXPECT_EQ(IniArgumentError("GET", "", ""), "ERROR Secname");
  EXPECT_EQ(IniArgumentError("GET", "Classes", ""), "ERROR Keyname");
  EXPECT_FALSE(IniArgumentError("x", "Classes", "Number").has_value());
}

TEST(IniAccessRules, ModesAreCaseInsensitive) {
  EXPECT_EQ(IniModeOf("wRITE"), IniMode::Write);
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
  EXPECT_EQ(ClassCountOf("many"), 0);
  EXPECT_EQ(ClassCountOf("-4"), 0);
  EXPECT_EQ(ClassCountOf("99999999"), kMaxClassCount);
}

}  // namespace tl
