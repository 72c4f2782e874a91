// White entries and special-program entries as stored texts: parsing,
// writing back, and matching against window names, addresses and paths.
#include "app/settings.h"
#include "fuzz_check.h"
#include "popup/pop_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::vector<std::string> v = FuzzLines(data, size);
  v.resize(4);
  tl::BrowserEntry b;
  for (int j = 0; j < tl::kWhiteEntries; ++j) {
    b.PreDefinedWhite[j].WhiteType = j % 2;
    b.PreDefinedWhite[j].ExactText = static_cast<int16_t>(j / 3);
  }
  b.PreDefinedWhite[0].URL_Or_Name_text = v[0];
  b.PreDefinedWhite[3].URL_Or_Name_text = v[1];
  bool matched = tl::WhiteEntryMatches(b, 0, v[2]);
  if (!v[0].empty() && v[2].find(v[0]) != std::string::npos) FUZZ_CHECK(matched);
  FUZZ_CHECK(!tl::WhiteEntryMatches(b, 1, ""));
  tl::WhiteEntryMatches(b, 1, v[3]);

  std::vector<tl::SpecialProgramEntry> entries;
  for (const std::string& text : v) {
    tl::SpecialProgramEntry e;
    if (!tl::ParseSpecialProgram(text, e)) continue;
    // What the Options dialog writes back reads as the same entry.
    tl::SpecialProgramEntry again;
    if (e.path.find_first_of(",;") == std::string::npos) {
      FUZZ_CHECK(tl::ParseSpecialProgram(tl::SpecialProgramText(e), again));
      FUZZ_CHECK(again.path == e.path && again.action == e.action && again.state == e.state);
    }
    entries.push_back(e);
  }
  int action = tl::MatchSpecialProgram(entries, v[3]);
  if (action != -1) {
    bool found = false;
    for (const auto& e : entries) found = found || (tl::SpecialProgramMatches(e, v[3]) && e.action == action);
    FUZZ_CHECK(found);
  }
  tl::ActionIndex(tl::ActionCaption(action));
  return 0;
}
