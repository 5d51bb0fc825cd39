// Feeds arbitrary bytes to the speed conversion, read as UTF-8 and as UTF-16, in the C and the
// Greek regional settings. Whatever a user types:
// - the number read must be what Qt's own reading of the locale gives, refusals alike, so that
//   the conversion that every host shares answers as Linux's toolkit always has;
// - the conversion must either give two " Kbps" figures that read back to the speed / 8 and / 32
//   and are written as the window promises, or refuse with the run-time error the window reports.
// Anything else (a crash, a hang, a sanitizer report, a wrong figure, an "inf" or "nan" on show)
// aborts the run with the offending input.

#include "core/conversions.h"
#include "core/errors.h"
#include "core/rate.h"

#include <QLocale>
#include <QString>
#include <QStringView>
#include <array>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

using orvanta::RuntimeError;
using orvanta::conversions::NumberFormat;
using Kind = RuntimeError::Kind;

struct Settings
{
    QLocale locale;
    NumberFormat format;
};

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

std::u16string_view view(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

[[noreturn]] void fail(const char* what, const QString& input, const Settings& settings,
                       const QString& detail = QString())
{
    std::fprintf(stderr, "rate_fuzzer: %s\n  locale: %s\n  input (UTF-16 units):", what,
                 qUtf8Printable(settings.locale.name()));
    for (const QChar unit : input) {
        std::fprintf(stderr, " %04x", static_cast<unsigned>(unit.unicode()));
    }
    std::fprintf(stderr, "\n  detail: %s\n", qUtf8Printable(detail));
    std::abort();
}

// What Qt reads from the text: the number, or why there is none.
std::variant<double, Kind> qtReading(const QString& input, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(input.trimmed(), &ok);
    if (!ok && std::isinf(value)) {
        return Kind::Overflow;
    }
    if (!ok || !std::isfinite(value)) {
        return Kind::TypeMismatch;
    }
    return value;
}

void checkReading(const QString& input, const Settings& settings)
{
    const auto expected = qtReading(input, settings.locale);
    try {
        const double value = orvanta::conversions::textToNumber(view(input), settings.format);
        const auto* number = std::get_if<double>(&expected);
        if (number == nullptr) {
            fail("read a number that Qt refuses", input, settings,
                 QString::number(value, 'g', exactDigits));
        }
        if (value != *number) {
            fail("read another number than Qt", input, settings,
                 QString::number(value, 'g', exactDigits) + u" but Qt reads "_s +
                     QString::number(*number, 'g', exactDigits));
        }
    } catch (const RuntimeError& error) {
        const auto* refusal = std::get_if<Kind>(&expected);
        if (refusal == nullptr || *refusal != error.kind()) {
            fail("refused otherwise than Qt", input, settings, QString::fromLatin1(error.what()));
        }
    }
}

std::variant<Expected, Kind> expectedFor(const QString& input, const Settings& settings)
{
    const auto reading = qtReading(input, settings.locale);
    if (const auto* refusal = std::get_if<Kind>(&reading)) {
        return *refusal;
    }
    const double speed = std::get<double>(reading);
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
                   const QString& input, const Settings& settings)
{
    constexpr qsizetype maxSignificantDigits = 15;
    const qsizetype exponentAt = number.indexOf(u'E');
    const QString mantissa = exponentAt < 0 ? number : number.first(exponentAt);
    if (mantissa.contains(settings.locale.groupSeparator())) {
        fail("figure is grouped", input, settings, figure);
    }
    const QString decimalMark = settings.locale.decimalPoint();
    if (mantissa.contains(decimalMark) &&
        (mantissa.endsWith(u'0') || mantissa.endsWith(decimalMark))) {
        fail("figure has trailing zeros", input, settings, figure);
    }
    qsizetype significant = 0;
    for (const QChar character : mantissa) {
        if (character.isDigit() && (significant > 0 || character != u'0')) {
            ++significant;
        }
    }
    if (significant > maxSignificantDigits) {
        fail("figure has more than 15 significant digits", input, settings, figure);
    }
    if (expected == 0 && number != u"0") {
        fail("zero is not written \"0\"", input, settings, figure);
    }
}

void checkFigure(const QString& figure, double expected, const QString& input,
                 const Settings& settings)
{
    constexpr QStringView suffix = u" Kbps";
    if (!figure.endsWith(suffix)) {
        fail("figure without the \" Kbps\" suffix", input, settings, figure);
    }
    const QString number = figure.chopped(suffix.size());
    if (number.contains(u"inf", Qt::CaseInsensitive) ||
        number.contains(u"nan", Qt::CaseInsensitive)) {
        fail("figure shows a non-number", input, settings, figure);
    }
    bool ok = false;
    const double shown = settings.locale.toDouble(number, &ok);
    if (!ok) {
        fail("figure does not read back as a number", input, settings, figure);
    }
    if (std::abs(shown - expected) > relativeTolerance * std::abs(expected)) {
        fail("figure is off", input, settings,
             figure + u" but expected "_s + QString::number(expected, 'g', exactDigits));
    }
    checkNotation(number, figure, expected, input, settings);
}

// The figure must be written exactly as Qt writes it for the locale, to the last digit.
void checkWriting(double figure, const QString& input, const Settings& settings)
{
    QLocale plain = settings.locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString expected = plain.toString(figure == 0.0 ? 0.0 : figure, 'G', 15);
    const QString written = toQString(orvanta::conversions::numberToText(figure, settings.format));
    if (written != expected) {
        fail("wrote a figure otherwise than Qt", input, settings,
             written + u" but Qt writes "_s + expected);
    }
}

void check(const QString& input, const Settings& settings)
{
    checkReading(input, settings);
    const auto expected = expectedFor(input, settings);
    try {
        const auto figures = orvanta::rate::convert(view(input), settings.format);
        if (const auto* refusal = std::get_if<Kind>(&expected)) {
            fail("converted a speed it should refuse", input, settings,
                 QString::fromLatin1(RuntimeError(*refusal).what()));
        }
        const auto& figuresExpected = std::get<Expected>(expected);
        checkWriting(figuresExpected.download, input, settings);
        checkWriting(figuresExpected.upload, input, settings);
        checkFigure(toQString(figures.download), figuresExpected.download, input, settings);
        checkFigure(toQString(figures.upload), figuresExpected.upload, input, settings);
    } catch (const RuntimeError& error) {
        const auto* refusal = std::get_if<Kind>(&expected);
        if (refusal == nullptr) {
            fail("refused a speed whose figures are finite", input, settings,
                 QString::fromLatin1(error.what()));
        }
        if (*refusal != error.kind()) {
            fail("refused with the wrong error", input, settings,
                 QString::fromLatin1(error.what()));
        }
    }
}

} // namespace

// The C library's locale is one whose decimal mark is two bytes long, as Qt sets it from the
// user's on Linux: nothing the conversion writes may depend on it.
extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    if (std::setlocale(LC_ALL, "ps_AF.UTF-8") == nullptr) {
        std::fprintf(stderr, "the locale ps_AF.UTF-8 is missing: scripts/install-deps fuzz\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // French groups with a narrow no-break space, which a user types as an ordinary one.
    static const std::array<Settings, 3> settings{{
        {QLocale::c(), {u'.', u',', u'-', u'+'}},
        {QLocale(QLocale::Greek, QLocale::Greece), {u',', u'.', u'-', u'+'}},
        {QLocale(QLocale::French, QLocale::France), {u',', u'\u202f', u'-', u'+'}},
    }};

    const QString utf8 =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Native byte order, copied so that odd addresses and odd lengths are no concern.
    QString utf16(static_cast<qsizetype>(size / sizeof(QChar)), Qt::Uninitialized);
    if (!utf16.isEmpty()) {
        std::memcpy(utf16.data(), data, static_cast<std::size_t>(utf16.size()) * sizeof(QChar));
    }

    for (const Settings& each : settings) {
        check(utf8, each);
        check(utf16, each);
    }
    return 0;
}
