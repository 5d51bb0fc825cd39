#include "core/rate.h"

#include "core/errors.h"

namespace orvanta::rate {

namespace {

constexpr double downloadDivisor = 8;
constexpr double uploadDivisor = 32;
constexpr double rescaleThreshold = 56;
constexpr double rescaleFactor = 1024;

std::u16string figureText(double figure, const conversions::NumberFormat& format)
{
    checkFloat(figure);
    return conversions::joinTexts(conversions::numberToText(figure, format), u" Kbps");
}

} // namespace

std::optional<std::int16_t> lookup(std::u16string_view label)
{
    for (const auto& connection : catalogue) {
        if (conversions::textsEqual(connection.label, label)) {
            return connection.nominalSpeed;
        }
    }
    return std::nullopt;
}

std::u16string speedText(std::int16_t nominalSpeed)
{
    return conversions::integerToText(nominalSpeed);
}

Figures convert(std::u16string_view speed, const conversions::NumberFormat& format)
{
    const double value = conversions::textToNumber(speed, format);
    const double kbps = value < rescaleThreshold ? value * rescaleFactor : value;
    return {figureText(kbps / downloadDivisor, format), figureText(kbps / uploadDivisor, format)};
}

} // namespace orvanta::rate
