#include "core/errors.h"
#include "core/main_window.h"
#include "support/message_box_watcher.h"
#include "support/window_test.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using orvanta::RuntimeError;

namespace {

const QString warningPrompt = u"Εισάγεται μια τιμή ή επιλέξτε μια από την λίστα"_s;

// What the window announced to assistive technologies while a test listened, each as
// "polite: TEXT" or "assertive: TEXT".
QStringList heardAnnouncements;

void hear(QAccessibleEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (event->type() == QAccessible::Announcement) {
        const auto* announcement = static_cast<QAccessibleAnnouncementEvent*>(event);
        const bool polite =
            announcement->politeness() == QAccessible::AnnouncementPoliteness::Polite;
        heardAnnouncements.append((polite ? u"polite: "_s : u"assertive: "_s) +
                                  announcement->message());
    }
#else
    Q_UNUSED(event)
#endif
}

// How the user's speed is given before Calculate is pressed.
enum class Given
{
    Picked,  // "DSL 512kbps" from the list
    Typed,   // 1024 typed
    Nothing, // no speed: a warning
    Letters, // "abc" typed: a run-time error
};

} // namespace

// The speed entry modes and the Calculate command, driven as a user drives them.
class tst_Calculate : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void listEntryGivesItsRates_data();
    void listEntryGivesItsRates();
    void listEntryPickedWithTheKeyboard();
    void typedSpeedGivesItsRates_data();
    void typedSpeedGivesItsRates();
    void noSpeedWarnsAndKeepsResults_data();
    void noSpeedWarnsAndKeepsResults();
    void badSpeedIsReportedAndKeepsResults_data();
    void badSpeedIsReportedAndKeepsResults();
    void calculatingTwiceGivesTheSameResults();
    void switchingModesKeepsNineEntriesAndTheResults();
    void typedModeClearsTheListSelection();
    void switchingModesLeavesTheFocusAlone();
    void newFiguresAreAnnouncedOnce_data();
    void newFiguresAreAnnouncedOnce();

private:
    [[nodiscard]] QStringList results() const;
};

void tst_Calculate::init()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(openWindow());
}

void tst_Calculate::cleanup()
{
    m_window.reset();
    QLocale::setDefault(QLocale::c());
}

QStringList tst_Calculate::results() const
{
    return {control<QLineEdit>("Text2")->text(), control<QLineEdit>("Text3")->text()};
}

void tst_Calculate::listEntryGivesItsRates_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("DSL 2048Kbps") << u"DSL 2048Kbps"_s << u"2048"_s
                                  << QStringList{u"256 Kbps"_s, u"64 Kbps"_s};
    QTest::newRow("PSTN 56kbps, not rescaled")
        << u"PSTN 56kbps"_s << u"56"_s << QStringList{u"7 Kbps"_s, u"1.75 Kbps"_s};
    QTest::newRow("DSL 512kbps") << u"DSL 512kbps"_s << u"512"_s
                                 << QStringList{u"64 Kbps"_s, u"16 Kbps"_s};
    QTest::newRow("ISDN 128kbps") << u"ISDN 128kbps"_s << u"128"_s
                                  << QStringList{u"16 Kbps"_s, u"4 Kbps"_s};
}

void tst_Calculate::listEntryGivesItsRates()
{
    QFETCH(QString, label);
    QFETCH(QString, speed);
    QFETCH(QStringList, expected);

    pick(label);
    // Enter on the list presses the default button, Calculate.
    QTest::keyClick(control<QComboBox>("Combo1"), Qt::Key_Return);

    const auto* speedBox = control<QLineEdit>("Text1");
    QCOMPARE(speedBox->text(), speed);
    QVERIFY(!speedBox->isEnabled());
    QCOMPARE(results(), expected);
}

void tst_Calculate::listEntryPickedWithTheKeyboard()
{
    auto* list = control<QComboBox>("Combo1");
    for (int step = 0; step < 6; ++step) {
        QTest::keyClick(list, Qt::Key_Down);
    }
    QCOMPARE(list->currentText(), u"DSL 512kbps"_s);
    QTest::keyClick(list, Qt::Key_Enter);
    QCOMPARE(results(), (QStringList{u"64 Kbps"_s, u"16 Kbps"_s}));
}

