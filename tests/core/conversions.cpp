// The conversions and the catalogue: toolkit-free code that every host shares, so these rows run
// on Linux and, under Wine, on Windows alike.

#include "core/conversions.h"

#include "core/errors.h"
#include "core/rate.h"

#include <clocale>
#include <cstring>
#include <doctest/doctest.h>
#include <optional>
#include <string>
#include <vector>

using orvanta::RuntimeError;
using orvanta::conversions::NumberFormat;
using Kind = RuntimeError::Kind;

namespace {

// The regional settings of the rows: the C locale and US English write numbers alike.
const NumberFormat plain{};
const NumberFormat greek{u',', u'.', u'-', u'+'};
// Groups of a no-break space, which the keyboard types as an ordinary one: narrow in French,
// plain in Swedish.
const NumberFormat french{u',', u'\u202f', u'-', u'+'};
const NumberFormat swedish{u',', u'\u00a0', u'\u2212', u'+'};
// Pashto in Afghanistan: the Arabic decimal mark and group separator, two bytes each in UTF-8.
const NumberFormat pashto{u'\u066b', u'\u066c', u'-', u'+'};

std::optional<Kind> errorOf(std::u16string_view text, const NumberFormat& format)
{
    try {
        (void)orvanta::conversions::textToNumber(text, format);
    } catch (const RuntimeError& error) {
        return error.kind();
    }
    return std::nullopt;
}

std::string utf8(std::u16string_view text)
{
    std::string out;
    for (const char16_t unit : text) {
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return out;
}

// A speed as typed under a format, and the two figures that Calculate writes for it.
struct FigureRow
{
    const NumberFormat& format;
    std::u16string_view speed;
    std::u16string_view download;
    std::u16string_view upload;
};

void checkFigures(const std::vector<FigureRow>& rows)
{
    for (const auto& row : rows) {
        CAPTURE(utf8(row.speed));
        const auto figures = orvanta::rate::convert(row.speed, row.format);
        CHECK(figures.download == row.download);
        CHECK(figures.upload == row.upload);
    }
}

} // namespace

TEST_CASE("a speed is read as the regional settings write it")
{
    struct Row
    {
        const NumberFormat& format;
        std::u16string_view text;
        double expected;
    };
    const std::vector<Row> rows{
        {plain, u"512", 512},
        {plain, u"0.5", 0.5},
        {plain, u"1,234", 1234},
        {plain, u"1,234,567.5", 1234567.5},
        {plain, u"  56 ", 56},
        {plain, u"\u00a056\u3000", 56},
        {plain, u"-8", -8},
        {plain, u"\u22128", -8},
        {plain, u"+5", 5},
        {plain, u"1E3", 1000},
        {plain, u"1e+3", 1000},
        {plain, u"5.", 5},
        {plain, u".5", 0.5},
        {plain, u"00012", 12},
        {plain, u"1E300", 1e300},
        {plain, u"0e999999", 0},
        {plain, u"1e-320", 1e-320},
        {greek, u"0,5", 0.5},
        {greek, u",5", 0.5},
        {greek, u"1.234,5", 1234.5},
        {greek, u"1.234", 1234},
        {greek, u"1,234e5", 123400},
        {greek, u"1E3", 1000},
        {greek, u"2048", 2048},
        {french, u"1 234,5", 1234.5},
        {french, u"1\u202f234,5", 1234.5},
        {french, u" 1 234 567 ", 1234567},
        {swedish, u"1 234,5", 1234.5},
        {swedish, u"\u22121\u00a0234", -1234},
        {pashto, u"0\u066b5", 0.5},
        {pashto, u"1\u066c234\u066b5", 1234.5},
    };
    for (const auto& row : rows) {
        CAPTURE(utf8(row.text));
        CHECK(orvanta::conversions::textToNumber(row.text, row.format) == row.expected);
    }
}

TEST_CASE("what is not a number is refused, and what lies beyond the range is told apart")
{
    struct Row
    {
        const NumberFormat& format;
        std::u16string_view text;
        Kind kind;
    };
    const std::vector<Row> rows{
        {plain, u"", Kind::TypeMismatch},
        {plain, u" ", Kind::TypeMismatch},
        {plain, u"abc", Kind::TypeMismatch},
        {plain, u"12abc", Kind::TypeMismatch},
        {plain, u"inf", Kind::TypeMismatch},
        {plain, u"-INF", Kind::TypeMismatch},
        {plain, u"nan", Kind::TypeMismatch},
        {plain, u"0x10", Kind::TypeMismatch},
        {plain, u"1 000", Kind::TypeMismatch},
        {plain, u"- 5", Kind::TypeMismatch},
        {plain, u"--5", Kind::TypeMismatch},
        {plain, u"+-5", Kind::TypeMismatch},
        {plain, u"1e", Kind::TypeMismatch},
        {plain, u"5e-", Kind::TypeMismatch},
        {plain, u"e5", Kind::TypeMismatch},
        {plain, u".e3", Kind::TypeMismatch},
        {plain, u"1.5e3.2", Kind::TypeMismatch},
        // Groups are of three digits, and only before the decimal point.
        {plain, u"1,23", Kind::TypeMismatch},
        {plain, u"1,2345", Kind::TypeMismatch},
        {plain, u"1234,567", Kind::TypeMismatch},
        {plain, u",123", Kind::TypeMismatch},
        {plain, u"1,,234", Kind::TypeMismatch},
        {plain, u"1,234,", Kind::TypeMismatch},
        {plain, u"1.5,000", Kind::TypeMismatch},
        // Digits of other scripts are not what the window's users type.
        {plain, u"\u0661", Kind::TypeMismatch},
        {plain, u"\uff15", Kind::TypeMismatch},
        {greek, u"Inf", Kind::TypeMismatch},
        {greek, u"0.5", Kind::TypeMismatch},
        {greek, u"1,234,567", Kind::TypeMismatch},
        // Too small to tell from zero.
        {plain, u"1e-400", Kind::TypeMismatch},
        {plain, u"1e-99999999999999999999", Kind::TypeMismatch},
        {plain, u"1e400", Kind::Overflow},
        {plain, u"-1e400", Kind::Overflow},
        {plain, u"1e0400", Kind::Overflow},
        {plain, u"0.0001e400", Kind::Overflow},
        {plain, u"1e99999999999999999999", Kind::Overflow},
        {greek, u"1E400", Kind::Overflow},
        // A space stands for a no-break space, and like it only between groups of three.
        {french, u"1  234", Kind::TypeMismatch},
        {french, u"12 34", Kind::TypeMismatch},
        {french, u"1 234.5", Kind::TypeMismatch},
        {greek, u"1 234", Kind::TypeMismatch},
        {pashto, u"0.5", Kind::TypeMismatch},
    };
    for (const auto& row : rows) {
        CAPTURE(utf8(row.text));
        CHECK(errorOf(row.text, row.format) == row.kind);
    }
}

TEST_CASE("a figure is written with at most 15 digits, as the regional settings write it")
{
    struct Row
    {
        const NumberFormat& format;
        double value;
        std::u16string_view expected;
    };
    const std::vector<Row> rows{
        {plain, 2048, u"2048"},
        {plain, 1.75, u"1.75"},
        {plain, -1024, u"-1024"},
        {plain, -0.0, u"0"},
        {plain, 0.1 + 0.2, u"0.3"},
        {plain, 123456789012345.0, u"123456789012345"},
        {plain, 1e15, u"1E+15"},
        {plain, 1e-5, u"1E-05"},
        {plain, 0.0001, u"0.0001"},
        {plain, 1.25e299, u"1.25E+299"},
        {plain, -3.125e-300, u"-3.125E-300"},
        {plain, 1234567.5, u"1234567.5"},
        // A tie at the sixteenth digit rounds away from zero; a carry adds a digit.
        {plain, 100000000000000.5, u"100000000000001"},
        {plain, -123456789012345.5, u"-123456789012346"},
        {plain, 99999999999999.95, u"100000000000000"},
        {plain, 9.999999999999995e-5, u"0.0001"},
        // Exactly 284308979991.52349853515625: the tie that its first 17 digits would make up
        // ("...5235") is not one, so it rounds down. msvcrt's printf stops at 17 digits.
        {plain, 284308979991.5235, u"284308979991.523"},
        {greek, 2048, u"2048"},
        {greek, 1.75, u"1,75"},
        {greek, 1.25e299, u"1,25E+299"},
        {greek, -0.0, u"0"},
        {french, 1234567.5, u"1234567,5"},
        {swedish, -1.75, u"\u22121,75"},
        {pashto, 1.75, u"1\u066b75"},
        {pashto, 3.125e298, u"3\u066b125E+298"},
    };
    for (const auto& row : rows) {
        CAPTURE(row.value);
        CHECK(orvanta::conversions::numberToText(row.value, row.format) == row.expected);
    }
}

TEST_CASE("the catalogue is looked up exactly")
{
    struct Row
    {
        std::u16string_view label;
        std::optional<std::int16_t> speed;
    };
    const std::vector<Row> rows{
        {u"PSTN 56kbps", 56},  {u"DSL 512kbps", 512}, {u"DSL 2048Kbps", 2048},
        {u"DSL 2048kbps", {}}, {u"dsl 512kbps", {}},  {u"", {}},
        {u" DSL 512kbps", {}}, {u"DSL 512kbps ", {}}, {u"512", {}},
    };
    for (const auto& row : rows) {
        CAPTURE(utf8(row.label));
        CHECK(orvanta::rate::lookup(row.label) == row.speed);
    }
    CHECK(orvanta::rate::speedText(2048) == u"2048");
    CHECK(orvanta::conversions::textsEqual(u"DSL 2048Kbps", u"DSL 2048Kbps"));
    CHECK_FALSE(orvanta::conversions::textsEqual(u" ", u""));
}

TEST_CASE("a speed gives its download and upload figures")
{
    checkFigures({
        {plain, u"512", u"64 Kbps", u"16 Kbps"},
        {plain, u"56", u"7 Kbps", u"1.75 Kbps"},
        {plain, u"2048", u"256 Kbps", u"64 Kbps"},
        {plain, u"55.9", u"7155.2 Kbps", u"1788.8 Kbps"},
        {plain, u"2", u"256 Kbps", u"64 Kbps"},
        {plain, u"0.5", u"64 Kbps", u"16 Kbps"},
        {plain, u"0", u"0 Kbps", u"0 Kbps"},
        {plain, u"-0", u"0 Kbps", u"0 Kbps"},
        {plain, u"-8", u"-1024 Kbps", u"-256 Kbps"},
        {plain, u"1E300", u"1.25E+299 Kbps", u"3.125E+298 Kbps"},
        {greek, u"56", u"7 Kbps", u"1,75 Kbps"},
        {greek, u"0,5", u"64 Kbps", u"16 Kbps"},
        {greek, u"1.024", u"128 Kbps", u"32 Kbps"},
        {greek, u"100", u"12,5 Kbps", u"3,125 Kbps"},
        {greek, u"1E300", u"1,25E+299 Kbps", u"3,125E+298 Kbps"},
    });
}

TEST_CASE("a speed that cannot be converted raises its error")
{
    const std::vector<std::pair<std::u16string_view, Kind>> rows{
        {u" ", Kind::TypeMismatch},
        {u"abc", Kind::TypeMismatch},
        {u"1e400", Kind::Overflow},
        // Only negative speeds reach the rescaling, so only they can overflow there.
        {u"-1E308", Kind::FloatingPoint},
    };
    for (const auto& row : rows) {
        CAPTURE(utf8(row.first));
        std::optional<Kind> raised;
        try {
            (void)orvanta::rate::convert(row.first, plain);
        } catch (const RuntimeError& error) {
            raised = error.kind();
        }
        CHECK(raised == row.second);
    }
}

namespace {

// Makes the C library's locale, which Qt sets from the user's on Linux, one whose decimal mark is
// two bytes long, for as long as it lives; false where the system has none of them.
class TwoByteDecimalMark
{
public:
    TwoByteDecimalMark()
    {
        for (const char* name : {"ps_AF.UTF-8", "ps_AF", "ps-AF"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                m_set = std::strlen(std::localeconv()->decimal_point) == 2;
                return;
            }
        }
    }
    ~TwoByteDecimalMark() { std::setlocale(LC_ALL, "C"); }
    TwoByteDecimalMark(const TwoByteDecimalMark&) = delete;
    TwoByteDecimalMark& operator=(const TwoByteDecimalMark&) = delete;

    [[nodiscard]] bool set() const { return m_set; }

private:
    bool m_set = false;
};

} // namespace

TEST_CASE("the figures do not depend on the C library's locale")
{
    const TwoByteDecimalMark locale;
#ifdef _WIN32
    if (!locale.set()) {
        MESSAGE("this Windows has no locale with a two-byte decimal mark; written in C only");
    }
#else
    REQUIRE(locale.set());
#endif
    checkFigures({
        {plain, u"1E300", u"1.25E+299 Kbps", u"3.125E+298 Kbps"},
        {plain, u"1.7E308", u"2.125E+307 Kbps", u"5.3125E+306 Kbps"},
        {greek, u"1E-300", u"1,28E-298 Kbps", u"3,2E-299 Kbps"},
        {plain, u"100000000000000.5", u"12500000000000.1 Kbps", u"3125000000000.02 Kbps"},
        {pashto, u"56", u"7 Kbps", u"1\u066b75 Kbps"},
    });
}
