// The rules of the one access path to "prog.ini" (argument checks, modes and
// the reading of what came back), apart from the file functions themselves.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tl {

enum class IniMode { Write, Get, Other };

// "ERROR MODE", "ERROR Secname" or "ERROR Keyname" (checked in that order),
// or nullopt when the arguments are usable.
std::optional<std::string> IniArgumentError(std::string_view mode, std::string_view section,
                                            std::string_view key);
IniMode IniModeOf(std::string_view mode);  // case-insensitive

// What a GET returns for the bytes read into its buffer: up to the first NUL,
// trailing blanks removed; "" when the text starts with the "Failed" default.
std::string IniGetResult(std::string_view buffer);
inline constexpr const char* kIniMissing = "Failed";

// The number of class names to read for "Classes"/"Number": "" and texts that
// are not a count read as 0; counts are capped so a damaged file cannot make
// start-up read for ever.
inline constexpr int kMaxClassCount = 1024;
int ClassCountOf(std::string_view number);

}  // namespace tl
