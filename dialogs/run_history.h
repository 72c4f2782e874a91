// The Run dialog's command rules and its history in "prog.ini" (section
// "RunApp": "Number" = index of the last entry, "App0", "App1", … oldest
// first), over an INI get/put handed in by the caller.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

inline constexpr size_t kRunHistoryMax = 20;
inline constexpr const char* kRunSection = "RunApp";

// A command without a dot is a program: ".exe" is added.
std::string RunCommandText(std::string_view typed);
// Appends the command; the oldest entries go when the list grows beyond the limit.
void AddToRunHistory(std::vector<std::string>& history, const std::string& command);

// The places a command is looked for, in order: as typed, in the Windows
// directory, in the system directory.
std::vector<std::string> RunCandidates(const std::string& command, const std::string& windowsDir,
                                       const std::string& systemDir);

using IniGet = std::function<std::string(const std::string& key)>;
using IniPut = std::function<void(const std::string& key, const std::string& value)>;
std::vector<std::string> LoadRunHistory(const IniGet& get);
// Empties the entries the file listed, then writes the list and its "Number".
void SaveRunHistory(const IniGet& get, const IniPut& put, const std::vector<std::string>& history);

}  // namespace tl
