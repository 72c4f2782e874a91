#include "inspect/process_query_win.h"

#include <commdlg.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "app/conversions.h"
#include "app/hook_library_win.h"
#include "app/program_win.h"
#include "inspect/window_list_win.h"

namespace ModProgInfo {

tl::ProcessPicture Picture;
std::string LastProgName;
int16_t InstanceCount = 0;
DWORD LastFullRefreshTick = 0;
std::string VerInfo[8];

namespace {

using tl::ProcessHandle;

// The special-program lookup of the refresh under way, if any.
tl::SpecialLookup* gRefreshSpecial = nullptr;

struct RefreshScope {
  explicit RefreshScope(tl::SpecialLookup* lookup) { gRefreshSpecial = lookup; }
  ~RefreshScope() { gRefreshSpecial = nullptr; }
  RefreshScope(const RefreshScope&) = delete;
  RefreshScope& operator=(const RefreshScope&) = delete;
};

void Terminate(DWORD pid) {
  ProcessHandle h(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
  if (h) TerminateProcess(h.get(), 0);
}

// Code 2's work for one process.
void RefreshProcess(const std::string& name, DWORD pid, const std::string& arg) {
  if (tl::IsOwnProcess(name, pid, ModMain::Prog().OwnExePath, ModMain::Prog().OwnProcessId)) return;
  bool light = tl::IsLightRefresh(arg);
  // A full refresh leaves out what it cannot open; a light one opens nothing.
  ProcessHandle h(light ? nullptr : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!light && !h) return;
  // Entries are stored in lower case, as the window list and the terminate
  // question ask for them; snapshot names on the NT family are upper case.
  int action = gRefreshSpecial ? gRefreshSpecial->Action(tl::ToLower(name)) : -1;
  if (light || !tl::HasRow(action)) {
    tl::AddToPicture(Picture, name, pid, action, nullptr);
    return;
  }
  tl::ProcessFacts facts;
  facts.responding = IsProcessResponding(pid);
  facts.priorityName = PriorityName(GetPriorityClass(h.get()));
  tl::AddToPicture(Picture, name, pid, action, &facts);
}

// Applies the operation to every process of the snapshot until a hit.
bool WalkSnapshot(int32_t code, const std::string& arg, DWORD targetPid, std::string* out) {
  // Copies: an operation may not change the snapshot, but a terminate or a
  // message box could let other code run that does.
  std::vector<uint32_t> pids = Picture.SnapPids;
  std::vector<std::string> names = Picture.SnapNames;
  for (size_t i = 0; i < pids.size(); ++i)
    if (ProcessOp(code, names[i], pids[i], targetPid, arg, out)) return true;
  return false;
}

std::vector<DWORD> ProcessIds() {
  // The list grows until the system leaves part of it unused.
  DWORD size = 8, returned = 96;
  std::vector<DWORD> ids;
  while (size <= returned) {
    size *= 2;
    ids.assign(size / sizeof(DWORD), 0);
    if (!EnumProcesses(ids.data(), size, &returned)) {
      returned = 0;  // a failed call says nothing about the size needed
      break;
    }
  }
  ids.resize(std::min<size_t>(ids.size(), returned / sizeof(DWORD)));
  return ids;
}

// The executable names of a tool-help snapshot, for the processes whose
// path this program may not read (elevated, service and protected ones
// when it runs as a standard user).
struct ToolHelpNames {
  std::vector<std::pair<DWORD, std::string>> names;
  bool taken = false;
  std::string NameOf(DWORD pid) {
    if (!taken) {
      taken = true;
      tl::FileHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
      PROCESSENTRY32 entry{};
      entry.dwSize = sizeof entry;
      if (snap)
        for (BOOL more = Process32First(snap.get(), &entry); more; more = Process32Next(snap.get(), &entry))
          names.emplace_back(entry.th32ProcessID,
                             tl::CutAtNul(std::string_view(entry.szExeFile, sizeof entry.szExeFile)));
    }
    for (const auto& [id, name] : names)
      if (id == pid) return name;
    return "";
  }
};

// The NT family's live walk: executable paths in upper case. The path needs
// only the limited query right, which Windows grants for almost every process.
bool WalkNt(int32_t code, const std::string& arg, DWORD targetPid, std::string* out) {
  ToolHelpNames fallback;
  for (DWORD pid : ProcessIds()) {
    std::string path;
    ProcessHandle h(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    char buf[MAX_PATH * 4] = {};  // characters of a UTF-8 path take up to 3 bytes
    DWORD n = sizeof buf;
    if (h && QueryFullProcessImageNameA(h.get(), 0, buf, &n)) path.assign(buf, n);
    if (path.empty()) path = fallback.NameOf(pid);
    if (path.empty()) continue;
    if (ProcessOp(code, tl::ToUpper(path), pid, targetPid, arg, out)) return true;
  }
  return false;
}

// The tool-help walk: executable fields in lower case. nullopt when the
// system gives no snapshot.
std::optional<bool> WalkToolHelp(int32_t code, const std::string& arg, DWORD targetPid,
                                 std::string* out) {
  tl::FileHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snap) return std::nullopt;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snap.get(), &entry); more;
       more = Process32Next(snap.get(), &entry)) {
    std::string name = tl::ToLower(tl::CutAtNul(std::string_view(entry.szExeFile, sizeof entry.szExeFile)));
    if (ProcessOp(code, name, entry.th32ProcessID, targetPid, arg, out)) return true;
  }
  return false;
}

}  // namespace

