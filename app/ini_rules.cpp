#include "app/ini_rules.h"

#include "app/conversions.h"

namespace tl {

std::optional<std::string> IniArgumentError(std::string_view mode, std::string_view section,
                                            std::string_view key) {
  if (mode.empty()) return "ERROR MODE";
  if (section.empty()) return "ERROR Secname";
  if (key.empty()) return "ERROR Keyname";
  return std::nullopt;
}

IniMode IniModeOf(std::string_view mode) {
  std::string m = ToUpper(mode);
  if (m == "WRITE") return IniMode::Write;
  if (m == "GET") return IniMode::Get;
  return IniMode::Other;
}

std::string IniGetResult(std::string_view buffer) {
  std::string_view text = buffer.substr(0, buffer.find('\0'));
  if (text.substr(0, 6) == kIniMissing) return "";
  return TrimRight(text);
}

int ClassCountOf(std::string_view number) {
  auto n = ParseInt32(number);
  if (!n || *n < 0) return 0;
  return *n > kMaxClassCount ? kMaxClassCount : *n;
}

}  // namespace tl
