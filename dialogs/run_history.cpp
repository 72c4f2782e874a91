#include "dialogs/run_history.h"

#include "app/conversions.h"

namespace tl {

namespace {
// "Number" as written by a person or an older copy may be anything: a text
// that is no index reads as no history, and a huge one is held to a bound
// so that opening or closing the dialog cannot read for ever.
constexpr int kMostIndexRead = 999;

int LastIndex(const std::string& number) {
  if (number.empty()) return -1;
  auto n = ParseInt32(number);
  if (!n || *n < 0) return -1;
  return *n > kMostIndexRead ? kMostIndexRead : *n;
}

std::string AppKey(size_t i) { return "App" + std::to_string(i); }
}  // namespace

std::string RunCommandText(std::string_view typed) {
  std::string s(typed);
  if (s.find('.') == std::string::npos) s += ".exe";
  return s;
}

void AddToRunHistory(std::vector<std::string>& history, const std::string& command) {
  history.push_back(command);
  if (history.size() > kRunHistoryMax)
    history.erase(history.begin(), history.end() - kRunHistoryMax);
}

std::vector<std::string> RunCandidates(const std::string& command, const std::string& windowsDir,
                                       const std::string& systemDir) {
  return {command, windowsDir + "\\" + command, systemDir + "\\" + command};
}

std::vector<std::string> LoadRunHistory(const IniGet& get) {
  std::vector<std::string> history;
  int last = LastIndex(get("Number"));
  for (int i = 0; i <= last; ++i) history.push_back(get(AppKey(i)));
  // A file with more than the limit keeps its newest entries.
  if (history.size() > kRunHistoryMax)
    history.erase(history.begin(), history.end() - kRunHistoryMax);
  return history;
}

void SaveRunHistory(const IniGet& get, const IniPut& put, const std::vector<std::string>& history) {
  int last = LastIndex(get("Number"));
  for (int i = 0; i <= last; ++i) put(AppKey(i), "");
  if (history.empty()) return;
  put("Number", std::to_string(history.size() - 1));
  for (size_t i = 0; i < history.size(); ++i) put(AppKey(i), history[i]);
}

}  // namespace tl
