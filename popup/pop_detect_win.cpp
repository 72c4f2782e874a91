// Pop-up detection: the judging of new browser windows and web-page dialogs
// from the hooks' hand-off values, the key state and the browser list.
#include <algorithm>
#include <exception>
#include <vector>

#include "app/conversions.h"
#include "app/hook_library_win.h"
#include "app/program_win.h"
#include "app/registry_win.h"
#include "app/ticks.h"
#include "inspect/process_query_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/pop_blocker_win.h"

namespace ModPop {

namespace {

constexpr const char* kTmp = "tmp";
constexpr const char* kDialogClass = "Internet Explorer_TridentDlgFrame";
// How long after its creation a window seen only by the watcher may still
// show and be judged.
constexpr int32_t kShowGraceMs = 2000;

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

BOOL CALLBACK FindExplorerPage(HWND child, LPARAM lp) {
  char cls[32];
  if (GetClassNameA(child, cls, sizeof cls) > 0 && lstrcmpA(cls, "Internet Explorer_Server") == 0) {
    *reinterpret_cast<bool*>(lp) = true;
    return FALSE;
  }
  return TRUE;
}

// Internet-Explorer-style windows show their page as an "Internet
// Explorer_Server" child; today's browsers draw theirs themselves.
bool HasExplorerPage(HWND h) {
  bool found = false;
  EnumChildWindows(h, FindExplorerPage, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Read only where a pass needs it: each read asks the window server.
bool CtrlOrShiftDown() {
  return (GetAsyncKeyState(VK_CONTROL) & 0x8000) || (GetAsyncKeyState(VK_SHIFT) & 0x8000);
}

BOOL CALLBACK CollectTopLevel(HWND h, LPARAM lp) {
  try {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
  } catch (const std::exception&) {
    return FALSE;  // out of memory: the walk ends with what it has
  }
}

}  // namespace

HKEY PopupBlocker::TmpKey() {
  if (!tmpKey_)
    RegCreateKeyExA(HKEY_CURRENT_USER,
                    tl::RegistrySettingsStore::KeyPath(tl::kHandoffApp, kTmp).c_str(), 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_NOTIFY, nullptr, tmpKey_.put(), nullptr);
  return tmpKey_.get();
}

void PopupBlocker::ArmHandoffNotice() {
  if (!handoffChanged_) handoffChanged_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!handoffChanged_) return;
  ResetEvent(handoffChanged_.get());
  HKEY k = TmpKey();
  notifyArmed_ = k && RegNotifyChangeKeyValue(k, FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                                              handoffChanged_.get(), TRUE) == ERROR_SUCCESS;
}

int PopupBlocker::PassWakeHandles(HANDLE* out) {
  // One request at a time: an armed one stays pending until it fires.
  if (!notifyArmed_) ArmHandoffNotice();
  int n = 0;
  if (notifyArmed_) out[n++] = handoffChanged_.get();
  if (HANDLE w = watcher_.WakeEvent()) out[n++] = w;
  return n;
}

void PopupBlocker::PassWoken(HANDLE signalled) {
  if (signalled != handoffChanged_.get()) return;
  ArmHandoffNotice();
  handoffFresh_ = false;
}

std::string PopupBlocker::Tmp(const char* key, const char* def) {
  HKEY k = TmpKey();
  if (!k) return def;
  tl::StoreRead r = tl::ReadStringValue(k, key);
  if (r.status == tl::StoreRead::Failed) {
    tmpKey_.reset();  // deleted meanwhile (ERROR_KEY_DELETED): open again next time
    notifyArmed_ = false;
    return def;
  }
  return r.status == tl::StoreRead::Ok ? r.text : def;
}

void PopupBlocker::SetTmp(const char* key, const char* value) {
  HKEY k = TmpKey();
  if (k && RegSetValueExA(k, key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(lstrlenA(value) + 1)) != ERROR_SUCCESS) {
    tmpKey_.reset();
    notifyArmed_ = false;
  }
  if (lstrcmpA(key, "NewWin") == 0) handoffNewWin_ = value;
}

void PopupBlocker::TakeWindowSnapshot() {
  snapshot_.clear();
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&snapshot_));
}

