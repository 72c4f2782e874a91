// Recovery from bad special-program entries: the reset must not cost a LAN
// user the protection that the connection choice turns on.
#include <gtest/gtest.h>

#include "app/settings.h"

namespace tl {
namespace {

TEST(SettingsRecovery, ACountBeyondTheEntriesKeepsAReadableConnectionChoice) {
  for (const char* lanCon : {"1", "on"}) {
    MemorySettingsStore s;
    int errors = 0;
    SettingsEnv env{s, {"C:\\TL", "C:\\WINDOWS", "C:\\WINDOWS\\System32"},
                    [&](std::string_view) { ++errors; }};
    SettingsRecord rec;
    s.Write(kAppTitle, "Options", "LANCon", lanCon);
    s.Write(kAppTitle, "Options", "SProgCount", "3");
    s.Write(kAppTitle, "Options", "SProg1", "c:\\a.exe,0;1");
    rec.SProgCount = 3;
    rec.LANCon = 1;
    EXPECT_EQ(SpecialProgramList(env, rec, kLookupSpecialProgram, "c:\\b.exe", nullptr), -1);
    EXPECT_EQ(errors, 1);
    bool readable = std::string(lanCon) == "1";
    EXPECT_EQ(rec.LANCon, readable ? 1 : 0) << lanCon;
    EXPECT_EQ(s.Read(kAppTitle, "Options", "LANCon").text, readable ? "1" : "0");
    EXPECT_EQ(rec.SProgCount, 2);
  }
}

}  // namespace
}  // namespace tl