bool ProcessOp(int32_t code, const std::string& name, DWORD pid, DWORD targetPid,
               const std::string& arg, std::string* outText) {
  if (pid == 0) return false;
  if (code == tl::kProcRefresh) {
    RefreshProcess(name, pid, arg);
    return false;
  }
  if (!tl::ProcessOpMatches(code, name, pid, targetPid, arg)) return false;
  switch (code) {
    case tl::kProcTerminateAll:
    case tl::kProcTerminate:
      Terminate(pid);
      break;
    case tl::kProcWindowProgram:
      LastProgName = tl::ToLower(name);
      break;
    case tl::kProcIsResponding:
      if (outText) *outText = tl::FlagText(IsProcessResponding(pid));
      break;
    case tl::kProcCountInstances:
      ++InstanceCount;
      break;
    case tl::kProcPidProgram:
      LastProgName = name;
      break;
    case tl::kProcSetPriority:
      if (auto index = tl::PriorityIndexOf(arg)) {
        ProcessHandle h(OpenProcess(PROCESS_SET_INFORMATION, FALSE, pid));
        if (h) SetPriorityClass(h.get(), ModMain::Prog().PriorityClasses[*index]);
      }
      break;
    case tl::kProcGetPriority: {
      ProcessHandle h(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
      if (outText) *outText = h ? PriorityName(GetPriorityClass(h.get())) : "";
      break;
    }
    default:
      break;
  }
  return tl::ProcessOpStopsWalk(code);
}

tl::QueryValue ProcessQuery(int32_t code, const std::string& arg) {
  bool fullRefresh = false;
  if (code == tl::kProcRefresh) {
    DWORD now = GetTickCount();
    if (!tl::RefreshAllowed(now, LastFullRefreshTick)) return false;
    fullRefresh = !tl::IsLightRefresh(arg);
    if (fullRefresh) LastFullRefreshTick = now;
    Picture.Clear();
  }
  InstanceCount = 0;

  DWORD targetPid = 0;
  if (code == tl::kProcWindowProgram) {
    HWND hwnd = ModWndOpr::HandleFromText(arg);
    if (!GetWindowThreadProcessId(hwnd, &targetPid) || targetPid == 0) return {};
  }

  bool live = tl::WalksLiveProcesses(code);
  std::string text;
  std::optional<bool> hit;
  {
    std::optional<tl::SpecialLookup> special;
    if (code == tl::kProcRefresh) special.emplace(ModMain::Prog().Env(), ModMain::Prog().Settings);
    RefreshScope scope(special ? &*special : nullptr);
    if (live && ModMain::Prog().IsNT)
      hit = WalkNt(code, arg, targetPid, &text);
    else if (live)
      hit = WalkToolHelp(code, arg, targetPid, &text);
    else
      hit = WalkSnapshot(code, arg, targetPid, &text);
  }
  if (!hit) return {};  // no tool-help snapshot

  if (ModMain::Prog().IsNT && fullRefresh) UpdateCpuShares();
  // The own process runs in the high class after its queries; the tool-help
  // family leaves it alone after a live walk.
  if (ModMain::Prog().IsNT || !live) SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);

  switch (code) {
    case tl::kProcIsRunning:
      return *hit;
    case tl::kProcRefresh:
    case tl::kProcReserved:
      return true;
    case tl::kProcWindowProgram:
    case tl::kProcTerminate:
    case tl::kProcPidProgram:
      return *hit;
    case tl::kProcIsResponding:
    case tl::kProcGetPriority:
      return text;
    case tl::kProcCountInstances:
      return static_cast<int64_t>(InstanceCount);
    default:
      return false;
  }
}

