#include "inspect/window_list_win.h"

#include "inspect/query_value.h"
#include "inspect/window_query.h"

namespace ModWndOpr {

std::vector<HWND> WndHandles;
std::vector<DWORD> WndPids;
int16_t WndCount = -1;
bool Enumerating = false;

std::string HandleText(HWND hwnd) { return std::to_string(HandleToLong(hwnd)); }

HWND HandleFromText(std::string_view text) {
  // Handles carry 32 significant bits; the text may be signed or not.
  return static_cast<HWND>(LongToHandle(static_cast<LONG>(tl::NumericValue(text))));
}

bool IsWindowResponding(HWND hwnd, bool longWait) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, longWait ? 500 : 50, &result) != 0;
}

bool IsWindowHung(HWND hwnd) { return !IsWindowResponding(hwnd, false); }

bool IsTopMost(HWND hwnd) {
  return tl::IsTopMostStyle(static_cast<uint32_t>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
}

}  // namespace ModWndOpr
