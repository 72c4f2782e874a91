// What GetPrivateProfileStringA leaves in the buffer of a GET, and the class
// count read from "Classes"/"Number": prog.ini may hold anything.
#include "app/ini_rules.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::string_view buffer(reinterpret_cast<const char*>(data), size);
  std::string got = tl::IniGetResult(buffer);
  FUZZ_CHECK(got.find('\0') == std::string::npos && got.size() <= size);
  FUZZ_CHECK(got.empty() || (got.back() != ' ' && got.back() != '\t'));
  FUZZ_CHECK(got.substr(0, 6) != tl::kIniMissing);
  int count = tl::ClassCountOf(got);
  FUZZ_CHECK(count >= 0 && count <= tl::kMaxClassCount);
  std::vector<std::string> parts = FuzzLines(data, size);
  parts.resize(3);
  auto error = tl::IniArgumentError(parts[0], parts[1], parts[2]);
  FUZZ_CHECK(error.has_value() == (parts[0].empty() || parts[1].empty() || parts[2].empty()));
  tl::IniModeOf(parts[0]);
  return 0;
}
