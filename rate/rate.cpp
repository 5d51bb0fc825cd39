#include "rate/rate.h"

#include "app/platform.h"

using namespace Qt::StringLiterals;

namespace orvanta::rate {

namespace {

constexpr double downloadDivisor = 8;
constexpr double uploadDivisor = 32;
constexpr double rescaleThreshold = 56;
constexpr double rescaleFactor = 1024;

QString figureText(double figure, const QLocale& locale)
{
    platform::checkFloat(figure);
    return platform::joinTexts(platform::numberToText(figure, locale), u" Kbps"_s);
}

} // namespace

QStringList labels()
{
    QStringList result;
    result.reserve(catalogue.size());
    for (const auto& connection : catalogue) {
        result.append(connection.label.toString());
    }
    return result;
}

std::optional<qint16> lookup(const QString& label)
{
    for (const auto& connection : catalogue) {
        if (platform::textsEqual(connection.label.toString(), label)) {
            return connection.nominalSpeed;
        }
    }
    return std::nullopt;
}

QString speedText(qint16 nominalSpeed)
{
    return platform::integerToText(nominalSpeed);
}

Figures convert(const QString& speed, const QLocale& locale)
{
    const double value = platform::textToNumber(speed, locale);
    const double kbps = value < rescaleThreshold ? value * rescaleFactor : value;
    return {figureText(kbps / downloadDivisor, locale), figureText(kbps / uploadDivisor, locale)};
}

} // namespace orvanta::rate
