// Feeds arbitrary bytes to the speed conversion, read as UTF-8 and as UTF-16, in the C and the
// Greek locale. Whatever a user types, the conversion must either give two " Kbps" figures that
// read back to the speed / 8 and / 32 and are written as the window promises, or refuse with the
// run-time error the window reports.
// Anything else (a crash, a hang, a sanitizer report, a wrong figure, an "inf" or "nan" on show)
// aborts the run with the offending input.

#include "app/platform.h"
#include "rate/rate.h"

#include <QLocale>
#include <QString>
#include <QStringView>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

using orvanta::platform::RuntimeError;
using Kind = RuntimeError::Kind;

// The figures the window should show, worked out here rather than by the conversion.
struct Expected
{
    double download;
    double upload;
};

// The rule as a user would state it, kept apart from the conversion's own constants.
constexpr double megabitThreshold = 56;
constexpr double kilobitsPerMegabit = 1024;
constexpr double downloadShare = 8;
constexpr double uploadShare = 32;

// 15 significant digits round to within half a unit in the 15th place; reading the text back
// rounds once more to the nearest double, which stays at least as close to the figure.
constexpr double relativeTolerance = 1e-14;
// Enough digits to tell any two doubles apart in a failure report.
constexpr int exactDigits = 17;

[[noreturn]] void fail(const char* what, const QString& input, const QLocale& locale,
                       const QString& detail = QString())
{
    std::fprintf(stderr, "rate_fuzzer: %s\n  locale: %s\n  input (UTF-16 units):", what,
                 qUtf8Printable(locale.name()));
    for (const QChar unit : input) {
        std::fprintf(stderr, " %04x", static_cast<unsigned>(unit.unicode()));
    }
    std::fprintf(stderr, "\n  detail: %s\n", qUtf8Printable(detail));
    std::abort();
}

std::variant<Expected, Kind> expectedFor(const QString& input, const QLocale& locale)
{
    double speed = 0;
    try {
        speed = orvanta::platform::textToNumber(input, locale);
    } catch (const RuntimeError& error) {
        return error.kind();
    }
    const double kbps = speed < megabitThreshold ? speed * kilobitsPerMegabit : speed;
    const Expected expected{kbps / downloadShare, kbps / uploadShare};
    if (!std::isfinite(expected.download) || !std::isfinite(expected.upload)) {
        return Kind::FloatingPoint;
    }
    return expected;
}

// The look the window promises: at most 15 significant digits, no digit grouping, no trailing
// zeros after the decimal mark, and zero never written "-0".
void checkNotation(const QString& number, const QString& figure, double expected,
                   const QString& input, const QLocale& locale)
{
    constexpr qsizetype maxSignificantDigits = 15;
    const qsizetype exponentAt = number.indexOf(u'E');
    const QString mantissa = exponentAt < 0 ? number : number.first(exponentAt);
    if (mantissa.contains(locale.groupSeparator())) {
        fail("figure is grouped", input, locale, figure);
    }
    const QString decimalMark = locale.decimalPoint();
    if (mantissa.contains(decimalMark) &&
        (mantissa.endsWith(u'0') || mantissa.endsWith(decimalMark))) {
        fail("figure has trailing zeros", input, locale, figure);
    }
    qsizetype significant = 0;
    for (const QChar character : mantissa) {
        if (character.isDigit() && (significant > 0 || character != u'0')) {
            ++significant;
        }
    }
    if (significant > maxSignificantDigits) {
        fail("figure has more than 15 significant digits", input, locale, figure);
    }
    if (expected == 0 && number != u"0") {
        fail("zero is not written \"0\"", input, locale, figure);
    }
}

void checkFigure(const QString& figure, double expected, const QString& input,
                 const QLocale& locale)
{
    constexpr QStringView suffix = u" Kbps";
    if (!figure.endsWith(suffix)) {
        fail("figure without the \" Kbps\" suffix", input, locale, figure);
    }
    const QString number = figure.chopped(suffix.size());
    if (number.contains(u"inf", Qt::CaseInsensitive) ||
        number.contains(u"nan", Qt::CaseInsensitive)) {
        fail("figure shows a non-number", input, locale, figure);
    }
    bool ok = false;
    const double shown = locale.toDouble(number, &ok);
    if (!ok) {
        fail("figure does not read back as a number", input, locale, figure);
    }
    if (std::abs(shown - expected) > relativeTolerance * std::abs(expected)) {
        fail("figure is off", input, locale,
             figure + u" but expected "_s + QString::number(expected, 'g', exactDigits));
    }
    checkNotation(number, figure, expected, input, locale);
}

void check(const QString& input, const QLocale& locale)
{
    const auto expected = expectedFor(input, locale);
    try {
        const auto figures = orvanta::rate::convert(input, locale);
        if (const auto* refusal = std::get_if<Kind>(&expected)) {
            fail("converted a speed it should refuse", input, locale,
                 QString::fromLatin1(RuntimeError(*refusal).what()));
        }
        const auto& figuresExpected = std::get<Expected>(expected);
        checkFigure(figures.download, figuresExpected.download, input, locale);
        checkFigure(figures.upload, figuresExpected.upload, input, locale);
    } catch (const RuntimeError& error) {
        const auto* refusal = std::get_if<Kind>(&expected);
        if (refusal == nullptr) {
            fail("refused a speed whose figures are finite", input, locale,
                 QString::fromLatin1(error.what()));
        }
        if (*refusal != error.kind()) {
            fail("refused with the wrong error", input, locale, QString::fromLatin1(error.what()));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::array<QLocale, 2> locales{QLocale::c(),
                                                QLocale(QLocale::Greek, QLocale::Greece)};

    const QString utf8 =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Native byte order, copied so that odd addresses and odd lengths are no concern.
    QString utf16(static_cast<qsizetype>(size / sizeof(QChar)), Qt::Uninitialized);
    if (!utf16.isEmpty()) {
        std::memcpy(utf16.data(), data, static_cast<std::size_t>(utf16.size()) * sizeof(QChar));
    }

    for (const QLocale& locale : locales) {
        check(utf8, locale);
        check(utf16, locale);
    }
    return 0;
}