bool IsProcessResponding(DWORD pid) {
  using namespace ModWndOpr;
  bool pidsKnown = WndPids.size() == WndHandles.size();
  for (size_t i = 0; i < WndHandles.size(); ++i) {
    HWND h = WndHandles[i];
    DWORD owner = 0;
    if (pidsKnown)
      owner = WndPids[i];
    else
      GetWindowThreadProcessId(h, &owner);
    // A window closed since the enumeration is no longer the process's.
    if (owner != pid || !IsWindow(h)) continue;
    if (!IsWindowResponding(h, false)) return false;
  }
  return true;
}

std::string PriorityName(DWORD priorityClass) {
  tl::PriorityTable table;
  for (size_t i = 0; i < table.size(); ++i) table[i] = ModMain::Prog().PriorityClasses[i];
  return tl::PriorityName(priorityClass, table);
}

void UpdateCpuShares() {
  static long values[1000];
  long n = HookLibrary::GetCpuUsage(values);
  if (n < 0) return;  // no measurement: the library or its export is missing
  n = std::min<long>(n, 1000);
  std::vector<std::string> names;
  std::vector<int32_t> shares;
  for (long k = 0; k < n; ++k) {
    auto name = ModMain::Prog().Store.Get(tl::kAppTitle, "tmpcpu", std::to_string(k), "");
    if (!name) return;
    names.push_back(tl::CutAtNul(*name));
    shares.push_back(values[k]);
  }
  tl::ApplyCpuShares(Picture.ProgTable, names, shares.data(), shares.size());
  for (long k = 0; k < n; ++k) ModMain::Prog().Store.Delete(tl::kAppTitle, "tmpcpu", std::to_string(k));
}

std::string FileVersionInfo(int mode, const std::string& path) {
  auto fallback = [&]() -> std::string {
    char title[1024] = {};  // 255 characters, up to 3 bytes each in UTF-8
    GetFileTitleA(path.c_str(), title, sizeof title - 1);
    std::string t = tl::CutAtNul(std::string_view(title, sizeof title - 1));
    if (mode != 1) return t;
    for (std::string& v : VerInfo) v.clear();
    VerInfo[tl::kVerInternalName] = t;
    return "";
  };

  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size < 1) return fallback();
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return fallback();
  const char* end = data.data() + data.size();

  void* p = nullptr;
  UINT len = 0;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &p, &len) || !p || len < 4)
    return fallback();
  uint8_t entry[4];
  std::memcpy(entry, p, sizeof entry);
  std::string key = tl::TranslationKey(entry);

  std::string fields[8];
  for (int i = 0; i < 8; ++i) {
    std::string query = "\\StringFileInfo\\" + key + "\\" + tl::VerFieldNames[i];
    if (!VerQueryValueA(data.data(), query.c_str(), &p, &len) || !p) return fallback();
    const char* text = static_cast<const char*>(p);
    // At most 255 characters, and never past the version data.
    size_t room = text >= data.data() && text < end ? static_cast<size_t>(end - text) : 0;
    fields[i] = tl::CutAtNul(std::string_view(text, std::min<size_t>(room, 255)));
    if (mode == 2 && i == tl::kVerInternalName) return fields[i];
  }
  if (mode == 1)
    for (int i = 0; i < 8; ++i) VerInfo[i] = fields[i];
  return "";
}

}  // namespace ModProgInfo
