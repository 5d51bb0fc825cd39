#include "app/style.h"

#include <QApplication>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace orvanta {

void useSystemDialogStyle()
{
    // The windows11 style draws the list's arrow and other marks with a font that Windows 11
    // alone has, so no test here can see them drawn; the system theme draws them itself, as in
    // Windows 11's own dialogs. In dark mode Qt keeps that theme on its light palette.
    if (QApplication::style()->name() == u"windows11"_s) {
        QApplication::setStyle(u"windowsvista"_s);
    }
}

} // namespace orvanta
