#include "inspect/process_query.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "app/conversions.h"

namespace tl {

bool WalksLiveProcesses(int32_t code) {
  return code == kProcIsRunning || code == kProcRefresh || code == kProcReserved;
}

bool IsLightRefresh(std::string_view arg) { return arg == "True"; }

bool RefreshAllowed(uint32_t nowTick, uint32_t lastFullRefreshTick) {
  return nowTick - lastFullRefreshTick >= 1000;
}

namespace {

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

uint32_t PidOf(std::string_view arg) { return static_cast<uint32_t>(NumericValue(arg)); }

}  // namespace

bool ProcessOpMatches(int32_t code, std::string_view name, uint32_t pid, uint32_t targetPid,
                      std::string_view arg) {
  if (pid == 0) return false;
  switch (code) {
    case kProcIsRunning:
    case kProcCountInstances:
    case kProcGetPriority:
      return EqualsIgnoreCase(name, arg);
    case kProcTerminateAll:
      // The trailing part of the path: "notepad.exe" also ends mynotepad.exe.
      return name.size() >= arg.size() && EqualsIgnoreCase(name.substr(name.size() - arg.size()), arg);
    case kProcWindowProgram:
      return pid == targetPid;
    case kProcTerminate:
    case kProcPidProgram:
      return pid == PidOf(arg);
    case kProcIsResponding:
      return name == arg;
    case kProcSetPriority:
      return !arg.empty() && EqualsIgnoreCase(arg.substr(0, arg.size() - 1), name);
    default:
      return false;
  }
}

bool ProcessOpStopsWalk(int32_t code) {
  switch (code) {
    case kProcIsRunning:
    case kProcWindowProgram:
    case kProcTerminate:
    case kProcIsResponding:
    case kProcPidProgram:
    case kProcGetPriority:
      return true;
    default:
      return false;
  }
}

std::optional<int> PriorityIndexOf(std::string_view arg) {
  if (arg.empty()) return std::nullopt;
  char c = arg.back();
  if (c < '0' || c > '3') return std::nullopt;
  return c - '0';
}

std::string PriorityName(uint32_t priorityClass, const PriorityTable& classes) {
  static const char* const kNames[] = {"Idle", "Normal", "High", "Realtime"};
  for (size_t i = 0; i < classes.size(); ++i)
    if (classes[i] == priorityClass) return kNames[i];
  return "";
}

bool IsOwnProcess(std::string_view name, uint32_t pid, std::string_view ownExePath,
                  uint32_t ownPid) {
  return pid == ownPid || EqualsIgnoreCase(name, ownExePath);
}

void ProcessPicture::Clear() {
  SnapPids.clear();
  SnapNames.clear();
  ProgTable.clear();
}

std::string ProcessPicture::NameOf(uint32_t pid) const {
  for (size_t i = 0; i < SnapPids.size(); ++i)
    if (SnapPids[i] == pid && pid != 0) return SnapNames[i];
  return "";
}

bool HasRow(int specialAction) {
  return specialAction != kHideFromList && specialAction != kHideWithWindows;
}

void AddToPicture(ProcessPicture& picture, std::string_view name, uint32_t pid, int specialAction,
                  const ProcessFacts* facts) {
  picture.SnapPids.push_back(pid);
  picture.SnapNames.emplace_back(name);
  if (!HasRow(specialAction)) return;

  ProgRow* row = nullptr;
  for (ProgRow& r : picture.ProgTable)
    if (r[kCellName] == name) {
      row = &r;
      break;
    }
  if (row) {
    (*row)[kCellInstances] = std::to_string(ParseInt32((*row)[kCellInstances]).value_or(0) + 1);
  } else {
    ProgRow fresh;
    fresh[kCellName] = std::string(name);
    fresh[kCellInstances] = std::string(1, '1');
    row = &picture.ProgTable.emplace_back(std::move(fresh));
  }
  if (facts) {
    (*row)[kCellResponding] = FlagText(facts->responding);
    (*row)[kCellPriority] = facts->priorityName;
  }
}

SpecialLookup::SpecialLookup(SettingsEnv& env, SettingsRecord& rec) : env_(env), rec_(rec) {
  std::vector<SpecialProgramEntry> entries;
  for (int i = 1; i <= rec.SProgCount; ++i) {
    StoreRead r = env.store.Read(kAppTitle, "Options", "SProg" + std::to_string(i));
    SpecialProgramEntry e;
    if (r.status != StoreRead::Ok || !ParseSpecialProgram(r.text, e)) return;
    entries.push_back(std::move(e));
  }
  entries_ = std::move(entries);
}

int SpecialLookup::Action(std::string_view path) {
  if (entries_) return MatchSpecialProgram(*entries_, path);
  return SpecialProgramList(env_, rec_, kLookupSpecialProgram, path, nullptr);
}

std::string ProgramBase(std::string_view path) {
  size_t slash = path.rfind('\\');
  std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  size_t dot = file.rfind('.');
  return std::string(dot == std::string_view::npos ? file : file.substr(0, dot));
}

std::string ShareText(double share) {
  double tenths = std::round(share * 10);
  if (std::fmod(tenths, 10) == 0) return std::to_string(static_cast<long long>(tenths / 10));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", tenths / 10);
  return buf;
}

void ApplyCpuShares(std::vector<ProgRow>& table, const std::vector<std::string>& names,
                    const int32_t* values, size_t count) {
  count = std::min(count, names.size());
  for (ProgRow& row : table) {
    std::string base = ProgramBase(row[kCellName]);
    row[kCellCpuShare] = std::string(1, '0');
    if (count == 0) continue;
    int32_t total = values[count - 1];
    for (size_t k = 0; k < count; ++k) {
      if (!EqualsIgnoreCase(names[k], base) || values[k] <= 0 || total <= 0) continue;
      double sum = ParseNumber(row[kCellCpuShare]).value_or(0) + values[k] * 100.0 / total;
      row[kCellCpuShare] = ShareText(std::round(sum * 10) / 10);
    }
  }
}

std::string TranslationKey(const uint8_t (&entry)[4]) {
  unsigned language = entry[0] + 256u * entry[1];
  unsigned codePage = entry[2] + 256u * entry[3];
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", language * 65536u + codePage);
  return buf;
}

std::string CutAtNul(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

}  // namespace tl
