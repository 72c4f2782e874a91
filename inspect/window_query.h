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

// What the window filter looks at.
struct WindowFacts {
  bool visible = false;
  uint32_t exStyle = 0;
  bool ownerIsWindow = false;  // GetWindow(GW_OWNER) names a window
  std::string className;
  std::string ownerClassName;
};
// Whether the window list holds the window, for the settings WndDisplay
// (0-3) and HideWnd (1 = no invisible windows) and the recommended owner
// classes of the INI file.
bool WindowFilter(const WindowFacts& w, int wndDisplay, int hideWnd,
                  const std::vector<std::string>& classList);

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
