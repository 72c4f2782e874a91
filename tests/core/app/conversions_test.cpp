#include "app/conversions.h"

#include <gtest/gtest.h>

namespace tl {

// The settings tests already load "2.7", "yes" and over-long digit runs.
TEST(Conversions, IntegersTakeTheWholePartOfDecimalText) {
  EXPECT_EQ(ParseInt16(" 69 "), 69);
  EXPECT_EQ(ParseInt16("-2.7"), -2);
  EXPECT_EQ(ParseInt16("32767"), 32767);
  EXPECT_EQ(ParseInt16("-32768"), -32768);
  EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
}

TEST(Conversions, TextThatIsNoNumberOrDoesNotFitFails) {
  for (const char* bad : {"", " ", "abc", "1a", "0x10", "1e3", "--1", ".", "inf", "nan", "1 2"})
    EXPECT_FALSE(ParseInt16(bad).has_value()) << '"' << bad << '"';
  EXPECT_FALSE(ParseInt16("32768").has_value());
  EXPECT_FALSE(ParseInt16("-32769").has_value());
  EXPECT_FALSE(ParseInt32("2147483648").has_value());
}

TEST(Conversions, FlagsReadTrueFalseInAnyCaseAndNumbers) {
  EXPECT_EQ(ParseFlag("FALSE"), false);
  EXPECT_EQ(ParseFlag(" true "), true);
  EXPECT_EQ(ParseFlag("0"), false);
  EXPECT_EQ(ParseFlag("-1"), true);
}

TEST(Conversions, SingleTextIsPlainDecimal) {
  EXPECT_EQ(SingleText(-15.0f), "-15");
  EXPECT_EQ(SingleText(1234.5f), "1234.5");
  EXPECT_EQ(SingleText(1e12f), "999999995904");
}

}  // namespace tl
