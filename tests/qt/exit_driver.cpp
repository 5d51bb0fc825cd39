// A test-only program: the real window in a process of its own, left through Exit once a
// scenario has been played on it, so that a test can watch how the program ends.
//
// Usage: orvanta_exit_driver fresh|list|typed|key|fault
//   fresh  press Exit straight after start-up
//   list   pick "DSL 512kbps" and calculate first
//   typed  choose the typed speed, type 1024 and calculate first
//   key    press Alt and Exit's access key, Ξ, instead of clicking it
//   fault  typed, in a window whose regional settings fail with std::bad_alloc
// Before pressing Exit it prints the two result boxes, so the test can tell that the scenario
// was really played, and once the program has ended, every message box it showed.

#include "qt/qt_host.h"
#include "support/message_box_watcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <memory>
#include <new>

using namespace Qt::StringLiterals;

namespace {

// A fault that no handler expects, where Calculate's handler first asks the host for something.
class FaultyWindow : public orvanta::QtWindow
{
public:
    [[nodiscard]] orvanta::conversions::NumberFormat numberFormat() const override
    {
        throw std::bad_alloc();
    }
};

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
    } else if (scenario == u"typed"_s || scenario == u"fault"_s) {
        click(window, "Option2");
        auto* speed = control<QLineEdit>(window, "Text1");
        QTest::mouseClick(speed, Qt::LeftButton);
        QTest::keyClicks(speed, u"1024"_s);
        click(window, "Command1");
    } else if (scenario != u"fresh"_s && scenario != u"key"_s) {
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
    const MessageBoxWatcher watcher;
    const std::unique_ptr<orvanta::QtWindow> shown = scenario == u"fault"_s
                                                         ? std::make_unique<FaultyWindow>()
                                                         : std::make_unique<orvanta::QtWindow>();
    orvanta::QtWindow& window = *shown;
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
        if (scenario == u"key"_s) {
            // An access key reaches only the active window.
            if (!QTest::qWaitForWindowActive(&window)) {
                QCoreApplication::exit(2);
                return;
            }
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(0x039E),
                                QString(), Qt::AltModifier);
        } else {
            click(window, "Command3");
        }
    });
    const int code = QApplication::exec();
    for (const ShownBox& box : watcher.boxes()) {
        QTextStream(stdout) << "box " << box.icon << ": " << box.text << Qt::endl;
    }
    return code;
}
