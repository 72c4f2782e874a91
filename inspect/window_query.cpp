#include "inspect/window_query.h"

#include "app/conversions.h"

namespace tl {

bool IsRecommendedOwnerClass(const std::string& ownerClass, const std::vector<std::string>& classList) {
  std::string owner = ToUpper(Trim(ownerClass));
  for (const std::string& c : classList)
    if (owner == c) return true;
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
