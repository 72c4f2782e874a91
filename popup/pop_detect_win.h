// Pop-up detection: the judging of new browser windows and web-page dialogs
// from the hooks' hand-off values, the key state and the browser list.
#pragma once
#include <windows.h>

#include <string>

namespace ModPop {

// Shared with the detector screen.
extern std::string CurrentURL;  // the page address found by EnumURLProc
extern bool UserPeek;           // the user brought a hidden pop-up forward

void StartPopupBlocking();
void DetectPopups();
void StopPopupBlocking();
// The light process snapshot taken when protection starts.
void TakeQuickSnapshot();

// Callback of EnumChildWindows: the text of an "Edit" child that holds a
// ":" becomes CurrentURL (the last such child wins).
BOOL CALLBACK EnumURLProc(HWND child, LPARAM);
// type 0 = page address, 1 = window name; k = browser index.
bool IsBrowserWhiteListed(int type, const std::string& text, int k, HWND window);
std::string ShortPathOf(const std::string& path);

}  // namespace ModPop