const std::string& PopupBlocker::ExePathOf(DWORD pid) {
  for (const PidPath& p : pidPaths_)
    if (p.pid == pid) return p.path;
  std::string path;
  tl::ProcessHandle proc(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (proc) {
    char buf[MAX_PATH * 4] = {};
    DWORD size = sizeof buf;
    if (QueryFullProcessImageNameA(proc.get(), 0, buf, &size)) path.assign(buf, size);
  }
  pidPaths_.push_back({pid, std::move(path)});
  return pidPaths_.back().path;
}

void PopupBlocker::PrepareBrowserMatch() {
  pidPaths_.clear();
  browserShortPaths_.resize(Browsers.size());
  for (size_t k = 0; k < Browsers.size(); ++k)
    browserShortPaths_[k] = UpperShortPathOf(Browsers[k].Path);
}

const std::string& PopupBlocker::UpperShortPathOf(const std::string& path) {
  for (const ShortPath& s : shortPaths_)
    if (s.path == path) return s.upperShort;
  std::string upper = tl::ToUpper(ShortPathOf(path));
  static const std::string none;
  // A path with no short form (a program not installed, yet) is asked again.
  if (upper.empty()) return none;
  if (shortPaths_.size() >= 256) shortPaths_.clear();
  shortPaths_.push_back({path, std::move(upper)});
  return shortPaths_.back().upperShort;
}

// The browser a window's program is, by short path; -1 when none. An empty
// short path (a browser no longer installed) matches nothing.
int PopupBlocker::MatchBrowser(const std::string& exePath) {
  const std::string& shortPath = UpperShortPathOf(exePath);
  if (shortPath.empty()) return -1;
  for (size_t k = 0; k < browserShortPaths_.size(); ++k)
    if (browserShortPaths_[k] == shortPath) return static_cast<int>(k);
  return -1;
}

void PopupBlocker::RecordWindow(HWND h, DWORD pid) {
  int rec = BrowserProcs.Find(pid);
  if (rec < 0) rec = BrowserProcs.AddBrowserProcess(pid);
  if (!BrowserProcs.MarkWindowSeen(rec, HandleValue(h))) BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
}

void PopupBlocker::CheckWebPageDialogs(PopUpDetectorScrFrm& screen, const std::string& menu) {
  if (!ModMain::Prog().Settings.BlockDialog) return;
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
  } else if (!CtrlOrShiftDown()) {
    screen.ShowPop("", 0, dlg, 0, 0, true);
  }
  KnownDialogs.DropGone([](uint32_t h) { return IsWindow(HandleOf(h)) != FALSE; });
}

// The address of the browser window that was clicked, read from its Edits.
std::string PopupBlocker::AddressOfClickedBrowser(HWND clicked) {
  HWND top = clicked;
  for (int guard = 0; guard < 256; ++guard) {
    HWND parent = GetParent(top);
    if (!parent) break;
    top = parent;
  }
  EnumChildWindows(top, EnumURLProc, reinterpret_cast<LPARAM>(&CurrentURL));
  return CurrentURL;
}

// The watcher's evidence for a new window: the input rules for today's
// browsers; for Internet-Explorer-style windows only Ctrl or Shift as they
// were at the click, since the key state at the pass may come too late.
bool PopupBlocker::UserAskedFor(HWND h, DWORD pid, const tl::InputEvidence& input, int32_t interval,
                                int blockMode, uint32_t now) const {
  uint32_t appeared = watcher_.AppearedAt(h);
  if (appeared == 0) appeared = now;
  if (HasExplorerPage(h)) return tl::RecordedModifierAsks(input, pid, appeared, interval);
  return tl::InputAsksForWindow(input, pid, appeared, interval, blockMode);
}

// The watcher looks closely only at new windows of these processes.
void PopupBlocker::PublishBrowserProcesses() {
  uint32_t pids[InputWatcher::kWatchedProcesses];
  int n = 0;
  for (const auto& r : BrowserProcs.records())
    if (r.pid && n < InputWatcher::kWatchedProcesses) pids[n++] = r.pid;
  watcher_.WatchProcesses(pids, n);
}

bool PopupBlocker::JudgedBefore(HWND h) const {
  return std::find(judged_.begin(), judged_.end(), HandleValue(h)) != judged_.end();
}

void PopupBlocker::NoteJudged(HWND h) {
  judged_[judgedNext_] = HandleValue(h);
  judgedNext_ = (judgedNext_ + 1) % judged_.size();
}

