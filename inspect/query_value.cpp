#include "inspect/query_value.h"

#include <cctype>

namespace tl {

int64_t NumericValue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool neg = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
  int64_t value = 0;
  // Eighteen digits cannot overflow; a longer number is no handle or process ID.
  for (int digits = 0; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) &&
                       digits < 18;
       ++i, ++digits)
    value = value * 10 + (text[i] - '0');
  return neg ? -value : value;
}

}  // namespace tl
