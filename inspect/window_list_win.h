// The list of top-level windows of the last enumeration and the plain
// questions about one window that need no other module: handles as text,
// responsiveness, topmost. The process and window dispatchers both stand on it.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace ModWndOpr {

// Module state of the last enumeration (code 0), in z-order.
extern std::vector<HWND> WndHandles;
extern int16_t WndCount;  // index of the last entry; -1 = none
// The process of each listed window, taken while enumerating.
extern std::vector<DWORD> WndPids;
extern bool Enumerating;

// Handles cross module boundaries as decimal text.
std::string HandleText(HWND hwnd);
HWND HandleFromText(std::string_view text);

// WM_NULL answered within 500 ms (longWait) or 50 ms.
bool IsWindowResponding(HWND hwnd, bool longWait);
bool IsWindowHung(HWND hwnd);
bool IsTopMost(HWND hwnd);

}  // namespace ModWndOpr
