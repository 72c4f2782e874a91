// What the two inspection dispatchers answer: nothing, a flag, a number or a
// text, depending on the operation code.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace tl {

using QueryValue = std::variant<std::monostate, bool, int64_t, std::string>;

inline bool IsEmptyValue(const QueryValue& v) { return std::holds_alternative<std::monostate>(v); }
// The flag, number or text held; false, 0 or "" when the value holds something else.
inline bool FlagOf(const QueryValue& v) {
  const bool* b = std::get_if<bool>(&v);
  return b && *b;
}
inline int64_t NumberOf(const QueryValue& v) {
  const int64_t* n = std::get_if<int64_t>(&v);
  return n ? *n : 0;
}
inline std::string TextOf(const QueryValue& v) {
  const std::string* s = std::get_if<std::string>(&v);
  return s ? *s : std::string();
}

// The numeric value of a decimal argument, read as far as it is a number
// (blanks, a sign, digits): "1234" -> 1234, "12ab" -> 12, "ab" -> 0. Handles
// and process IDs travel as such texts.
int64_t NumericValue(std::string_view text);

}  // namespace tl
