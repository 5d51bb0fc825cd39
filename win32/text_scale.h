#pragma once

// How much larger than laid out the window is to be drawn, for readers who asked for larger
// text. Windows leaves this to each program that does not use its XAML controls.

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

struct Extent
{
    int width;
    int height;
};

// The largest factor, up to wanted, at which a window of this size, within a frame of this size,
// still fits the room that the screen leaves for windows; never below 1, where the window keeps
// its size whatever the screen.
[[nodiscard]] double scaleThatFits(double wanted, Extent window, Extent frame, Extent room);

} // namespace orvanta
