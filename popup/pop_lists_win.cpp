// The browser list, counters and blocked list of the running program, with
// their storage and the close-and-log operations the detector screen uses.
#include "app/conversions.h"
#include "app/program_win.h"
#include "app/registry_win.h"
#include "inspect/process_query_win.h"
#include "popup/pop_blocker_win.h"

namespace ModPop {

namespace {

std::string DateText(const SYSTEMTIME& t, DWORD flags) {
  char buf[128] = {};
  int n = GetDateFormatA(LOCALE_USER_DEFAULT, flags, &t, nullptr, buf, sizeof buf);
  return n > 0 ? std::string(buf) : std::string();
}

std::string Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DateText(now, DATE_SHORTDATE);
}

std::string NowText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char time[64] = {};
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, sizeof time);
  return DateText(now, DATE_SHORTDATE) + " " + time;
}

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return !path.empty() && a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The FileVersion of a program, as the version reader finds it.
std::string FileVersionOf(const std::string& path) {
  ModProgInfo::FileVersionInfo(1, path);
  return ModProgInfo::VerInfo[2];
}

}  // namespace

void PopupBlocker::Log(HWND window, BlockedRow row) {
  PostMessageA(window, WM_CLOSE, 0, 0);  // the window is closed, not its process
  row.PageAddress = CurrentURL;
  row.ClosedAt = NowText();
  BlockedList.push_back(std::move(row));
  if (Counters.TotalBlockCnt < INT16_MAX) ++Counters.TotalBlockCnt;
  tl::SaveBlockCount(ModMain::Prog().Store, Counters.TotalBlockCnt);
  if (ListsChanged) ListsChanged();
}

void PopupBlocker::ResetBlockCount() {
  Counters.TotalBlockSince = Today();
  ModMain::Prog().Store.Write(tl::kAppTitle, "PopUp", "TotalBlockSince", Counters.TotalBlockSince);
  Counters.TotalBlockCnt = 0;
  tl::SaveBlockCount(ModMain::Prog().Store, 0);
}

std::string ReadPopDat() {
  std::string path = ModMain::Prog().ProgramFolder + "\\Pop.dat";
  tl::FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return "";
  std::string data;
  LARGE_INTEGER size{};
  // Pop.dat holds a few dozen records; anything far larger is not ours.
  if (GetFileSizeEx(f.get(), &size) && size.QuadPart > 0 && size.QuadPart < 16 * 1024 * 1024) {
    data.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr)) got = 0;
    data.resize(got);
  }
  return data;
}

std::string BrowserDisplayName(const std::string& path) {
  ModProgInfo::FileVersionInfo(1, path);
  std::string description = ModProgInfo::VerInfo[1];
  return description.size() < 3 ? ModProgInfo::VerInfo[6] : description;
}

void PopupBlocker::LoadPopupLists() {
  tl::SettingsStore& store = ModMain::Prog().Store;
  Counters = tl::LoadCounters(store, Today());
  Browsers = tl::LoadBrowserEntries(store);
  std::string popDat = ReadPopDat();
  std::vector<tl::PopDatRecord> records = tl::PopDatBrowsers(popDat);
  for (tl::BrowserEntry& b : Browsers) {
    std::string lowerPath = tl::ToLower(b.Path);
    std::string version;
    bool versionRead = false;
    for (const tl::PopDatRecord& r : records) {  // every record: the last match wins
      if (tl::ToLower(modRegEnum::AppPathOf(r.ExeName)) != lowerPath || lowerPath.empty()) continue;
      if (!versionRead) {
        version = FileVersionOf(b.Path);
        versionRead = true;
      }
      if (!tl::VersionApplies(r.Version, version)) continue;
      for (int j = 0; j < tl::kWhiteEntries; ++j) b.PreDefinedWhite[j] = r.White[j];
    }
  }
  if (ListsChanged) ListsChanged();
}

void PopupBlocker::SavePopupLists() { tl::SavePopupLists(ModMain::Prog().Store, Browsers); }

bool PopupBlocker::AddPredefinedBrowser(const tl::PopDatRecord& record) {
  if (Browsers.size() >= tl::kMaxBrowsers) return false;
  tl::BrowserEntry b;
  b.Path = modRegEnum::AppPathOf(record.ExeName);
  b.MenuName[0] = record.MenuName[0];
  b.MenuName[1] = record.MenuName[1];
  b.HidePop = record.HidePop;
  b.PopDisNotf = record.PopDisNotf;
  Browsers.push_back(std::move(b));
  return true;
}

void PopupBlocker::ImportPredefinedBrowsers() {
  std::string popDat = ReadPopDat();
  for (const tl::PopDatRecord& r : tl::PopDatBrowsers(popDat)) {
    std::string path = modRegEnum::AppPathOf(r.ExeName);
    if (!IsFile(path)) continue;
    // A first run cut short after its import runs again: no second entry.
    bool listed = false;
    for (const tl::BrowserEntry& b : Browsers) listed = listed || tl::ToLower(b.Path) == tl::ToLower(path);
    if (listed) continue;
    if (tl::VersionApplies(r.Version, FileVersionOf(path))) AddPredefinedBrowser(r);
  }
  SavePopupLists();
  LoadPopupLists();
}

void PopupBlocker::ClosePopupAndLog(HWND window, const std::string& path, const std::string& title) {
  Log(window, {title.empty() ? "(none)" : title, "", BrowserDisplayName(path), "", path});
}

void PopupBlocker::CloseDialogAndLog(HWND window, const std::string& title) {
  Log(window, {title, "", "Internet Explorer", "", "Internet Explorer"});
}

}  // namespace ModPop
