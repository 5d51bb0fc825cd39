#pragma once

// What the user has asked of every window's look: larger text, and colours of their own choosing
// (a contrast theme). Windows leaves both to each program that does not use its XAML controls.

#include <QSize>

namespace orvanta {

// The window is laid out for 8-point text where Windows' dialogs have 9 points: its layout stands
// for Windows' default message font, Segoe UI at 9 points.
inline constexpr double defaultSystemFontPoints = 9.0;

// How much larger than laid out the window's text and geometry are to be: Windows' Text size, in
// percent (100 to 225; anything else is taken as the nearest of those), or a system message font
// larger than the default, whichever asks more. Windows may already have grown the message font
// by the text size, which must not count twice. Never below 1: a smaller font leaves the window
// as it is laid out.
[[nodiscard]] double textScale(int textSizePercent, double systemFontPoints);

// The largest factor, up to wanted, at which a window of this size, within a frame of this size,
// still fits the room that the screen leaves for windows; never below 1, where the window keeps
// its size whatever the screen.
[[nodiscard]] double scaleThatFits(double wanted, QSize window, QSize frame, QSize room);

// What the system asks for now: textScale() of Windows' Text size and of the application's font;
// 1 on other systems, where the font size itself follows the user's settings.
[[nodiscard]] double systemTextScale();

// True where the system draws classic controls in colours that the user chose: under a contrast
// theme, or with visual styles off. Always false on other systems.
[[nodiscard]] bool systemColoursOnly();

} // namespace orvanta
