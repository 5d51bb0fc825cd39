#include "core/conversions.h"

#include "core/errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace orvanta::conversions {

namespace {

// The blanks that surround a typed number: Unicode's white space.
constexpr bool isBlank(char16_t unit)
{
    switch (unit) {
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u' ':
    case u'\u0085':
    case u'\u00a0':
    case u'\u1680':
    case u'\u2028':
    case u'\u2029':
    case u'\u202f':
    case u'\u205f':
    case u'\u3000':
        return true;
    default:
        return unit >= u'\u2000' && unit <= u'\u200a';
    }
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A minus sign typed as the regional settings write it, as a hyphen, or as the true minus.
bool isMinus(char16_t unit, const NumberFormat& format)
{
    return unit == format.minusSign || unit == u'-' || unit == u'\u2212';
}

bool isPlus(char16_t unit, const NumberFormat& format)
{
    return unit == format.plusSign || unit == u'+';
}

// Where the regional settings group with a no-break space, the keyboard types an ordinary one.
bool isGroupSeparator(char16_t unit, const NumberFormat& format)
{
    const bool noBreak = format.groupSeparator == u'\u00a0' || format.groupSeparator == u'\u202f';
    return unit == format.groupSeparator || (noBreak && unit == u' ');
}

bool isDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

constexpr int groupSize = 3;

constexpr int decimalBase = 10;
// Room for any 16-bit integer or exponent of a double, in digits and a sign.
constexpr std::size_t shortText = 8;

// A number as typed, rewritten the C way ("-1234.5e3") for std::from_chars, with what tells an
// overflow from an underflow when the value lies beyond the double range.
struct PlainNumber
{
    std::string text;
    bool nonZero = false;
    // Where the first significant digit stands: 1 for the units, 0 for tenths, and so on.
    long long magnitude = 0;
};

// Where the first significant digit of a plain mantissa ("-0.0012") stands.
long long magnitudeOf(std::string_view mantissa)
{
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    const auto distance = static_cast<long long>(point) - static_cast<long long>(first);
    return first < point ? distance : distance + 1;
}

class NumberReader
{
public:
    NumberReader(std::u16string_view text, const NumberFormat& format)
        : m_text(text), m_format(format)
    {}

    // False when the text is not a number as the regional settings write one.
    bool read(PlainNumber& number)
    {
        m_number = &number;
        sign();
        if (!mantissa()) {
            return false;
        }
        number.nonZero = number.text.find_first_of("123456789") != std::string::npos;
        number.magnitude = number.nonZero ? magnitudeOf(number.text) : 0;
        return exponent() && atEnd();
    }

private:
    [[nodiscard]] bool atEnd() const { return m_at == m_text.size(); }
    [[nodiscard]] char16_t current() const { return m_text[m_at]; }
    [[nodiscard]] bool atExponent() const { return current() == u'e' || current() == u'E'; }

    // A sign, kept when it is a minus; true when it was one.
    bool sign()
    {
        if (!atEnd() && isMinus(current(), m_format)) {
            m_number->text += '-';
            ++m_at;
            return true;
        }
        if (!atEnd() && isPlus(current(), m_format)) {
            ++m_at;
        }
        return false;
    }

    // Digits, grouped by threes or not at all, then maybe a decimal point and more digits.
    bool mantissa()
    {
        for (; !atEnd() && !atExponent(); ++m_at) {
            if (!mantissaUnit(current())) {
                return false;
            }
        }
        return groupEnds() && m_digits > 0;
    }

    bool mantissaUnit(char16_t unit)
    {
        if (isDigit(unit)) {
            m_number->text += static_cast<char>(unit);
            ++m_digits;
            ++m_inGroup;
            return true;
        }
        if (unit == m_format.decimalPoint && !m_fraction) {
            m_number->text += '.';
            const bool ended = groupEnds();
            m_fraction = true;
            return ended;
        }
        if (isGroupSeparator(unit, m_format) && !m_fraction) {
            const bool fits =
                m_grouped ? m_inGroup == groupSize : m_inGroup > 0 && m_inGroup <= groupSize;
            m_grouped = true;
            m_inGroup = 0;
            return fits;
        }
        return false;
    }

    // The whole part ends: its last group, if it has groups, is a whole one.
    [[nodiscard]] bool groupEnds() const
    {
        return m_fraction || !m_grouped || m_inGroup == groupSize;
    }

    bool exponent()
    {
        if (atEnd()) {
            return true;
        }
        ++m_at; // the e
        m_number->text += 'e';
        const bool negative = sign();
        // Saturates: an exponent of more digits than a long long holds is out of range anyway.
        constexpr long long saturated = std::numeric_limits<long long>::max() / decimalBase / 2;
        long long value = 0;
        int digits = 0;
        for (; !atEnd() && isDigit(current()); ++m_at, ++digits) {
            m_number->text += static_cast<char>(current());
            value = std::min(saturated, value * decimalBase + (current() - u'0'));
        }
        m_number->magnitude += negative ? -value : value;
        return digits > 0;
    }

    std::u16string_view m_text;
    const NumberFormat& m_format;
    std::size_t m_at = 0;
    PlainNumber* m_number = nullptr;
    bool m_grouped = false;
    bool m_fraction = false;
    int m_inGroup = 0;
    int m_digits = 0;
};

// The significant digits of a finite, non-zero magnitude, rounded to a count of them, without
// trailing zeros, and the power of ten of the first.
struct Digits
{
    std::string digits;
    int exponent = 0;
};

// The exponent that printf writes after the e, always signed: "+300", "-05".
int signedExponent(std::string_view text)
{
    int magnitude = 0;
    std::from_chars(text.data() + 1, text.data() + text.size(), magnitude);
    return text.front() == '-' ? -magnitude : magnitude;
}

Digits roundedDigits(double value, int count)
{
    // The C library writes 41 significant digits correctly rounded, far more than a double
    // holds: enough to round once more, half away from zero as the figures always have been,
    // without a tie being made up by the first rounding. (std::to_chars would do the same
    // without the C library, but its tables for a chosen precision would double the size of
    // Orvanta.exe.) Only the digits and the exponent are read: the decimal mark between them
    // follows the C library's locale, which Qt sets from the user's, and may be of any length.
    constexpr int written = 40;
    const double magnitude = std::abs(value);
    const int length = std::snprintf(nullptr, 0, "%.*e", written, magnitude);
    std::string scientific(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    std::snprintf(scientific.data(), scientific.size(), "%.*e", written, magnitude);
    scientific.pop_back();
    const std::size_t mark = scientific.find('e');
    Digits result;
    for (const char unit : std::string_view(scientific).substr(0, mark)) {
        if (unit >= '0' && unit <= '9') {
            result.digits += unit;
        }
    }
    result.exponent = signedExponent(std::string_view(scientific).substr(mark + 1));
    const bool up = result.digits.at(static_cast<std::size_t>(count)) >= '5';
    result.digits.resize(static_cast<std::size_t>(count));
    if (up) {
        auto digit = result.digits.rbegin();
        for (; digit != result.digits.rend() && *digit == '9'; ++digit) {
            *digit = '0';
        }
        if (digit == result.digits.rend()) {
            result.digits.insert(result.digits.begin(), '1');
            result.digits.pop_back();
            ++result.exponent;
        } else {
            ++*digit;
        }
    }
    while (result.digits.size() > 1 && result.digits.back() == '0') {
        result.digits.pop_back();
    }
    return result;
}

void appendDigits(std::u16string& text, std::string_view digits)
{
    for (const char digit : digits) {
        text += static_cast<char16_t>(digit);
    }
}

} // namespace

bool textsEqual(std::u16string_view left, std::u16string_view right)
{
    return left == right;
}

std::u16string integerToText(std::int16_t value)
{
    std::array<char, shortText> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return {digits.data(), written.ptr};
}

double textToNumber(std::u16string_view text, const NumberFormat& format)
{
    PlainNumber number;
    if (!NumberReader(trimmed(text), format).read(number)) {
        throw RuntimeError(RuntimeError::Kind::TypeMismatch);
    }
    double value = 0;
    const char* const end = number.text.data() + number.text.size();
    const auto [stop, error] = std::from_chars(number.text.data(), end, value);
    const bool outOfRange = error == std::errc::result_out_of_range || std::isinf(value) ||
                            (value == 0 && number.nonZero);
    if (outOfRange && number.magnitude > 0) {
        throw RuntimeError(RuntimeError::Kind::Overflow);
    }
    // Too small to tell from zero is no number a user meant either.
    if (outOfRange || error != std::errc() || stop != end) {
        throw RuntimeError(RuntimeError::Kind::TypeMismatch);
    }
    return value;
}

std::u16string numberToText(double value, const NumberFormat& format)
{
    constexpr int significantDigits = 15;
    // Negative zero would otherwise read "-0".
    if (value == 0.0) {
        return u"0";
    }
    const Digits rounded = roundedDigits(value, significantDigits);
    std::u16string text;
    if (value < 0) {
        text += format.minusSign;
    }
    const std::string_view digits = rounded.digits;
    // As the general format writes numbers: plain from 0.0001 up to 15 digits before the point,
    // otherwise one digit, the point, the rest and a signed exponent of two digits at least.
    if (rounded.exponent < -4 || rounded.exponent >= significantDigits) {
        text += static_cast<char16_t>(digits.front());
        if (digits.size() > 1) {
            text += format.decimalPoint;
            appendDigits(text, digits.substr(1));
        }
        std::array<char, shortText> exponent{};
        const int magnitude = std::abs(rounded.exponent);
        const auto written =
            std::to_chars(exponent.data(), exponent.data() + exponent.size(), magnitude);
        text += rounded.exponent < 0 ? u"E-" : u"E+";
        if (written.ptr - exponent.data() < 2) {
            text += u'0';
        }
        appendDigits(text, std::string_view(exponent.data(), written.ptr));
    } else if (rounded.exponent < 0) {
        text += u"0";
        text += format.decimalPoint;
        text.append(static_cast<std::size_t>(-rounded.exponent - 1), u'0');
        appendDigits(text, digits);
    } else {
        const auto whole = static_cast<std::size_t>(rounded.exponent) + 1;
        appendDigits(text, digits.substr(0, whole));
        text.append(whole > digits.size() ? whole - digits.size() : 0, u'0');
        if (digits.size() > whole) {
            text += format.decimalPoint;
            appendDigits(text, digits.substr(whole));
        }
    }
    return text;
}

std::u16string joinTexts(std::u16string_view left, std::u16string_view right)
{
    std::u16string joined(left);
    joined += right;
    return joined;
}

} // namespace orvanta::conversions
