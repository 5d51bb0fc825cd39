#include "support/message_box_watcher.h"
#include "support/window_test.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What a key is expected to do.
enum class Outcome
{
    SelectsListMode,  // Option1: the list enabled, the speed box not
    SelectsTypedMode, // Option2: the other way round
    Calculates,       // Command1, with "DSL 512kbps" picked
    ShowsAbout,       // Command2: About's three boxes
    FocusesDownload,  // Label1's box
    FocusesUpload,    // Label2's box
};

} // namespace

// Alt and each access key, pressed on the real window as a user presses them. Exit's key ends
// the program, so tst_about_exit presses it in a process of its own.
class tst_AccessKeys : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void altAndTheLetterReachesItsControl_data();
    void altAndTheLetterReachesItsControl();
};

void tst_AccessKeys::init()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(openWindow());
}

void tst_AccessKeys::cleanup()
{
    m_window.reset();
}

void tst_AccessKeys::altAndTheLetterReachesItsControl_data()
{
    QTest::addColumn<int>("key"); // a letter's Qt key is its upper case's code point
    QTest::addColumn<Outcome>("outcome");

    QTest::newRow("Alt+λ, Επιλέξτε") << 0x039B << Outcome::SelectsListMode;
    QTest::newRow("Alt+ι, Εισάγετε") << 0x0399 << Outcome::SelectsTypedMode;
    QTest::newRow("Alt+γ, Υπολογισμός") << 0x0393 << Outcome::Calculates;
    QTest::newRow("Alt+ρ, Περί...") << 0x03A1 << Outcome::ShowsAbout;
    QTest::newRow("Alt+D, Download:") << int(Qt::Key_D) << Outcome::FocusesDownload;
    QTest::newRow("Alt+U, Upload:") << int(Qt::Key_U) << Outcome::FocusesUpload;
}

void tst_AccessKeys::altAndTheLetterReachesItsControl()
{
    QFETCH(int, key);
    QFETCH(Outcome, outcome);

    auto* list = control<QComboBox>("Combo1");
    auto* speed = control<QLineEdit>("Text1");
    // Each key starts where it has something to change.
    if (outcome == Outcome::SelectsListMode) {
        typeSpeed(u"1024"_s);
    } else if (outcome == Outcome::Calculates) {
        pick(u"DSL 512kbps"_s);
    }
    const MessageBoxWatcher watcher;
    // Sent as a key event without text: QTest derives text from ASCII keys alone.
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(key), QString(),
                        Qt::AltModifier);

    // A button's key presses it the way a click does, a moment later.
    switch (outcome) {
    case Outcome::SelectsListMode:
        QTRY_VERIFY(control<QRadioButton>("Option1")->isChecked());
        QVERIFY(list->isEnabled() && !speed->isEnabled());
        break;
    case Outcome::SelectsTypedMode:
        QTRY_VERIFY(control<QRadioButton>("Option2")->isChecked());
        QVERIFY(!list->isEnabled() && speed->isEnabled());
        break;
    case Outcome::Calculates:
        QTRY_COMPARE(control<QLineEdit>("Text2")->text(), u"64 Kbps"_s);
        QCOMPARE(control<QLineEdit>("Text3")->text(), u"16 Kbps"_s);
        break;
    case Outcome::ShowsAbout:
        QTRY_COMPARE(watcher.boxes().size(), 3);
        QCOMPARE(watcher.boxes().constFirst().text, u"Orvanta v1.0"_s);
        break;
    case Outcome::FocusesDownload:
        QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>("Text2"));
        break;
    case Outcome::FocusesUpload:
        QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>("Text3"));
        break;
    }
}

QTEST_MAIN(tst_AccessKeys)
#include "tst_access_keys.moc"
