// GetCpuUsage of corvel.dll through the real HKEY_PERFORMANCE_DATA path,
// fed by the test provider, and the program table's processor shares.
#include <gtest/gtest.h>

#include "app/startup_win.h"
#include "inspect/process_query_win.h"
#include "insp_test_util.h"

using namespace tltest;
using namespace insptest;

namespace {

using CpuFn = long(WINAPI*)(long*);

class CpuUsage : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    ASSERT_TRUE(provider_.ok());
    // The program makes sure the section exists before the first call.
    HKEY k;
    if (RegCreateKeyA(HKEY_CURRENT_USER, SettingsKey("tmpcpu").c_str(), &k) == 0) RegCloseKey(k);
    // The copy beside this program is the one the program's binding loads too.
    corvel_ = LoadLibraryA((ModMain::ProgramFolder + "\\corvel.dll").c_str());
    ASSERT_TRUE(corvel_);
    get_ = reinterpret_cast<CpuFn>(reinterpret_cast<void*>(GetProcAddress(corvel_, "GetCpuUsage")));
    ASSERT_TRUE(get_) << "exported by its plain name";
  }
  void TearDown() override {
    DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("tmpcpu"));
    Reset();
  }
  // Wine stamps the block's time a little after the provider read its clock,
  // so a reading may stray from the share it was built with by a point or two.
  void ExpectShares(const std::vector<long>& expected) {
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(values_[i], expected[i], 3) << i;
  }
  std::vector<std::string> Published(long n) {
    std::vector<std::string> names;
    for (long i = 0; i < n; ++i) {
      RawValue v = ReadRaw(HKEY_CURRENT_USER, SettingsKey("tmpcpu"), std::to_string(i));
      EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
      EXPECT_EQ(v.bytes.size(), 256u) << "the whole name buffer";
      names.push_back(v.bytes.c_str());
    }
    return names;
  }

  PerfProvider provider_;
  HMODULE corvel_ = nullptr;
  CpuFn get_ = nullptr;
  long values_[1000] = {};
};

}  // namespace

TEST_F(CpuUsage, FirstCallAnswersNothingThenInstancesInOrderWithTheTotalLast) {
  provider_.SetLoad("Idle=50;insp_a=10;insp_b=25;_Total=85");
  EXPECT_EQ(get_(values_), 0);
  EXPECT_EQ(Setting("tmpcpu", "0"), "<missing>") << "the first call publishes nothing";
  Sleep(500);
  ASSERT_EQ(get_(values_), 4);
  ExpectShares({50, 10, 25, 85});
  EXPECT_EQ(Published(4), (std::vector<std::string>{"Idle", "insp_a", "insp_b", "_Total"}));

  // insp_b ends and insp_c starts: new instances read 0, names stay aligned.
  provider_.SetLoad("Idle=50;insp_a=10;insp_c=40;_Total=85");
  Sleep(500);
  ASSERT_EQ(get_(values_), 4);
  ExpectShares({50, 10, 0, 85});
  EXPECT_EQ(values_[2], 0);
  EXPECT_EQ(Published(4), (std::vector<std::string>{"Idle", "insp_a", "insp_c", "_Total"}));
}

TEST_F(CpuUsage, ABlockLargerThanTheFirstBufferIsReadWhole) {
  // About 140 KB of instances; Wine reports no size when the buffer is short.
  std::string spec;
  for (int i = 0; i < 300; ++i) spec += "insp_" + std::string(180, 'x') + std::to_string(i) + "=1;";
  spec += "_Total=90";
  provider_.SetLoad(spec);
  EXPECT_EQ(get_(values_), 0);
  Sleep(500);
  ASSERT_EQ(get_(values_), 301);
  EXPECT_NEAR(values_[0], 1, 1);
  EXPECT_NEAR(values_[300], 90, 3);
  EXPECT_EQ(Setting("tmpcpu", "300"), "_Total");
}

TEST_F(CpuUsage, FullRefreshSharesTheTotalAmongAProgramsInstances) {
  std::string exe = CopyOfWindowsFixture("insp_cpu.exe");
  Process a, b;
  ASSERT_TRUE(StartWindows(a, exe, "app:cpu_a", "cpu_a"));
  ASSERT_TRUE(StartWindows(b, exe, "app:cpu_b", "cpu_b"));
  // Every instance carries the program's name, as in the system's data.
  provider_.SetLoad("Idle=0;insp_cpu=10.5;insp_cpu=5.5;_Total=200.5");
  ASSERT_TRUE(tl::FlagOf(ModProgInfo::ProcessQuery(tl::kProcRefresh, "")));  // first measurement
  Sleep(500);
  AllowRefresh();
  ASSERT_TRUE(tl::FlagOf(ModProgInfo::ProcessQuery(tl::kProcRefresh, "")));
  const tl::ProgRow* row = nullptr;
  for (const tl::ProgRow& r : ModProgInfo::Picture.ProgTable)
    if (r[tl::kCellName] == NtName(a)) row = &r;
  ASSERT_TRUE(row);
  EXPECT_EQ((*row)[tl::kCellInstances], "2");
  // 10 and 5 of 200; the clock's jitter moves the total by a point at most.
  EXPECT_NEAR(std::stod((*row)[tl::kCellCpuShare]), 7.5, 0.15) << (*row)[tl::kCellCpuShare];
  EXPECT_EQ(Setting("tmpcpu", "0"), "<missing>") << "the program empties the section again";
}
