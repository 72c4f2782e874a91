// The decisions behind the window dispatcher: which top-level windows the
// list holds, the window record and its texts. The glue (window_query_win.h)
// gathers the facts of each window and keeps the list.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// Operation codes of WindowQuery.
enum WindowCode : int32_t {
  kWndEnumerate = 0,
  kWndText = 1,
  kWndProgram = 2,
  kWndResponding = 3,
  kWndVisible = 4,
  kWndTopmost = 5,
  kWndEnabled = 6,
  kWndProcessId = 7,
  kWndThreadId = 8,
  kWndPosition = 9,
  kWndRecord = 10,
};

inline constexpr uint32_t kExAppWindow = 0x40000;  // WS_EX_APPWINDOW
inline constexpr uint32_t kExToolWindow = 0x80;    // WS_EX_TOOLWINDOW
inline constexpr uint32_t kExTopmost = 0x8;        // WS_EX_TOPMOST
inline constexpr const char* kDialogClass = "#32770";

// What the window filter looks at, as plain values. The glue passes a
// source with the same members that asks the system only for what a rule
// reaches: most windows are decided by the first rules.
struct WindowFacts {
  bool isVisible = false;
  uint32_t extendedStyle = 0;
  bool hasOwnerWindow = false;  // GetWindow(GW_OWNER) names a window
  std::string windowClass;
  std::string ownerWindowClass;

  bool visible() const { return isVisible; }
  uint32_t exStyle() const { return extendedStyle; }
  bool ownerIsWindow() const { return hasOwnerWindow; }
  std::string className() const { return windowClass; }
  std::string ownerClassName() const { return ownerWindowClass; }
};

// Whether the owner's class, trimmed and in upper case, is one of the
// recommended classes (compared as stored).
bool IsRecommendedOwnerClass(const std::string& ownerClass, const std::vector<std::string>& classList);

// Whether the window list holds the window, for the settings WndDisplay
// (0-3) and HideWnd (1 = no invisible windows) and the recommended owner
// classes of the INI file. The first rule that applies decides.
template <class Facts>
bool WindowFilter(const Facts& w, int wndDisplay, int hideWnd,
                  const std::vector<std::string>& classList) {
  if (hideWnd == 1 && !w.visible()) return false;
  if (wndDisplay == 3) return true;
  if (w.exStyle() & kExToolWindow) return false;
  if (!w.ownerIsWindow()) return true;
  if (w.exStyle() & kExAppWindow) return true;
  if (w.className() != kDialogClass) return false;
  if (wndDisplay == 2) return true;
  if (wndDisplay == 1) return IsRecommendedOwnerClass(w.ownerClassName(), classList);
  return false;
}

bool IsTopMostStyle(uint32_t exStyle);
// "(left,top) - (right,bottom)".
std::string PositionText(int32_t left, int32_t top, int32_t right, int32_t bottom);

// The details of one window (code 10).
struct WindowRecord {
  std::string title;
  std::string program;  // lower-case executable path, "" if not found
  bool responding = false;
  bool visible = false;
  bool topmost = false;
  bool enabled = false;
  uint32_t processId = 0;
  uint32_t threadId = 0;
  std::string position;
};

// The question before a marked program is terminated.
std::string TerminateQuestion(std::string_view program);

}  // namespace tl
