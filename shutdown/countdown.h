// The shutdown commands and the five-second countdown in front of them:
// which row does what, how far the countdown has gone, and what its label
// shows.
#pragma once
#include <cstdint>
#include <string>

namespace tl {

enum class ShutDownAction { None, ExitWindows, ExitToDos };

struct ShutDownRow {
  ShutDownAction action = ShutDownAction::None;
  const char* countdownText = "";
  uint32_t exitFlags = 0;  // ExitWindowsEx flags of an ExitWindows row
};

// The row of a "ShutDown" menu index; separators and indexes outside 0..9
// have the action None.
ShutDownRow ShutDownRowAt(int index);

inline constexpr int kCountdownSeconds = 5;

// Where a countdown stands, from the seconds fields (0..59) of the clock at
// its start and now. Only the seconds are compared, so a difference below
// zero means the minute turned over and 60 is added.
struct CountdownState {
  int remaining = 0;     // the seconds the label shows, 5 down to 1
  bool expired = false;  // five or more seconds have passed
};
CountdownState CountdownAt(int startSecond, int nowSecond);

// A label caption longer than 102 characters becomes its first 98 and " ...".
inline constexpr size_t kLabelMax = 102;
std::string CutLabel(const std::string& caption);

}  // namespace tl
