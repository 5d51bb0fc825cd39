#include "app/system_look.h"

#include <QtGlobal>
#include <algorithm>

#ifdef Q_OS_WIN
#include <QApplication>
#include <QFont>
#include <QSettings>
#include <qt_windows.h>
#include <uxtheme.h>
#endif

using namespace Qt::StringLiterals;

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

double scaleThatFits(double wanted, QSize window, QSize frame, QSize room)
{
    const double across = double(room.width() - frame.width()) / window.width();
    const double down = double(room.height() - frame.height()) / window.height();
    return std::max(1.0, std::min({wanted, across, down}));
}

#ifdef Q_OS_WIN

namespace {

// Where the Settings page keeps Text size; Windows has no call that gives it to a program that
// does not use its XAML controls.
int windowsTextSizePercent()
{
    const QSettings accessibility(u"HKEY_CURRENT_USER\\Software\\Microsoft\\Accessibility"_s,
                                  QSettings::NativeFormat);
    return accessibility.value(u"TextScaleFactor"_s, smallestTextSize).toInt();
}

bool highContrastOn()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, contrast.cbSize, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

} // namespace

double systemTextScale()
{
    return textScale(windowsTextSizePercent(), QApplication::font().pointSizeF());
}

bool systemColoursOnly()
{
    const bool visualStyles = IsThemeActive() != FALSE && IsAppThemed() != FALSE;
    return !visualStyles || highContrastOn();
}

#else

double systemTextScale()
{
    return 1.0;
}

bool systemColoursOnly()
{
    return false;
}

#endif

} // namespace orvanta
