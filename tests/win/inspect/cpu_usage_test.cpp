// GetCpuUsage of corvel.dll through the real HKEY_PERFORMANCE_DATA path, fed
// by the test provider.
#include <gtest/gtest.h>

#include "app/program_win.h"
#include "insp_test_util.h"

using namespace tltest;
using namespace insptest;

namespace {

using CpuFn = long(WINAPI*)(long*);
const char* const kProviderKey = "System\\CurrentControlSet\\Services\\insp_perf";

class CpuUsage : public InspTest {
 protected:
  void SetUp() override {
    InspTest::SetUp();
    // The test provider, registered for the test and kept loaded by it, so
    // that the loads it is given live on between the system's loads.
    std::string dll = FixturePath("insp_perfprov\\insp_perfprov.dll");
    provider_ = LoadLibraryA(dll.c_str());
    ASSERT_TRUE(provider_);
    setLoad_ = reinterpret_cast<void(WINAPI*)(const char*)>(
        reinterpret_cast<void*>(GetProcAddress(provider_, "InspPerfSetLoad")));
    ASSERT_TRUE(setLoad_);
    lastQuery_ = reinterpret_cast<const wchar_t*(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(provider_, "InspPerfLastQuery")));
    ASSERT_TRUE(lastQuery_);
    const std::string perf = std::string(kProviderKey) + "\\Performance";
    for (auto [name, value] : {std::pair<const char*, std::string>{"Library", dll},
                               {"Open", "InspOpen"}, {"Collect", "InspCollect"}, {"Close", "InspClose"}})
      WriteRaw(HKEY_LOCAL_MACHINE, perf, name, REG_SZ, value + '\0');
    // The program makes sure the section exists before the first call.
    HKEY k;
    if (RegCreateKeyA(HKEY_CURRENT_USER, SettingsKey("tmpcpu").c_str(), &k) == 0) RegCloseKey(k);
    // The copy beside this program is the one the program's binding loads too.
    HMODULE corvel = LoadLibraryA((ModMain::Prog().ProgramFolder + "\\corvel.dll").c_str());
    ASSERT_TRUE(corvel);
    get_ = reinterpret_cast<CpuFn>(reinterpret_cast<void*>(GetProcAddress(corvel, "GetCpuUsage")));
    ASSERT_TRUE(get_) << "exported by its plain name";
  }
  void TearDown() override {
    DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("tmpcpu"));
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kProviderKey);
    if (provider_) FreeLibrary(provider_);
    InspTest::TearDown();
  }
  // "name=percent;...": each instance's counter grows at that share of one processor.
  void SetLoad(const std::string& load) { setLoad_(load.c_str()); }
  // Wine stamps the block's time a little after the provider read its clock,
  // by more on a loaded machine, so every reading of a call strays by the same
  // factor: the readings are compared with the first one's (Idle, 50 %).
  void ExpectShares(const std::vector<std::pair<int, long>>& expected) {
    EXPECT_NEAR(values_[0], 50, 15);
    for (auto [i, share] : expected) EXPECT_NEAR(values_[i], share * values_[0] / 50.0, 2) << i;
  }

  HMODULE provider_ = nullptr;
  void(WINAPI* setLoad_)(const char*) = nullptr;
  const wchar_t*(WINAPI* lastQuery_)() = nullptr;
  CpuFn get_ = nullptr;
  long values_[1000] = {};
};

}  // namespace

TEST_F(CpuUsage, FirstCallAnswersNothingThenInstancesInOrderWithTheTotalLast) {
  SetLoad("Idle=50;insp_a=10;insp_b=25;_Total=85");
  EXPECT_EQ(get_(values_), 0);
  EXPECT_EQ(Setting("tmpcpu", "0"), "<missing>") << "the first call publishes nothing";
  EXPECT_STREQ(lastQuery_(), L"230") << "the Process object alone";
  Sleep(500);
  ASSERT_EQ(get_(values_), 4);
  ExpectShares({{1, 10}, {2, 25}, {3, 85}});
  std::vector<std::string> names;  // published in order, each filling the whole name buffer
  for (int i = 0; i < 4; ++i) {
    RawValue v = ReadRaw(HKEY_CURRENT_USER, SettingsKey("tmpcpu"), std::to_string(i));
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(v.bytes.size(), 256u);
    names.push_back(v.bytes.c_str());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Idle", "insp_a", "insp_b", "_Total"}));

  // About 320 KB of instances, past the first buffer; Wine reports no size
  // when the buffer is short.
  std::string load = "Idle=50;";
  for (int i = 0; i < 600; ++i) load += "insp_" + std::string(230, 'x') + std::to_string(i) + "=1;";
  SetLoad(load + "_Total=85");
  Sleep(500);
  ASSERT_EQ(get_(values_), 602);
  ExpectShares({{1, 0}, {601, 85}});
  EXPECT_EQ(Setting("tmpcpu", "601"), "_Total");
  Sleep(500);
  ASSERT_EQ(get_(values_), 602);
  EXPECT_NEAR(values_[600], 1, 1) << "the new instances measured on the next call";
}
