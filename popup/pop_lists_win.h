// The browser list, counters and blocked list of the running program, with
// their storage and the close-and-log operations the detector screen uses.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "popup/pop_lists.h"

namespace ModPop {

extern std::vector<tl::BrowserEntry> Browsers;  // at most 51
extern tl::PopupCounters Counters;

// One row per pop-up closed in this run (not stored).
struct BlockedRow {
  std::string WindowName;   // "(none)" when the pop-up had no title
  std::string PageAddress;
  std::string BrowserName;  // file description, or product name
  std::string ClosedAt;     // date and time of closing
  std::string Tag;          // the browser's path; "Internet Explorer" for dialogs
};
extern std::vector<BlockedRow> BlockedList;

void LoadPopupLists();
void SavePopupLists();
// Appends an entry from a Pop.dat record (path through App Paths).
bool AddPredefinedBrowser(const tl::PopDatRecord& record);
// Imports the predefined browsers found on this machine (first run).
void ImportPredefinedBrowsers();
// The Pop.dat of the program folder (empty when missing).
std::string ReadPopDat();

void ClosePopupAndLog(HWND window, const std::string& path, const std::string& title);
void CloseDialogAndLog(HWND window, const std::string& title);

// The name shown for a browser: its file description, or its product name
// when the description is shorter than 3 characters.
std::string BrowserDisplayName(const std::string& path);

}  // namespace ModPop
