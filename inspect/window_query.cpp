#include "inspect/window_query.h"

#include "app/conversions.h"

namespace tl {

bool WindowFilter(const WindowFacts& w, int wndDisplay, int hideWnd,
                  const std::vector<std::string>& classList) {
  if (!w.visible && hideWnd == 1) return false;
  if (wndDisplay == 3) return true;
  if (w.exStyle & kExToolWindow) return false;
  if (!w.ownerIsWindow) return true;
  if (w.exStyle & kExAppWindow) return true;
  if (w.className != kDialogClass) return false;
  if (wndDisplay == 2) return true;
  if (wndDisplay == 1) {
    std::string owner = ToUpper(Trim(w.ownerClassName));
    for (const std::string& c : classList)
      if (owner == c) return true;
    return false;
  }
  return false;
}

bool IsTopMostStyle(uint32_t exStyle) { return (exStyle & kExTopmost) != 0; }

std::string PositionText(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  std::string text(1, '(');
  text += std::to_string(left) + "," + std::to_string(top) + ") - (" + std::to_string(right) + "," +
          std::to_string(bottom) + ")";
  return text;
}

std::string TerminateQuestion(std::string_view program) {
  return "Terminating " + std::string(program) +
         " may be dangrous, Are you still sure you want to terminate it ?";
}

}  // namespace tl
