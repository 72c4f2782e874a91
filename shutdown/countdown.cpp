#include "shutdown/countdown.h"

namespace tl {

namespace {

// EWX_LOGOFF, EWX_SHUTDOWN, EWX_REBOOT and EWX_FORCE.
constexpr uint32_t kLogOff = 0, kShutDown = 1, kReboot = 2, kForce = 4;

constexpr const char* kShutDownText = "System will shutdown after: ";
constexpr const char* kRebootText = "System will reboot after: ";
constexpr const char* kLogOffText = "System will log off after: ";
constexpr const char* kDosText = "Restart in MS-Dos mode after: ";

}  // namespace

ShutDownRow ShutDownRowAt(int index) {
  using A = ShutDownAction;
  switch (index) {
    case 0: return {A::ExitWindows, kShutDownText, kShutDown | kForce};
    case 1: return {A::ExitWindows, kShutDownText, kShutDown};
    case 3: return {A::ExitWindows, kRebootText, kReboot | kForce};
    case 4: return {A::ExitWindows, kRebootText, kReboot};
    case 6: return {A::ExitWindows, kLogOffText, kLogOff | kForce};
    case 7: return {A::ExitWindows, kLogOffText, kLogOff};
    case 9: return {A::ExitToDos, kDosText, 0};
    default: return {};
  }
}

CountdownState CountdownAt(int startSecond, int nowSecond) {
  int elapsed = nowSecond - startSecond;
  if (elapsed < 0) elapsed += 60;
  CountdownState s;
  s.expired = elapsed >= kCountdownSeconds;
  // A countdown held up past its end shows no count below zero.
  s.remaining = s.expired ? 0 : kCountdownSeconds - elapsed;
  return s;
}

std::string CutLabel(const std::string& caption) {
  if (caption.size() <= kLabelMax) return caption;
  return caption.substr(0, kLabelMax - 4) + " ...";
}

}  // namespace tl
