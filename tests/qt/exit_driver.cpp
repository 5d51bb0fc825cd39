// A test-only program: the real window in a process of its own, left through Exit once a
// scenario has been played on it, so that a test can watch how the program ends.
//
// Usage: orvanta_exit_driver fresh|list|typed
//   fresh  press Exit straight after start-up
//   list   pick "DSL 512kbps" and calculate first
//   typed  choose the typed speed, type 1024 and calculate first
// Before pressing Exit it prints the two result boxes, so the test can tell that the scenario
// was really played.

#include "qt/qt_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTextStream>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T* control(const orvanta::QtWindow& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

void click(const orvanta::QtWindow& window, const char* button)
{
    QTest::mouseClick(control<QAbstractButton>(window, button), Qt::LeftButton);
}

bool play(const orvanta::QtWindow& window, const QString& scenario)
{
    if (scenario == u"list"_s) {
        auto* list = control<QComboBox>(window, "Combo1");
        list->setCurrentIndex(list->findText(u"DSL 512kbps"_s));
        click(window, "Command1");
    } else if (scenario == u"typed"_s) {
        click(window, "Option2");
        auto* speed = control<QLineEdit>(window, "Text1");
        QTest::mouseClick(speed, Qt::LeftButton);
        QTest::keyClicks(speed, u"1024"_s);
        click(window, "Command1");
    } else if (scenario != u"fresh"_s) {
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString scenario = arguments.value(1);
    orvanta::QtWindow window;
    window.load();
    window.show();
    QTimer::singleShot(0, &window, [&window, scenario] {
        if (!play(window, scenario)) {
            QTextStream(stderr) << "unknown scenario: " << scenario << Qt::endl;
            QCoreApplication::exit(2);
            return;
        }
        QTextStream(stdout) << "download: " << control<QLineEdit>(window, "Text2")->text()
                            << "\nupload: " << control<QLineEdit>(window, "Text3")->text()
                            << Qt::endl;
        click(window, "Command3");
    });
    return QApplication::exec();
}
