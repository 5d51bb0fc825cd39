#pragma once

// The program's own icon, built into the executable so that it needs no installed files.

#include <QIcon>

namespace orvanta {

// The speed gauge in the sizes a window shows: 16 to 64 pixels.
[[nodiscard]] QIcon applicationIcon();

} // namespace orvanta
