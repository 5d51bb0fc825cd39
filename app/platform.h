#pragma once

// The services that the window's handlers rely on and that need no window system: the program's
// name, run-time errors, exact comparison, and the text and number conversions. Written once, in
// standard C++, so that every host gives the same answers; each host supplies only the separators
// of the user's regional settings. Message boxes, ending and the controls are the host's
// (ui/main_window.h).

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace orvanta::platform {

// The program's name: the title of the window and of every message box.
inline constexpr std::u16string_view productName = u"Orvanta";

// A failure raised by a conversion or by arithmetic. Handlers do not catch it; the window's
// dispatch does, and reports it (frmMain).
class RuntimeError : public std::exception
{
public:
    enum class Kind
    {
        TypeMismatch,  // the text is not a number
        Overflow,      // the number lies beyond the double range
        FloatingPoint, // arithmetic overflowed or became undefined
    };

    explicit RuntimeError(Kind kind) : m_kind(kind) {}

    [[nodiscard]] Kind kind() const noexcept { return m_kind; }
    // The Greek sentence shown to the user.
    [[nodiscard]] std::u16string_view message() const noexcept;
    [[nodiscard]] const char* what() const noexcept override;

private:
    Kind m_kind;
};

enum class MessageStyle
{
    Exclamation = 48, // warning icon, OK button
    Information = 64, // information icon, OK button
};

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
// Throws RuntimeError: Overflow beyond the double range, TypeMismatch for anything else that is
// not a finite number, "inf", "nan" and numbers too small to tell from zero included.
[[nodiscard]] double textToNumber(std::u16string_view text, const NumberFormat& format);

// At most 15 significant digits, no digit grouping, no trailing zeros, exponent form
// ("1.25E+299") for very large or small magnitudes.
[[nodiscard]] std::u16string numberToText(double value, const NumberFormat& format);

[[nodiscard]] std::u16string joinTexts(std::u16string_view left, std::u16string_view right);

// Throws RuntimeError(FloatingPoint) when a computed value is infinite or not a number.
void checkFloat(double value);

} // namespace orvanta::platform
