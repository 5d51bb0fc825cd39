#include "qt/qt_host.h"
#include "support/message_box_watcher.h"
#include "support/window_test.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The window as it is built and laid out, before and after its Load handler.
class tst_MainWindow : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void windowIsFixedAndCaptioned();
    void controlsSitWhereTheyShould_data();
    void controlsSitWhereTheyShould();
    void tabOrderFollowsTheLayout();
    void resultBoxesAreReadOnly();
    void listLiesAboveItsFrame();
    void startsInListModeWithTheFocusOnTheList();
    void beforeLoadNothingIsChosen();
    void escapeLeavesTheWindowOpen();
    void enterOnAFocusedButtonPressesThatButton();
    void controlsAreNamedForScreenReaders_data();
    void controlsAreNamedForScreenReaders();
    void screenReadersReadTheFigures_data();
    void screenReadersReadTheFigures();
};

void tst_MainWindow::init()
{
    QVERIFY(openWindow());
}

void tst_MainWindow::cleanup()
{
    m_window.reset();
}

void tst_MainWindow::windowIsFixedAndCaptioned()
{
    QCOMPARE(m_window->windowTitle(), u"Orvanta"_s);
    QCOMPARE(m_window->size(), QSize(363, 241));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));

    // A font the system really has, at the window's 8 points.
    const QFontInfo font(m_window->font());
    QCOMPARE(font.pointSize(), 8);
    QCOMPARE(font.family(), m_window->font().family());

    const QPoint offCentre =
        m_window->frameGeometry().center() - m_window->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(u"the window opens %1, %2 pixels off the centre"_s.arg(offCentre.x())
                            .arg(offCentre.y())));
}

void tst_MainWindow::controlsSitWhereTheyShould_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry"); // pixels at 96 dpi: twips / 15
    QTest::addColumn<QString>("caption");

    const QString window = u"frmMain"_s;
    QTest::newRow("Command3") << u"Command3"_s << window << QRect(184, 208, 169, 25) << u"Έξοδος"_s;
    QTest::newRow("Command2") << u"Command2"_s << window << QRect(8, 208, 169, 25) << u"Περί..."_s;
    QTest::newRow("Combo1") << u"Combo1"_s << window << QRect(200, 32, 145, 21) << QString();
    QTest::newRow("Frame1") << u"Frame1"_s << window << QRect(8, 8, 345, 105)
                            << u"Ταχύτητα σύνδεσης:"_s;
    QTest::newRow("Text1") << u"Text1"_s << u"Frame1"_s << QRect(192, 64, 145, 25) << QString();
    QTest::newRow("Option2") << u"Option2"_s << u"Frame1"_s << QRect(8, 64, 185, 33)
                             << u"Εισάγετε ταχύτητα σύνδεσης:"_s;
    QTest::newRow("Option1") << u"Option1"_s << u"Frame1"_s << QRect(8, 24, 177, 25)
                             << u"Επιλέξτε ταχύτητα σύνδεσης:"_s;
    QTest::newRow("Frame2") << u"Frame2"_s << window << QRect(8, 120, 345, 81) << u"Υπολογισμός"_s;
    QTest::newRow("Command1") << u"Command1"_s << u"Frame2"_s << QRect(232, 16, 105, 49)
                              << u"Υπολογισμός"_s;
    QTest::newRow("Text3") << u"Text3"_s << u"Frame2"_s << QRect(80, 48, 145, 19) << QString();
    QTest::newRow("Text2") << u"Text2"_s << u"Frame2"_s << QRect(80, 16, 145, 19) << QString();
    QTest::newRow("Label2") << u"Label2"_s << u"Frame2"_s << QRect(8, 48, 41, 25) << u"Upload:"_s;
    QTest::newRow("Label1") << u"Label1"_s << u"Frame2"_s << QRect(8, 16, 57, 33) << u"Download:"_s;
}

void tst_MainWindow::controlsSitWhereTheyShould()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);

    const auto* widget = m_window->findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(widget->geometry(), geometry);
    QVERIFY(widget->isVisible());

    QString shown;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        shown = button->text();
    } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        shown = frame->title();
    } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        shown = label->text();
    }
    // Options, buttons and labels carry one access key's marker, frames none; without it, each
    // caption is as laid out, and fits its control.
    const bool keyed = qobject_cast<const QGroupBox*>(widget) == nullptr && !caption.isEmpty();
    QCOMPARE(shown.count(u'&'), keyed ? 1 : 0);
    QCOMPARE(shown.remove(u'&'), caption);
    if (qobject_cast<const QLabel*>(widget) != nullptr ||
        qobject_cast<const QAbstractButton*>(widget) != nullptr) {
        QVERIFY2(widget->sizeHint().width() <= geometry.width(), "caption is cut off");
    }
}

