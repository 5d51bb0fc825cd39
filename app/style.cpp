#include "app/style.h"

#include "app/system_look.h"

#include <QApplication>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace orvanta {

QString dialogStyle(const QString& chosen, bool systemColours)
{
    const bool windowsTheme = chosen == u"windowsvista"_s || chosen == u"windows11"_s;
    if (windowsTheme && systemColours) {
        return u"windows"_s;
    }
    // The windows11 style draws the list's arrow and other marks with a font that Windows 11
    // alone has, so no test here can see them drawn; the system theme draws them itself, as in
    // Windows 11's own dialogs. In dark mode Qt keeps that theme on its light palette.
    if (chosen == u"windows11"_s) {
        return u"windowsvista"_s;
    }
    return chosen;
}

void useSystemDialogStyle()
{
    const QString chosen = QApplication::style()->name();
    const QString wanted = dialogStyle(chosen, systemColoursOnly());
    if (wanted != chosen) {
        QApplication::setStyle(wanted);
    }
}

} // namespace orvanta
