#pragma once

// The program's own icon, built into the executable so that it needs no installed files.

#include <QIcon>

namespace orvanta {

// The speed gauge in every size it is drawn in.
[[nodiscard]] QIcon applicationIcon();

} // namespace orvanta
