// Text conversions of the settings store: every value is stored as text.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

// Blanks (spaces and tabs) removed at both ends.
std::string Trim(std::string_view s);
std::string TrimRight(std::string_view s);
std::string ToLower(std::string_view s);
std::string ToUpper(std::string_view s);

// A decimal number, optionally signed and with a fraction ("2.7"), blanks
// around it allowed. Integer fields take its integer part (2.7 -> 2,
// -2.7 -> -2). Empty, non-numeric or out-of-range text gives nullopt.
std::optional<int16_t> ParseInt16(std::string_view s);
std::optional<int32_t> ParseInt32(std::string_view s);
std::optional<double> ParseNumber(std::string_view s);

// "True"/"False" in any case, or a number (non-zero is true).
std::optional<bool> ParseFlag(std::string_view s);
const char* FlagText(bool b);  // "True" / "False"

// Decimal text of a single-precision number as the store keeps it:
// "4320", "-15", "1234.5"; no exponent for screen-sized values.
std::string SingleText(float f);

}  // namespace tl
