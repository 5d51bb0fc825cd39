#pragma once

// The look of the program's controls.

#include <QString>

namespace orvanta {

// The style to draw in, given the one Qt chose and whether the system draws its controls in
// colours that the user chose (systemColoursOnly()).
// - On Windows 11, Qt 6.8 would draw the controls itself in its windows11 style; the system's own
//   theme (windowsvista) is kept, with which Windows 11 still draws its dialogs.
// - Where the user's colours rule, the classic windows style, which draws every text and mark in
//   the system's colours: windowsvista takes a frame's title colour from the visual style even
//   when none draws, and so shows it black on a contrast theme's black.
// Any other style, chosen by Qt or asked for, is kept.
[[nodiscard]] QString dialogStyle(const QString& chosen, bool systemColours);

// Applies dialogStyle() to the application. Call once the application exists, before any window
// does.
void useSystemDialogStyle();

} // namespace orvanta
