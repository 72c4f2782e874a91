#include "popup/pop_detect_win.h"

#include <vector>

#include "app/conversions.h"
#include "app/corvel_win.h"
#include "app/main_loop.h"
#include "app/registry_win.h"
#include "app/startup_win.h"
#include "inspect/process_query_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/pop_lists_win.h"
#include "popup/pop_rules.h"
#include "shutdown/cancel_event_win.h"

namespace ModPop {

std::string CurrentURL;
bool UserPeek = false;

namespace {

constexpr const char* kTmp = "tmp";
constexpr const char* kDialogClass = "Internet Explorer_TridentDlgFrame";

tl::BrowserProcTable BrowserProcs;
tl::KnownDialogList KnownDialogs;

struct PopStateRecord {
  int32_t MouseTime = 0;
  std::string MouseTimeD;
  bool RunDialogOpen = false;
  uint32_t RunClosedTick = 0;
  HWND DialogSearchPos = nullptr;
};
PopStateRecord PopState;
uint32_t LastPurgeTick = 0;

// Reused between passes: a pass allocates nothing once these have grown.
std::vector<HWND> gSnapshot;
std::vector<std::string> gBrowserShortPaths;
struct PidPath {
  DWORD pid;
  std::string path;
};
std::vector<PidPath> gPidPaths;

// The hand-off key stays open: it is read ten times a second. A key deleted
// meanwhile (ERROR_KEY_DELETED) is opened again on the next use.
HKEY gTmpKey = nullptr;
std::string gMenuClearedAt;  // "Time" when "MenuName" was last emptied

HKEY TmpKey() {
  if (!gTmpKey)
    RegCreateKeyExA(HKEY_CURRENT_USER,
                    tl::RegistrySettingsStore::KeyPath(tl::kHandoffApp, kTmp).c_str(), 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &gTmpKey, nullptr);
  return gTmpKey;
}

void DropTmpKey() {
  if (gTmpKey) RegCloseKey(gTmpKey);
  gTmpKey = nullptr;
}

std::string Tmp(const char* key, const char* def) {
  HKEY k = TmpKey();
  if (!k) return def;
  tl::StoreRead r = tl::ReadStringValue(k, key);
  if (r.status == tl::StoreRead::Failed) {
    DropTmpKey();
    return def;
  }
  return r.status == tl::StoreRead::Ok ? r.text : def;
}

void SetTmp(const char* key, const char* value) {
  HKEY k = TmpKey();
  if (k && RegSetValueExA(k, key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(lstrlenA(value) + 1)) != ERROR_SUCCESS)
    DropTmpKey();
}

uint32_t HandleValue(HWND h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); }
HWND HandleOf(uint32_t v) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(v)); }