void tst_Calculate::typedSpeedGivesItsRates_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");

    const QLocale gr(QLocale::Greek, QLocale::Greece);
    QTest::newRow("4 is taken as Mbps")
        << QLocale::c() << u"4"_s << QStringList{u"512 Kbps"_s, u"128 Kbps"_s};
    QTest::newRow("56 is not") << QLocale::c() << u"56"_s
                               << QStringList{u"7 Kbps"_s, u"1.75 Kbps"_s};
    QTest::newRow("negative") << QLocale::c() << u"-8"_s
                              << QStringList{u"-1024 Kbps"_s, u"-256 Kbps"_s};
    QTest::newRow("huge") << QLocale::c() << u"1E300"_s
                          << QStringList{u"1.25E+299 Kbps"_s, u"3.125E+298 Kbps"_s};
    QTest::newRow("el_GR decimal comma")
        << gr << u"0,5"_s << QStringList{u"64 Kbps"_s, u"16 Kbps"_s};
    QTest::newRow("el_GR 100") << gr << u"100"_s << QStringList{u"12,5 Kbps"_s, u"3,125 Kbps"_s};
}

void tst_Calculate::typedSpeedGivesItsRates()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);

    QLocale::setDefault(locale);
    typeSpeed(typed);
    QTest::keyClick(control<QLineEdit>("Text1"), Qt::Key_Return);

    QCOMPARE(control<QLineEdit>("Text1")->text(), typed);
    QCOMPARE(results(), expected);
}

void tst_Calculate::noSpeedWarnsAndKeepsResults_data()
{
    QTest::addColumn<bool>("typedMode");

    QTest::newRow("list mode, nothing picked") << false;
    QTest::newRow("typed mode, nothing typed") << true;
}

void tst_Calculate::noSpeedWarnsAndKeepsResults()
{
    QFETCH(bool, typedMode);

    pick(u"DSL 512kbps"_s);
    calculate();
    const QStringList earlier = results();
    if (typedMode) {
        QTest::mouseClick(control<QRadioButton>("Option2"), Qt::LeftButton);
    } else {
        // A visit to typed mode drops the pick; back in list mode nothing is chosen.
        QTest::mouseClick(control<QRadioButton>("Option2"), Qt::LeftButton);
        QTest::mouseClick(control<QRadioButton>("Option1"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>("Text1")->text(), QString());
    }

    const MessageBoxWatcher watcher;
    calculate();

    QCOMPARE(watcher.boxes().size(), 1);
    const ShownBox& box = watcher.boxes().constFirst();
    QCOMPARE(box.text, warningPrompt);
    QCOMPARE(box.title, u"Orvanta"_s);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(results(), earlier);
}

void tst_Calculate::badSpeedIsReportedAndKeepsResults_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<RuntimeError::Kind>("kind");

    const QLocale gr(QLocale::Greek, QLocale::Greece);
    using Kind = RuntimeError::Kind;
    QTest::newRow("letters") << QLocale::c() << u"abc"_s << Kind::TypeMismatch;
    QTest::newRow("a lone space is not empty") << QLocale::c() << u" "_s << Kind::TypeMismatch;
    QTest::newRow("beyond the range") << QLocale::c() << u"1e400"_s << Kind::Overflow;
    QTest::newRow("rescaling overflows") << QLocale::c() << u"-1E308"_s << Kind::FloatingPoint;
    QTest::newRow("el_GR point") << gr << u"0.5"_s << Kind::TypeMismatch;
    QTest::newRow("el_GR trailing letters") << gr << u"12ab"_s << Kind::TypeMismatch;
}

void tst_Calculate::badSpeedIsReportedAndKeepsResults()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(RuntimeError::Kind, kind);

    QLocale::setDefault(locale);
    typeSpeed(u"512"_s);
    calculate();
    const QStringList earlier = results();
    control<QLineEdit>("Text1")->clear();
    QTest::keyClicks(control<QLineEdit>("Text1"), typed);

    const MessageBoxWatcher watcher;
    calculate();

    QCOMPARE(watcher.boxes().size(), 1);
    const ShownBox& box = watcher.boxes().constFirst();
    const auto message = RuntimeError(kind).message();
    QCOMPARE(box.text, QString::fromUtf16(message.data(), qsizetype(message.size())));
    QCOMPARE(box.title, u"Orvanta"_s);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(results(), earlier);
    QVERIFY(m_window->isVisible());
    QCOMPARE(control<QLineEdit>("Text1")->text(), typed);
}

