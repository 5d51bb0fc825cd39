#include "qt/app_icon.h"
#include "qt/qt_host.h"
#include "qt/translation.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(orvanta::applicationIcon());
    // Lets the desktop match the window to its installed entry, and so to its name and icon.
    QGuiApplication::setDesktopFileName(u"org.example.Orvanta"_s);
    orvanta::installToolkitTranslation(app);
    orvanta::QtWindow window;
    window.load();
    window.show();
    return QApplication::exec();
}
