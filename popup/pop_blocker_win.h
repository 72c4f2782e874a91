// The pop-up blocker of the running program: the browser list, counters and
// blocked list with their storage, and the detection state (the hand-off key,
// the browser process table, the reused snapshot buffers). One object, owned
// by the program root; detection, lists and the detector screen share it.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/handles_win.h"
#include "popup/input_watcher_win.h"
#include "popup/pop_lists.h"
#include "popup/pop_rules.h"

class PopUpDetectorScrFrm;

namespace ModPop {

// One row per pop-up closed in this run (not stored).
struct BlockedRow {
  std::string WindowName;   // "(none)" when the pop-up had no title
  std::string PageAddress;
  std::string BrowserName;  // file description, or product name
  std::string ClosedAt;     // date and time of closing
  std::string Tag;          // the browser's path; "Internet Explorer" for dialogs
};

class PopupBlocker {
 public:
  // The lists (pop_lists_win.cpp).
  std::vector<tl::BrowserEntry> Browsers;  // at most 51
  tl::PopupCounters Counters;
  std::vector<BlockedRow> BlockedList;
  // The page address found by EnumURLProc for the pop-up being judged or shown.
  std::string CurrentURL;
  // The user brought a hidden pop-up forward: its window events are not new.
  bool UserPeek = false;

  void LoadPopupLists();
  void SavePopupLists();
  // Appends an entry from a Pop.dat record (path through App Paths).
  bool AddPredefinedBrowser(const tl::PopDatRecord& record);
  // Imports the predefined browsers found on this machine (first run).
  void ImportPredefinedBrowsers();
  void ClosePopupAndLog(HWND window, const std::string& path, const std::string& title);
  void CloseDialogAndLog(HWND window, const std::string& title);
  // Counts again from today: "TotalBlockCnt" 0, "TotalBlockSince" today.
  void ResetBlockCount();
  // Called after the lists were loaded again or a blocked row was added, so
  // the manager page shows them at once.
  std::function<void()> ListsChanged;
  // type 0 = page address, 1 = window name; k = browser index.
  bool IsBrowserWhiteListed(int type, const std::string& text, int k, HWND window) const;

  // Detection (pop_detect_win.cpp). The hooks report to hookOwner.
  void StartPopupBlocking(HWND hookOwner);
  void StopPopupBlocking();
  // One detection pass; pop-ups go to the screen.
  void DetectPopups(PopUpDetectorScrFrm& screen);
  // The handles whose signal calls for a pass at once, for the main loop's
  // wait: a hand-off value changed, the input watcher saw a window. Into
  // out[kWakeHandles]; their count.
  static constexpr int kWakeHandles = 2;
  int PassWakeHandles(HANDLE* out);
  // The wait ended on one of them: the key's change notice is armed again
  // before the pass reads the key, so a change during the pass is not lost.
  void PassWoken(HANDLE signalled);

 private:
  struct PopStateRecord {
    int32_t MouseTime = 0;
    std::string MouseTimeD;
    bool RunDialogOpen = false;
    uint32_t RunClosedTick = 0;
    HWND DialogSearchPos = nullptr;
  };
  struct PidPath {
    DWORD pid;
    std::string path;
  };
  struct ShortPath {
    std::string path, upperShort;
  };

  std::string Tmp(const char* key, const char* def);
  void SetTmp(const char* key, const char* value);
  HKEY TmpKey();
  void TakeWindowSnapshot();
  const std::string& ExePathOf(DWORD pid);
  void PrepareBrowserMatch();
  int MatchBrowser(const std::string& exePath);
  const std::string& UpperShortPathOf(const std::string& path);
  void RecordWindow(HWND h, DWORD pid);
  void CheckWebPageDialogs(PopUpDetectorScrFrm& screen, const std::string& menu);
  std::string AddressOfClickedBrowser(HWND clicked);
  bool WatcherSawNewWindow(uint32_t now);
  bool WatcherSawHiddenWindow(uint32_t now) const;
  void PublishBrowserProcesses();
  bool JudgedBefore(HWND h) const;
  void NoteJudged(HWND h);
  bool UserAskedFor(HWND h, DWORD pid, const tl::InputEvidence& input, int32_t interval, int blockMode,
                    uint32_t now) const;
  void Log(HWND window, BlockedRow row);

  HWND hookOwner_ = nullptr;
  tl::BrowserProcTable BrowserProcs;
  tl::KnownDialogList KnownDialogs;
  PopStateRecord PopState;
  uint32_t LastPurgeTick = 0;
  // The hand-off key stays open: it is read ten times a second. A key
  // deleted meanwhile is opened again on the next use.
  tl::RegKey tmpKey_;
  tl::KernelHandle handoffChanged_;
  bool notifyArmed_ = false;
  void ArmHandoffNotice();
  // "Time" and "NewWin" as last read; read again only once the change
  // notice fired (or is not armed), so an idle pass asks the registry nothing.
  std::string handoffTime_, handoffNewWin_;
  bool handoffFresh_ = false;
  // Clicks, keys and new windows seen while blocking is on.
  InputWatcher watcher_;
  // The windows judged last, whether or not the table still holds them.
  std::array<uint32_t, 32> judged_{};
  size_t judgedNext_ = 0;
  std::string menuClearedAt_;  // "Time" when "MenuName" was last emptied
  // Reused between passes: a pass allocates nothing once these have grown.
  std::vector<HWND> snapshot_;
  std::vector<std::string> browserShortPaths_;
  std::vector<PidPath> pidPaths_;
  // Short paths found before: GetShortPathNameA reads each folder of the
  // path and costs milliseconds, too slow for a pass that must hide a
  // pop-up within a frame.
  std::vector<ShortPath> shortPaths_;
};

// The Pop.dat of the program folder (empty when missing).
std::string ReadPopDat();
// The name shown for a browser: its file description, or its product name
// when the description is shorter than 3 characters.
std::string BrowserDisplayName(const std::string& path);
// Callback of EnumChildWindows; lp points to the std::string that receives
// the text of an "Edit" child holding a ":" (the last such child wins).
BOOL CALLBACK EnumURLProc(HWND child, LPARAM lp);
std::string ShortPathOf(const std::string& path);
// The light process snapshot taken when protection starts.
void TakeQuickSnapshot();

}  // namespace ModPop
