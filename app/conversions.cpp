#include "app/conversions.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tl {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && IsBlank(s[e - 1])) --e;
  return std::string(s.substr(0, e));
}

std::string ToLower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

std::string ToUpper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

std::optional<double> ParseNumber(std::string_view text) {
  std::string s = Trim(text);
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  double value = 0;
  size_t digits = 0;
  // Digits are accumulated by hand: strtod would also take "inf", hex and
  // exponents, none of which this program ever writes.
  for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i, ++digits)
    value = value * 10 + (s[i] - '0');
  if (i < s.size() && s[i] == '.') {
    double scale = 0.1;
    for (++i; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i, ++digits) {
      value += (s[i] - '0') * scale;
      scale /= 10;
    }
  }
  if (digits == 0 || i != s.size() || !std::isfinite(value)) return std::nullopt;
  return neg ? -value : value;
}

namespace {
template <typename T>
std::optional<T> ParseInteger(std::string_view s) {
  auto v = ParseNumber(s);
  if (!v) return std::nullopt;
  double whole = std::trunc(*v);
  if (whole < std::numeric_limits<T>::min() || whole > std::numeric_limits<T>::max())
    return std::nullopt;
  return static_cast<T>(whole);
}
}  // namespace

std::optional<int16_t> ParseInt16(std::string_view s) { return ParseInteger<int16_t>(s); }
std::optional<int32_t> ParseInt32(std::string_view s) { return ParseInteger<int32_t>(s); }

std::optional<bool> ParseFlag(std::string_view text) {
  std::string s = ToLower(Trim(text));
  if (s == "true") return true;
  if (s == "false") return false;
  if (auto v = ParseNumber(s)) return *v != 0;
  return std::nullopt;
}

const char* FlagText(bool b) { return b ? "True" : "False"; }

std::string SingleText(float f) {
  if (!std::isfinite(f)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(f));
  std::string s(buf);
  if (s.find('e') != std::string::npos) {
    // Far outside any screen; keep plain decimal digits.
    std::snprintf(buf, sizeof buf, "%.0f", static_cast<double>(f));
    s = buf;
  }
  return s;
}

}  // namespace tl