// A window the watcher saw created lately that is now a candidate of a
// listed browser and was never judged nor recorded. Windows of other
// programs are no news: a pass for them would clear a fresh menu click.
bool PopupBlocker::WatcherSawNewWindow(uint32_t now) {
  HWND recent[InputWatcher::kRecentWindows];
  int n = watcher_.CreatedWithin(now, kShowGraceMs, recent);
  bool prepared = false;
  for (int i = 0; i < n; ++i) {
    HWND h = recent[i];
    // Owned windows (an open menu, a tooltip) are no new browser window,
    // as the shell hook's news is only of unowned ones.
    if (GetWindow(h, GW_OWNER) || !IsCandidate(h) || JudgedBefore(h)) continue;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    int rec = BrowserProcs.Find(pid);
    if (rec >= 0) {
      const auto& windows = BrowserProcs.records()[rec].windows;
      if (std::any_of(windows.begin(), windows.end(),
                      [&](const tl::BrowserProcTable::Entry& e) { return e.hwnd == HandleValue(h); }))
        continue;
    }
    if (!prepared) PrepareBrowserMatch();
    prepared = true;
    if (MatchBrowser(ExePathOf(pid)) >= 0) return true;
  }
  return false;
}

bool PopupBlocker::WatcherSawHiddenWindow(uint32_t now) const {
  HWND recent[InputWatcher::kRecentWindows];
  int n = watcher_.CreatedWithin(now, kShowGraceMs, recent);
  for (int i = 0; i < n; ++i) {
    HWND h = recent[i];
    if (!IsWindow(h) || IsWindowVisible(h) || GetWindow(h, GW_OWNER) || JudgedBefore(h)) continue;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (BrowserProcs.Find(pid) >= 0) return true;
  }
  return false;
}

std::string ShortPathOf(const std::string& path) {
  if (path.empty()) return "";
  char buf[MAX_PATH * 4] = {};
  DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

BOOL CALLBACK EnumURLProc(HWND child, LPARAM lp) {
  try {
    char cls[16] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") != 0) return TRUE;
    // Another program's Edit: never wait on a hung one. One round trip for
    // an address of usual length (a new pop-up is read before it is hidden);
    // its length asked only when it filled the buffer.
    std::string text(1024, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 200, &got))
      return TRUE;
    DWORD_PTR len = 0;
    if (got + 1 >= text.size() &&
        SendMessageTimeoutA(child, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 200, &len) && len >= got) {
      if (len > 65536) len = 65536;
      text.assign(len + 10, '\0');
      if (!SendMessageTimeoutA(child, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, 200, &got))
        return TRUE;
    }
    text.resize(text.find('\0'));
    if (text.find(':') != std::string::npos) *reinterpret_cast<std::string*>(lp) = std::move(text);
    return TRUE;
  } catch (const std::exception&) {
    return FALSE;
  }
}

bool PopupBlocker::IsBrowserWhiteListed(int type, const std::string& text, int k, HWND window) const {
  if (text.empty()) return false;
  if (text == "Microsoft Internet Explorer" && type == 1) return ClassOf(window) == "HH Parent";
  if (k < 0 || k >= static_cast<int>(Browsers.size())) return false;
  return tl::WhiteEntryMatches(Browsers[k], type, text);
}

void TakeQuickSnapshot() { ModProgInfo::ProcessQuery(tl::kProcRefresh, "True"); }

void PopupBlocker::StartPopupBlocking(HWND hookOwner) {
  hookOwner_ = hookOwner;
  // Without the watcher, today's browsers are judged by the hand-off alone.
  watcher_.Start();
  TakeWindowSnapshot();
  HookLibrary::InstallMainHook(hookOwner_, 1);
  SetTmp("MenuName", "");
  HWND first = nullptr;
  for (HWND d = FindWindowExA(nullptr, nullptr, kDialogClass, nullptr); d;
       d = FindWindowExA(nullptr, d, kDialogClass, nullptr)) {
    if (d == first) break;
    if (!first) first = d;
    if (IsWindowVisible(d) && !KnownDialogs.Contains(HandleValue(d))) KnownDialogs.AddKnownDialog(HandleValue(d));
  }
  PrepareBrowserMatch();
  for (HWND h : snapshot_) {
    if (!IsCandidate(h)) continue;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (MatchBrowser(ExePathOf(pid)) < 0) continue;
    RecordWindow(h, pid);
  }
  PublishBrowserProcesses();
}

void PopupBlocker::StopPopupBlocking() {
  HookLibrary::InstallMainHook(hookOwner_, 0);
  watcher_.Stop();
}

