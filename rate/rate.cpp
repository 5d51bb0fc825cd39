#include "rate/rate.h"

namespace orvanta::rate {

namespace {

constexpr double downloadDivisor = 8;
constexpr double uploadDivisor = 32;
constexpr double rescaleThreshold = 56;
constexpr double rescaleFactor = 1024;

std::u16string figureText(double figure, const platform::NumberFormat& format)
{
    platform::checkFloat(figure);
    return platform::joinTexts(platform::numberToText(figure, format), u" Kbps");
}

} // namespace

std::optional<std::int16_t> lookup(std::u16string_view label)
{
    for (const auto& connection : catalogue) {
        if (platform::textsEqual(connection.label, label)) {
            return connection.nominalSpeed;
        }
    }
    return std::nullopt;
}

std::u16string speedText(std::int16_t nominalSpeed)
{
    return platform::integerToText(nominalSpeed);
}

Figures convert(std::u16string_view speed, const platform::NumberFormat& format)
{
    const double value = platform::textToNumber(speed, format);
    const double kbps = value < rescaleThreshold ? value * rescaleFactor : value;
    return {figureText(kbps / downloadDivisor, format), figureText(kbps / uploadDivisor, format)};
}

} // namespace orvanta::rate
