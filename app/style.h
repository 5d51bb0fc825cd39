#pragma once

// The look of the program's controls.

namespace orvanta {

// On Windows 11, Qt 6.8 would draw the controls itself in its windows11 style; this keeps the
// system's own theme (windowsvista), with which Windows 11 still draws its dialogs. Any other
// style, chosen by Qt or asked for, is kept. Call once the application exists, before any window
// does.
void useSystemDialogStyle();

} // namespace orvanta