void tst_MainWindow::tabOrderFollowsTheLayout()
{
    const QStringList expected{u"Combo1"_s, u"Option1"_s,  u"Option2"_s,  u"Text1"_s,   u"Text2"_s,
                               u"Text3"_s,  u"Command1"_s, u"Command2"_s, u"Command3"_s};
    QStringList chain;
    auto* widget = control<QWidget>("Combo1");
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->window() == m_window.get() &&
            widget != m_window.get()) {
            chain.append(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != control<QWidget>("Combo1"));
    QCOMPARE(chain, expected);

    // Tab skips the disabled speed box in list mode.
    control<QWidget>("Option1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"Text2"_s);
}

void tst_MainWindow::resultBoxesAreReadOnly()
{
    auto* download = control<QLineEdit>("Text2");
    download->setText(u"64 Kbps"_s);
    download->setFocus();
    QTest::keyClicks(download, u"12"_s);
    QTest::keyClick(download, Qt::Key_Backspace);
    QCOMPARE(download->text(), u"64 Kbps"_s);
    // Its text can still be selected and copied.
    download->selectAll();
    QCOMPARE(download->selectedText(), u"64 Kbps"_s);
    QVERIFY(control<QLineEdit>("Text3")->isReadOnly());
    QVERIFY(!control<QLineEdit>("Text1")->isReadOnly());
}

void tst_MainWindow::listLiesAboveItsFrame()
{
    auto* list = control<QComboBox>("Combo1");
    QVERIFY(!list->isEditable());
    QWidget* hit = m_window->childAt(list->geometry().center());
    QVERIFY(hit == list || list->isAncestorOf(hit));
    QVERIFY(control<QPushButton>("Command1")->isDefault());
}

void tst_MainWindow::startsInListModeWithTheFocusOnTheList()
{
    const auto* list = control<QComboBox>("Combo1");
    QCOMPARE(QApplication::focusWidget(), list);
    QVERIFY(control<QRadioButton>("Option1")->isChecked());
    QVERIFY(!control<QRadioButton>("Option2")->isChecked());
    QVERIFY(list->isEnabled());
    QCOMPARE(list->count(), 9);
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(list->currentText(), QString());
    QVERIFY(!control<QLineEdit>("Text1")->isEnabled());
    for (const char* box : {"Text1", "Text2", "Text3"}) {
        QCOMPARE(control<QLineEdit>(box)->text(), QString());
    }
}

void tst_MainWindow::beforeLoadNothingIsChosen()
{
    const orvanta::QtWindow fresh;
    QVERIFY(!fresh.findChild<QRadioButton*>(u"Option1"_s)->isChecked());
    QVERIFY(!fresh.findChild<QRadioButton*>(u"Option2"_s)->isChecked());
    QCOMPARE(fresh.findChild<QComboBox*>(u"Combo1"_s)->count(), 0);
}

void tst_MainWindow::escapeLeavesTheWindowOpen()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->result(), 0);
}

void tst_MainWindow::enterOnAFocusedButtonPressesThatButton()
{
    // Enter on About must run About, not Calculate (which, with no speed, would warn). Exit is
    // left alone here: ending the program would also end every later event loop of this test.
    auto* about = control<QPushButton>("Command2");
    QSignalSpy calculatePressed(control<QPushButton>("Command1"), &QPushButton::clicked);
    about->setFocus();
    const MessageBoxWatcher watcher;
    QTest::keyClick(about, Qt::Key_Return);
    QCOMPARE(watcher.boxes().size(), 3);
    QCOMPARE(watcher.boxes().constFirst().text, u"Orvanta v1.0"_s);
    QCOMPARE(calculatePressed.count(), 0);
}

void tst_MainWindow::controlsAreNamedForScreenReaders_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("announced");

    QTest::newRow("Combo1") << u"Combo1"_s << u"Επιλέξτε ταχύτητα σύνδεσης:"_s;
    QTest::newRow("Text1") << u"Text1"_s << u"Εισάγετε ταχύτητα σύνδεσης:"_s;
    QTest::newRow("Text2") << u"Text2"_s << u"Download:"_s;
    QTest::newRow("Text3") << u"Text3"_s << u"Upload:"_s;
    QTest::newRow("Command1") << u"Command1"_s << u"Υπολογισμός"_s;
}

void tst_MainWindow::controlsAreNamedForScreenReaders()
{
    QFETCH(QString, name);
    QFETCH(QString, announced);

    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(m_window->findChild<QWidget*>(name));
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->text(QAccessible::Name), announced);
}

void tst_MainWindow::screenReadersReadTheFigures_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("download");
    QTest::addColumn<QString>("upload");

    QTest::newRow("from the list") << u"DSL 512kbps"_s << QString() << u"64 Kbps"_s << u"16 Kbps"_s;
    QTest::newRow("typed") << QString() << u"1024"_s << u"128 Kbps"_s << u"32 Kbps"_s;
}

// What UI Automation's Value pattern and AT-SPI hand a screen reader: the figures as shown, the
// results read-only, the speed as chosen or typed.
void tst_MainWindow::screenReadersReadTheFigures()
{
    QFETCH(QString, picked);
    QFETCH(QString, typed);
    QFETCH(QString, download);
    QFETCH(QString, upload);

    if (typed.isEmpty()) {
        pick(picked);
    } else {
        typeSpeed(typed);
    }
    calculate();
    const auto accessible = [this](const char* name) {
        return QAccessible::queryAccessibleInterface(control<QWidget>(name));
    };
    QCOMPARE(accessible("Text2")->text(QAccessible::Value), download);
    QCOMPARE(accessible("Text3")->text(QAccessible::Value), upload);
    QVERIFY(accessible("Text2")->state().readOnly && accessible("Text3")->state().readOnly);
    if (typed.isEmpty()) {
        QCOMPARE(accessible("Combo1")->text(QAccessible::Value), picked);
    } else {
        QCOMPARE(accessible("Text1")->text(QAccessible::Value), typed);
        QVERIFY(!accessible("Text1")->state().readOnly);
    }
}

QTEST_MAIN(tst_MainWindow)
#include "tst_main_window.moc"