std::string ClassOf(HWND h) {
  char buf[256] = {};
  int n = GetClassNameA(h, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

std::string TitleOf(HWND h) {
  char buf[1024] = {};
  int n = GetWindowTextA(h, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

// Visible, with a small class icon, not a tool window. A failed icon read
// (another process's class under Wine) is no evidence of a missing icon.
bool IsCandidate(HWND h) {
  if (!IsWindowVisible(h)) return false;
  SetLastError(0);
  if (GetClassLongPtrA(h, GCLP_HICONSM) == 0 && GetLastError() == 0) return false;
  return !(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

BOOL CALLBACK CollectTopLevel(HWND h, LPARAM) {
  gSnapshot.push_back(h);
  return TRUE;
}

void TakeWindowSnapshot() {
  gSnapshot.clear();
  EnumWindows(CollectTopLevel, 0);
}

const std::string& ExePathOf(DWORD pid) {
  for (const PidPath& p : gPidPaths)
    if (p.pid == pid) return p.path;
  std::string path;
  if (HANDLE proc = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
    char buf[MAX_PATH * 2] = {};
    DWORD size = sizeof buf;
    if (QueryFullProcessImageNameA(proc, 0, buf, &size)) path.assign(buf, size);
    CloseHandle(proc);
  }
  gPidPaths.push_back({pid, std::move(path)});
  return gPidPaths.back().path;
}

void PrepareBrowserMatch() {
  gPidPaths.clear();
  gBrowserShortPaths.resize(Browsers.size());
  for (size_t k = 0; k < Browsers.size(); ++k)
    gBrowserShortPaths[k] = tl::ToUpper(ShortPathOf(Browsers[k].Path));
}

// The browser a window's program is, by short path; -1 when none. An empty
// short path (a browser no longer installed) matches nothing.
int MatchBrowser(const std::string& exePath) {
  std::string shortPath = tl::ToUpper(ShortPathOf(exePath));
  if (shortPath.empty()) return -1;
  for (size_t k = 0; k < gBrowserShortPaths.size(); ++k)
    if (gBrowserShortPaths[k] == shortPath) return static_cast<int>(k);
  return -1;
}

void RecordWindow(HWND h, DWORD pid) {
  int rec = BrowserProcs.Find(pid);
  if (rec < 0) rec = BrowserProcs.AddBrowserProcess(pid);
  if (!BrowserProcs.MarkWindowSeen(rec, HandleValue(h))) BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
}

void CheckWebPageDialogs(bool userAction, const std::string& menu) {
  if (!ModMain::Settings.BlockDialog) return;
  HWND dlg = FindWindowExA(nullptr, PopState.DialogSearchPos, kDialogClass, nullptr);
  PopState.DialogSearchPos = dlg;
  if (!dlg || !IsWindowVisible(dlg)) return;
  std::string title = TitleOf(dlg);
  if (!tl::IsWebPageDialogTitle(title)) return;
  if (KnownDialogs.Contains(HandleValue(dlg))) {
    SetTmp("MenuName", "");
    return;
  }
  KnownDialogs.AddKnownDialog(HandleValue(dlg));
  if (menu.find("open in new window") != std::string::npos) {
    SetTmp("MenuName", "");
  } else if (!userAction) {
    ModMain::DetectorForm().ShowPop("", 0, dlg, 0, 0, true);
  }
  KnownDialogs.DropGone([](uint32_t h) { return IsWindow(HandleOf(h)) != FALSE; });
}

// The address of the browser window that was clicked, read from its Edits.
std::string AddressOfClickedBrowser(HWND clicked) {
  HWND top = clicked;
  for (int guard = 0; guard < 256; ++guard) {
    HWND parent = GetParent(top);
    if (!parent) break;
    top = parent;
  }
  EnumChildWindows(top, EnumURLProc, 0);
  return CurrentURL;
}

}  // namespace

std::string ShortPathOf(const std::string& path) {
  if (path.empty()) return "";
  char buf[164] = {};
  DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

BOOL CALLBACK EnumURLProc(HWND child, LPARAM) {
  char cls[16] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Edit") != 0) return TRUE;
  // Another program's Edit: never wait on a hung one.
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutA(child, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 200, &len)) return TRUE;
  if (len > 65536) len = 65536;
  std::string text(len + 10, '\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(child, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 200, &got))
    return TRUE;
  text.resize(text.find('\0'));
  if (text.find(':') != std::string::npos) CurrentURL = std::move(text);
  return TRUE;
}

bool IsBrowserWhiteListed(int type, const std::string& text, int k, HWND window) {
  if (text.empty()) return false;
  if (text == "Microsoft Internet Explorer" && type == 1) return ClassOf(window) == "HH Parent";
  if (k < 0 || k >= static_cast<int>(Browsers.size())) return false;
  return tl::WhiteEntryMatches(Browsers[k], type, text);
}

void TakeQuickSnapshot() { ModProgInfo::ProcessQuery(tl::kProcRefresh, "True"); }

void StartPopupBlocking() {
  TakeWindowSnapshot();
  Corvel::InstallMainHook(ModMain::CancelForm().hwnd(), 1);
  SetTmp("MenuName", "");
  HWND first = nullptr;
  for (HWND d = FindWindowExA(nullptr, nullptr, kDialogClass, nullptr); d;
       d = FindWindowExA(nullptr, d, kDialogClass, nullptr)) {
    if (d == first) break;
    if (!first) first = d;
    if (IsWindowVisible(d) && !KnownDialogs.Contains(HandleValue(d))) KnownDialogs.AddKnownDialog(HandleValue(d));
  }
  PrepareBrowserMatch();
  for (HWND h : gSnapshot) {
    if (!IsCandidate(h)) continue;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (MatchBrowser(ExePathOf(pid)) < 0) continue;
    RecordWindow(h, pid);
  }
}

void StopPopupBlocking() { Corvel::InstallMainHook(ModMain::CancelForm().hwnd(), 0); }

void DetectPopups() {
  uint32_t now = GetTickCount();
  PopUpDetectorScrFrm& screen = ModMain::DetectorForm();

  // 1. A menu item clicked in the last three seconds.
  std::string menu;
  std::string menuTime = Tmp("Time", "0");
  if (tl::MenuClickFresh(now, tl::HandoffNumber(menuTime))) {
    menu = tl::ToLower(tl::StripAccessKey(Tmp("MenuName", "")));
  } else if (menuTime != gMenuClearedAt) {
    // Emptied once per expired click, not on every pass: a new click
    // comes with a new "Time".
    SetTmp("MenuName", "");
    gMenuClearedAt = menuTime;
  }
  // 2. Ctrl or Shift held.
  bool userAction = (GetAsyncKeyState(VK_CONTROL) & 0x8000) || (GetAsyncKeyState(VK_SHIFT) & 0x8000);
  // 3. The system's Run dialog.
  if (FindWindowExA(nullptr, nullptr, "#32770", "Run")) {
    PopState.RunDialogOpen = true;
  } else if (PopState.RunDialogOpen) {
    PopState.RunDialogOpen = false;
    PopState.RunClosedTick = now;
  }
  // 4.
  CheckWebPageDialogs(userAction, menu);
  // 5. The user's own peek at a hidden pop-up made window events: not new.
  if (UserPeek) {
    SetTmp("NewWin", "0");
    UserPeek = false;
    return;
  }
  // 6. Nothing new.
  if (tl::HandoffNumber(Tmp("NewWin", "0")) == 0) {
    if (IsWindowVisible(screen.hwnd())) screen.Timer1_Timer();
    return;
  }
  // 7.
  if (!PopState.RunDialogOpen && tl::RunDialogJustClosed(now, PopState.RunClosedTick)) {
    userAction = true;
    PopState.RunClosedTick = 0;
  }
  // 8. The click-to-window interval.
  int32_t interval = 0;
  if (auto t = ModMain::Store().Get(tl::kAppTitle, "General", "var_WIN_MOUSE_TIMER ", "0"))
    interval = tl::HandoffNumber(*t);
  if (interval == 0) {
    interval = tl::kDefaultClickInterval;
    ModMain::Store().Write(tl::kAppTitle, "General", "var_WIN_MOUSE_TIMER ", "1500");
  }
  // 9. A click in the page just before.
  if (ModMain::Settings.BlockMode == 1) {
    tl::ClickEvidence e;
    e.WinTime = tl::HandoffNumber(Tmp("WinTime", "0"));
    HWND clicked = HandleOf(static_cast<uint32_t>(tl::HandoffNumber(Tmp("MouseHwnd", "0"))));
    e.MouseTime = PopState.MouseTime = tl::HandoffNumber(Tmp("MouseTime", "0"));
    e.MouseTimeD = PopState.MouseTimeD = Tmp("MouseTimeD", "");
    if (clicked && IsWindow(clicked)) {
      e.ClickedClass = ClassOf(clicked);
      if (HWND parent = GetParent(clicked)) e.ClickedParentClass = ClassOf(parent);
      if (tl::ClickMayAllow(e, interval)) {
        e.CurrentAddress = AddressOfClickedBrowser(clicked);
        if (tl::ClickInPageAllows(e, interval)) userAction = true;
      }
    }
  }
  // 10.
  SetTmp("NewWin", "0");
  // 11. Purge every two seconds: windows not seen by the next walk are gone.
  bool purgeDue = false;
  int32_t sincePurge = tl::TickDiff(now, LastPurgeTick);
  if (sincePurge > tl::kPurgeEveryMs || sincePurge < 0) {
    purgeDue = true;
    LastPurgeTick = now;
    BrowserProcs.ClearSeen();
  }
  // 12. Judge the new windows of listed browsers, topmost first.
  bool judged = false;
  TakeWindowSnapshot();
  PrepareBrowserMatch();
  for (HWND h : gSnapshot) {
    if (!IsCandidate(h)) continue;
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(h, &pid);
    int k = MatchBrowser(ExePathOf(pid));
    if (k < 0) continue;
    int rec = BrowserProcs.Find(pid);
    if (rec < 0) {
      // A browser process not seen before: its first windows are its own.
      BrowserProcs.AddBrowserWindow(BrowserProcs.AddBrowserProcess(pid), HandleValue(h));
      continue;
    }
    if (BrowserProcs.MarkWindowSeen(rec, HandleValue(h))) {
      SetTmp("MenuName", "");
      continue;
    }
    judged = true;
    if (tl::MenuRuleAllows(menu, Browsers[k])) {
      SetTmp("MenuName", "");
      BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
    } else if (userAction) {
      BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
    } else {
      BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
      screen.ShowPop(TitleOf(h), static_cast<int16_t>(k), h, static_cast<int16_t>(rec), tid, false);
    }
  }
  // 13.
  if (purgeDue) BrowserProcs.Purge();
  // 14.
  if (IsWindowVisible(screen.hwnd())) screen.Timer1_Timer();
  // The click was used up by a window it may have opened; a pass woken by
  // some other program's window leaves it for the window still to come.
  if (judged) SetTmp("MouseHwnd", "0");
}

}  // namespace ModPop