void tst_Calculate::calculatingTwiceGivesTheSameResults()
{
    pick(u"DSL 768kbps"_s);
    calculate();
    const QStringList first = results();
    control<QLineEdit>("Text1")->setText(u"stale"_s);
    calculate();
    QCOMPARE(control<QLineEdit>("Text1")->text(), u"768"_s);
    QCOMPARE(results(), first);
    QCOMPARE(first, (QStringList{u"96 Kbps"_s, u"24 Kbps"_s}));
}

void tst_Calculate::switchingModesKeepsNineEntriesAndTheResults()
{
    pick(u"DSL 1024kbps"_s);
    calculate();
    const QStringList shown = results();
    for (int round = 0; round < 5; ++round) {
        QTest::mouseClick(control<QRadioButton>("Option2"), Qt::LeftButton);
        QVERIFY(!control<QComboBox>("Combo1")->isEnabled());
        QVERIFY(control<QLineEdit>("Text1")->isEnabled());
        QCOMPARE(control<QLineEdit>("Text1")->text(), QString());
        QTest::mouseClick(control<QRadioButton>("Option1"), Qt::LeftButton);
        QVERIFY(control<QComboBox>("Combo1")->isEnabled());
        QVERIFY(!control<QLineEdit>("Text1")->isEnabled());
    }
    const auto* list = control<QComboBox>("Combo1");
    QCOMPARE(list->count(), 9);
    QCOMPARE(list->itemText(0), u"PSTN 56kbps"_s);
    QCOMPARE(list->itemText(8), u"DSL 2048Kbps"_s);
    QCOMPARE(results(), shown);
}

void tst_Calculate::typedModeClearsTheListSelection()
{
    // The earlier pick must not override what is typed.
    pick(u"DSL 2048Kbps"_s);
    typeSpeed(u"2"_s);
    QCOMPARE(control<QComboBox>("Combo1")->currentText(), QString());
    calculate();
    QCOMPARE(control<QLineEdit>("Text1")->text(), u"2"_s);
    QCOMPARE(results(), (QStringList{u"256 Kbps"_s, u"64 Kbps"_s}));
}

void tst_Calculate::switchingModesLeavesTheFocusAlone()
{
    auto* typed = control<QRadioButton>("Option2");
    QTest::mouseClick(typed, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), typed);
}

void tst_Calculate::newFiguresAreAnnouncedOnce_data()
{
    QTest::addColumn<Given>("given");
    QTest::addColumn<QString>("announced"); // empty: nothing

    QTest::newRow("picked") << Given::Picked << u"Download: 64 Kbps, Upload: 16 Kbps"_s;
    QTest::newRow("typed") << Given::Typed << u"Download: 128 Kbps, Upload: 32 Kbps"_s;
    QTest::newRow("no speed, a warning instead") << Given::Nothing << QString();
    QTest::newRow("letters, an error instead") << Given::Letters << QString();
}

// The figures appear away from the focus: from Qt 6.8 on, screen readers are told once,
// politely, in the window's words; a warning or an error announces nothing.
void tst_Calculate::newFiguresAreAnnouncedOnce()
{
    QFETCH(Given, given);
    QFETCH(QString, announced);

    if (given == Given::Picked) {
        pick(u"DSL 512kbps"_s);
    } else if (given != Given::Nothing) {
        typeSpeed(given == Given::Typed ? u"1024"_s : u"abc"_s);
    }
    heardAnnouncements.clear();
    QAccessible::installUpdateHandler(hear);
    const MessageBoxWatcher watcher;
    calculate();
    QAccessible::installUpdateHandler(nullptr);

    const bool shown = !announced.isEmpty();
    QCOMPARE(watcher.boxes().size(), shown ? 0 : 1);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QCOMPARE(heardAnnouncements, shown ? QStringList{u"polite: "_s + announced} : QStringList());
#else
    QCOMPARE(heardAnnouncements, QStringList());
#endif
}

QTEST_MAIN(tst_Calculate)
#include "tst_calculate.moc"
