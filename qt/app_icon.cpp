#include "qt/app_icon.h"

#include <QSize>
#include <QString>

using namespace Qt::StringLiterals;

namespace orvanta {

QIcon applicationIcon()
{
    // Each size is a drawing of its own, so the window system never has to scale one up.
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        icon.addFile(u":/icons/orvanta-%1.png"_s.arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace orvanta
