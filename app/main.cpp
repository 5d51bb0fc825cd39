#include "app/translation.h"
#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    orvanta::installToolkitTranslation(app);
    frmMain window;
    window.load();
    window.show();
    return QApplication::exec();
}
