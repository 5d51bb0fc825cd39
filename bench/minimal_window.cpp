// The least a Qt Widgets program can do to show Orvanta's window: a plain dialog built from the
// same layout file, so with the same controls at the same places in the same font, its list
// holding the same entries, and nothing else: no handlers, no icon, no translation. It is the
// yardstick that the benchmark holds the real program's start-up time and memory against.

#include "ui_main_window.h"

#include <QApplication>
#include <QDialog>
#include <QString>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    Ui::frmMain layout;
    layout.setupUi(&dialog);
    layout.Combo1->addItems({u"PSTN 56kbps"_s, u"ISDN 64kbps"_s, u"ISDN 128kbps"_s,
                             u"DSL 256kbps"_s, u"DSL 384kbps"_s, u"DSL 512kbps"_s, u"DSL 768kbps"_s,
                             u"DSL 1024kbps"_s, u"DSL 2048Kbps"_s});
    layout.Combo1->setCurrentIndex(-1);
    layout.Option1->setChecked(true);
    layout.Text1->setEnabled(false);
    layout.Combo1->setFocus();
    dialog.show();
    return QApplication::exec();
}