void PopupBlocker::DetectPopups(PopUpDetectorScrFrm& screen) {
  const tl::SettingsRecord& settings = ModMain::Prog().Settings;
  tl::SettingsStore& store = ModMain::Prog().Store;
  uint32_t now = GetTickCount();

  if (!handoffFresh_ || !notifyArmed_) {
    handoffFresh_ = true;
    handoffTime_ = Tmp("Time", "0");
    handoffNewWin_ = Tmp("NewWin", "0");
  }
  // A menu item clicked in the last three seconds.
  std::string menu;
  if (tl::MenuClickFresh(now, tl::HandoffNumber(handoffTime_))) {
    menu = tl::ToLower(tl::StripAccessKey(Tmp("MenuName", "")));
  } else if (handoffTime_ != menuClearedAt_) {
    // Emptied once per expired click, not on every pass: a new click
    // comes with a new "Time".
    SetTmp("MenuName", "");
    menuClearedAt_ = handoffTime_;
  }
  // The system's Run dialog: open now, or when it closed.
  if (FindWindowExA(nullptr, nullptr, "#32770", "Run")) {
    PopState.RunDialogOpen = true;
  } else if (PopState.RunDialogOpen) {
    PopState.RunDialogOpen = false;
    PopState.RunClosedTick = now;
  }
  CheckWebPageDialogs(screen, menu);
  // The user's own peek at a hidden pop-up made window events: not new.
  if (UserPeek) {
    SetTmp("NewWin", "0");
    UserPeek = false;
    return;
  }
  // Nothing new: only the screen's own step. A browser window the watcher
  // saw created lately and not yet judged is news too: a browser that
  // refuses the hook library never sets "NewWin".
  if (tl::HandoffNumber(handoffNewWin_) == 0 && !WatcherSawNewWindow(now)) {
    if (IsWindowVisible(screen.hwnd())) screen.Timer1_Timer();
    return;
  }
  // Ctrl or Shift held; a window opened from the Run dialog just closed is the user's.
  bool userAction = CtrlOrShiftDown();
  if (!PopState.RunDialogOpen && tl::RunDialogJustClosed(now, PopState.RunClosedTick)) {
    userAction = true;
    PopState.RunClosedTick = 0;
  }
  // The click-to-window interval, stored once when missing.
  int32_t interval = 0;
  if (auto t = store.Get(tl::kAppTitle, "General", "var_WIN_MOUSE_TIMER ", "0"))
    interval = tl::HandoffNumber(*t);
  if (interval == 0) {
    interval = tl::kDefaultClickInterval;
    store.Write(tl::kAppTitle, "General", "var_WIN_MOUSE_TIMER ", "1500");
  }
  // A click in the page just before the window.
  if (settings.BlockMode == 1) {
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
  SetTmp("NewWin", "0");
  // Purge every two seconds: windows not seen by the next walk are gone.
  bool purgeDue = false;
  int32_t sincePurge = tl::TickDiff(now, LastPurgeTick);
  if (sincePurge > tl::kPurgeEveryMs || sincePurge < 0) {
    purgeDue = true;
    LastPurgeTick = now;
    BrowserProcs.ClearSeen();
  }
  // Judge the new windows of listed browsers, topmost first.
  bool judged = false;
  tl::InputEvidence input = watcher_.Evidence();
  // A browser builds a new window hidden and shows it whole; the hook's news
  // may come before it shows. A menu click is kept for it meanwhile.
  bool newWindowHidden = WatcherSawHiddenWindow(now);
  TakeWindowSnapshot();
  PrepareBrowserMatch();
  for (HWND h : snapshot_) {
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
      if (!newWindowHidden) SetTmp("MenuName", "");
      continue;
    }
    // Judged before and dropped from the table while it was hidden (a
    // pop-up the user then let through): never judged twice.
    if (JudgedBefore(h)) {
      BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
      continue;
    }
    NoteJudged(h);
    judged = true;
    if (tl::MenuRuleAllows(menu, Browsers[k])) {
      SetTmp("MenuName", "");
      BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
    } else if (userAction || UserAskedFor(h, pid, input, interval, settings.BlockMode, now)) {
      BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
    } else {
      BrowserProcs.AddBrowserWindow(rec, HandleValue(h));
      screen.ShowPop(TitleOf(h), static_cast<int16_t>(k), h, static_cast<int16_t>(rec), tid, false);
    }
  }
  if (purgeDue) BrowserProcs.Purge();
  PublishBrowserProcesses();
  if (IsWindowVisible(screen.hwnd())) screen.Timer1_Timer();
  // The click was used up by a window it may have opened; a pass woken by
  // some other program's window leaves it for the window still to come.
  if (judged) SetTmp("MouseHwnd", "0");
}

}  // namespace ModPop
