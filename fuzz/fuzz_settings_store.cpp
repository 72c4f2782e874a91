// Whole stores of stored texts: each line of the input becomes one value of
// "Options", "MoreTools", "General" or "PopUp". Whatever was stored, a load
// that had to recover leaves a store the next start loads without a message.
#include "app/settings.h"
#include "fuzz_check.h"
#include "popup/pop_lists.h"

namespace {

const char* const kKeys[][2] = {
    {"Options", "LANCon"},        {"Options", "SProgCount"},     {"Options", "SProg1"},
    {"Options", "SProg2"},        {"Options", "RunAtStartUp"},   {"Options", "AppHK.Modifiers"},
    {"Options", "AppList"},       {"Options", "PopPlaySndFile"}, {"MoreTools", "BlockPopUps"},
    {"MoreTools", "BlockMessenger"}, {"General", "UpdateSpeed"}, {"General", "AlwaysOnTop"},
    {"PopUp", "BrowsersLst_Total"}, {"PopUp", "TotalBlockCnt"}, {"PopUp", "TotalBlockSince"},
    {"PopUp", "Browsers(0).Path"},  {"PopUp", "Browsers(0).HidePop"}, {"PopUp", "Browsers(1).MenuName(0)"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::vector<std::string> lines = FuzzLines(data, size);
  tl::MemorySettingsStore store;
  for (size_t i = 0; i < lines.size() && i < std::size(kKeys); ++i)
    if (!lines[i].empty()) store.Write(tl::kAppTitle, kKeys[i][0], kKeys[i][1], lines[i]);
  int errors = 0;
  tl::SettingsEnv env{store, {"C:\\TL", "C:\\WINDOWS", "C:\\WINDOWS\\system32"},
                      [&](std::string_view) { ++errors; }};

  tl::SettingsRecord rec;
  tl::LoadOptions(env, rec);
  std::vector<tl::SpecialProgramRow> rows;
  tl::SpecialProgramList(env, rec, tl::kLoadSpecialPrograms, "", &rows);
  tl::SpecialProgramList(env, rec, tl::kLookupSpecialProgram, "c:\\windows\\explorer.exe", nullptr);
  FUZZ_CHECK(rec.SProgCount >= 0);
  tl::GeneralSettings g = tl::LoadGeneralSettings(env, 10, 20);
  FUZZ_CHECK(g.UpdateSpeed >= 0 && g.UpdateSpeed <= 3);

  // The next start.
  errors = 0;
  tl::SettingsRecord again;
  tl::LoadOptions(env, again);
  tl::SpecialProgramList(env, again, tl::kLookupSpecialProgram, "c:\\x.exe", nullptr);
  tl::LoadGeneralSettings(env, 10, 20);
  FUZZ_CHECK(errors == 0);
  FUZZ_CHECK(again.LANCon == rec.LANCon);

  std::vector<tl::BrowserEntry> browsers = tl::LoadBrowserEntries(store);
  FUZZ_CHECK(browsers.size() <= tl::kMaxBrowsers);
  tl::PopupCounters counters = tl::LoadCounters(store, "07/12/2026");
  FUZZ_CHECK(!counters.TotalBlockSince.empty());
  return 0;
}
