#include "qt/app_icon.h"
#include "qt/qt_host.h"
#include "qt/translation.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The handlers' faults are caught where they are dispatched (QtWindow); this catches those of
    // start-up itself, so that no fault ends the program without a word.
    try {
        QApplication::setWindowIcon(orvanta::applicationIcon());
        // Lets the desktop match the window to its installed entry, and so to its name and icon.
        QGuiApplication::setDesktopFileName(u"org.example.Orvanta"_s);
        orvanta::installToolkitTranslation(app);
        orvanta::QtWindow window;
        window.load();
        if (window.faulted()) {
            return orvanta::QtWindow::faultExitCode;
        }
        window.show();
        return QApplication::exec();
    } catch (...) {
        orvanta::QtWindow::reportFault(nullptr);
        return orvanta::QtWindow::faultExitCode;
    }
}
