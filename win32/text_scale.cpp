#include "win32/text_scale.h"

#include <algorithm>

namespace orvanta {

namespace {

// The range of Windows' Text size setting.
constexpr int smallestTextSize = 100;
constexpr int largestTextSize = 225;

} // namespace

double textScale(int textSizePercent, double systemFontPoints)
{
    const double textSize = std::clamp(textSizePercent, smallestTextSize, largestTextSize) / 100.0;
    const double fontSize = systemFontPoints / defaultSystemFontPoints;
    return std::max({1.0, textSize, fontSize});
}

double scaleThatFits(double wanted, Extent window, Extent frame, Extent room)
{
    const double across = double(room.width - frame.width) / window.width;
    const double down = double(room.height - frame.height) / window.height;
    return std::max(1.0, std::min({wanted, across, down}));
}

} // namespace orvanta
