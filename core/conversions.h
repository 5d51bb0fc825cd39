#pragma once

// The text and number conversions that the handlers rely on: exact comparison, joining, and
// numbers read and written as the user's regional settings write them. Written once, in standard
// C++, so that every host gives the same answers; each host supplies only the separators of the
// user's regional settings. Message boxes, ending and the controls are the host's (core/host.h).

#include <cstdint>
#include <string>
#include <string_view>

namespace orvanta::conversions {

// How the user's regional settings write numbers. Digits are always 0 to 9; groups are of three.
struct NumberFormat
{
    char16_t decimalPoint = u'.';
    char16_t groupSeparator = u',';
    char16_t minusSign = u'-';
    char16_t plusSign = u'+';
};

// Exact, code unit by code unit, case-sensitive, no trimming.
[[nodiscard]] bool textsEqual(std::u16string_view left, std::u16string_view right);

[[nodiscard]] std::u16string integerToText(std::int16_t value);

// Reads a number the way the regional settings write it; surrounding blanks are ignored, and so
// are group separators where they stand every three digits before the decimal point. An
// exponent ("1E3") is read too.
// Throws RuntimeError (core/errors.h): Overflow beyond the double range, TypeMismatch for anything
// else that is not a finite number, "inf", "nan" and numbers too small to tell from zero included.
[[nodiscard]] double textToNumber(std::u16string_view text, const NumberFormat& format);

// At most 15 significant digits, no digit grouping, no trailing zeros, exponent form
// ("1.25E+299") for very large or small magnitudes.
[[nodiscard]] std::u16string numberToText(double value, const NumberFormat& format);

[[nodiscard]] std::u16string joinTexts(std::u16string_view left, std::u16string_view right);

} // namespace orvanta::conversions
