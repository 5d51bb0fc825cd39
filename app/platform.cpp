#include "app/platform.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace orvanta::platform {

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

bool isDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

constexpr int groupSize = 3;

// A number as typed, rewritten the C way ("-1234.5e3") for std::from_chars, with what tells an
// overflow from an underflow when the value lies beyond the double range.
struct PlainNumber
{
    std::string text;
    bool nonZero = false;
    // Where the first significant digit stands: 1 for the units, 0 for tenths, and so on.
    long long magnitude = 0;
};

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
        return sign() && mantissa() && exponent() && m_at == m_text.size();
    }

private:
    [[nodiscard]] bool atEnd() const { return m_at == m_text.size(); }
    [[nodiscard]] char16_t current() const { return m_text[m_at]; }

    bool sign()
    {
        if (!atEnd() && isMinus(current(), m_format)) {
            m_number->text += '-';
            ++m_at;
        } else if (!atEnd() && isPlus(current(), m_format)) {
            ++m_at;
        }
        return true;
    }

    // Digits, grouped by threes or not at all, then maybe a decimal point and more digits.
    bool mantissa()
    {
        bool grouped = false;
        bool fraction = false;
        int inGroup = 0;
        int digits = 0;
        long long leadingZerosAfterPoint = 0;
        long long wholeDigits = 0;
        for (; !atEnd() && current() != u'e' && current() != u'E'; ++m_at) {
            const char16_t unit = current();
            if (isDigit(unit)) {
                m_number->text += static_cast<char>(unit);
                ++digits;
                ++inGroup;
                if (unit != u'0' && !m_number->nonZero) {
                    m_number->nonZero = true;
                    m_number->magnitude = fraction ? -leadingZerosAfterPoint : 0;
                }
                if (!fraction && (m_number->nonZero || unit != u'0')) {
                    ++wholeDigits;
                } else if (fraction && !m_number->nonZero) {
                    ++leadingZerosAfterPoint;
                }
            } else if (unit == m_format.decimalPoint && !fraction) {
                if (grouped && inGroup != groupSize) {
                    return false;
                }
                m_number->text += '.';
                fraction = true;
            } else if (unit == m_format.groupSeparator && !fraction) {
                const bool fits =
                    grouped ? inGroup == groupSize : inGroup > 0 && inGroup <= groupSize;
                if (!fits) {
                    return false;
                }
                grouped = true;
                inGroup = 0;
            } else {
                return false;
            }
        }
        if (grouped && !fraction && inGroup != groupSize) {
            return false;
        }
        if (m_number->nonZero && wholeDigits > 0) {
            m_number->magnitude = wholeDigits;
        }
        return digits > 0;
    }

    bool exponent()
    {
        if (atEnd()) {
            return true;
        }
        ++m_at; // the e
        m_number->text += 'e';
        bool negative = false;
        if (!atEnd() && isMinus(current(), m_format)) {
            m_number->text += '-';
            negative = true;
            ++m_at;
        } else if (!atEnd() && isPlus(current(), m_format)) {
            ++m_at;
        }
        // Saturates: an exponent of more digits than a long long holds is out of range anyway.
        constexpr long long saturated = std::numeric_limits<long long>::max() / 20;
        long long value = 0;
        int digits = 0;
        for (; !atEnd() && isDigit(current()); ++m_at, ++digits) {
            m_number->text += static_cast<char>(current());
            value = std::min(saturated, value * 10 + (current() - u'0'));
        }
        m_number->magnitude += negative ? -value : value;
        return digits > 0;
    }

    std::u16string_view m_text;
    const NumberFormat& m_format;
    std::size_t m_at = 0;
    PlainNumber* m_number = nullptr;
};

} // namespace

std::u16string_view RuntimeError::message() const noexcept
{
    switch (m_kind) {
    case Kind::TypeMismatch:
        return u"Η ταχύτητα που δώσατε δεν είναι αριθμός. Γράψτε έναν αριθμό σε kbps, π.χ. 512.";
    case Kind::Overflow:
        return u"Η ταχύτητα που δώσατε είναι υπερβολικά μεγάλη για να υπολογιστεί.";
    case Kind::FloatingPoint:
        return u"Το αποτέλεσμα του υπολογισμού ξεπερνά τα όρια των αριθμών και δεν μπορεί να "
               u"εμφανιστεί.";
    }
    return u"";
}

const char* RuntimeError::what() const noexcept
{
    switch (m_kind) {
    case Kind::TypeMismatch:
        return "type mismatch";
    case Kind::Overflow:
        return "overflow";
    case Kind::FloatingPoint:
        return "floating-point error";
    }
    return "run-time error";
}

bool textsEqual(std::u16string_view left, std::u16string_view right)
{
    return left == right;
}

std::u16string integerToText(std::int16_t value)
{
    std::array<char, 8> digits{};
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
    const double shown = value == 0.0 ? 0.0 : value;
    std::array<char, 32> plain{};
    const auto written = std::to_chars(plain.data(), plain.data() + plain.size(), shown,
                                       std::chars_format::general, significantDigits);
    std::u16string text;
    for (const char* at = plain.data(); at != written.ptr; ++at) {
        switch (*at) {
        case '.':
            text += format.decimalPoint;
            break;
        case 'e':
            text += u'E';
            break;
        case '-':
            text += at == plain.data() ? format.minusSign : u'-';
            break;
        default:
            text += static_cast<char16_t>(*at);
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

void checkFloat(double value)
{
    if (!std::isfinite(value)) {
        throw RuntimeError(RuntimeError::Kind::FloatingPoint);
    }
}

} // namespace orvanta::platform
