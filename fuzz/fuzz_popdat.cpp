// Pop.dat images: records of any length, counts of any text.
#include "fuzz_check.h"
#include "popup/pop_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::string_view image(reinterpret_cast<const char*>(data), size);
  std::vector<tl::PopDatRecord> browsers = tl::PopDatBrowsers(image);
  size_t present = size / tl::kPopRecordSize;
  FUZZ_CHECK(browsers.size() + 1 <= (present ? present : 1));
  for (const tl::PopDatRecord& r : browsers) {
    for (const std::string* t : {&r.DisplayName, &r.ExeName, &r.MenuName[0], &r.MenuName[1]}) {
      FUZZ_CHECK(t->size() <= 256 && t->find('\0') == std::string::npos);
      FUZZ_CHECK(t->empty() || (t->front() != ' ' && t->back() != ' '));
    }
    tl::VersionApplies(r.Version, r.DisplayName);
  }
  FUZZ_CHECK(!tl::ReadPopRecord(image, present + 1));
  return 0;
}
