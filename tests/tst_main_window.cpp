#include "app/style.h"
#include "app/system_look.h"
#include "support/message_box_watcher.h"
#include "support/window_test.h"
#include "ui/main_window.h"

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
#include <QStyle>
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
    void textSizeFollowsTheSystem_data();
    void textSizeFollowsTheSystem();
    void largerTextGrowsTheWholeWindow_data();
    void largerTextGrowsTheWholeWindow();
    void contrastThemesGetTheClassicStyle_data();
    void contrastThemesGetTheClassicStyle();
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

    // A font the system really has, at the window's 8 points; on Windows its own dialog font,
    // and its native style.
    const QFontInfo font(m_window->font());
    QCOMPARE(font.pointSize(), 8);
#ifdef Q_OS_WIN
    QCOMPARE(font.family(), QFontInfo(QApplication::font()).family());
    QCOMPARE(m_window->style()->name(), u"windowsvista"_s);
#else
    QCOMPARE(font.family(), m_window->font().family());
#endif

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
    QCOMPARE(shown, caption);

    // No caption carries an access key, and each fits its control.
    QVERIFY(!shown.contains(u'&'));
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
    const frmMain fresh;
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

void tst_MainWindow::textSizeFollowsTheSystem_data()
{
    QTest::addColumn<int>("textSize");
    QTest::addColumn<double>("fontPoints");
    QTest::addColumn<double>("scale");

    QTest::newRow("as laid out") << 100 << 9.0 << 1.0;
    QTest::newRow("text size 150 %") << 150 << 9.0 << 1.5;
    QTest::newRow("text size 225 %") << 225 << 9.0 << 2.25;
    QTest::newRow("a larger message font") << 100 << 13.5 << 1.5;
    QTest::newRow("a font already grown by the text size") << 150 << 13.5 << 1.5;
    QTest::newRow("a font larger than the text size") << 125 << 18.0 << 2.0;
    QTest::newRow("a smaller font") << 100 << 8.0 << 1.0;
    QTest::newRow("text size beyond the setting's range") << 400 << 9.0 << 2.25;
    QTest::newRow("text size below the setting's range") << 50 << 9.0 << 1.0;
    QTest::newRow("a text size of nothing") << 0 << 9.0 << 1.0;
}

void tst_MainWindow::textSizeFollowsTheSystem()
{
    QFETCH(int, textSize);
    QFETCH(double, fontPoints);
    QFETCH(double, scale);

    QCOMPARE(orvanta::textScale(textSize, fontPoints), scale);
}

void tst_MainWindow::largerTextGrowsTheWholeWindow_data()
{
    QTest::addColumn<double>("textScale");

    QTest::newRow("150 %") << 1.5;
    QTest::newRow("200 %") << 2.0;
    // The offscreen screen of the Linux suite holds no more than some 220 %.
    QTest::newRow("225 %") << 2.25;
    QTest::newRow("more than any screen holds") << 10.0;
}

// Every control grows with the text, in its place, its caption whole, and the window as a whole
// stays on the screen.
void tst_MainWindow::largerTextGrowsTheWholeWindow()
{
    QFETCH(double, textScale);

    // The controls of the layout, by name, and where each sits.
    const auto designed = [](const QWidget& window) {
        QHash<QString, QRect> geometry;
        for (const char* name :
             {"Command3", "Command2", "Combo1", "Frame1", "Text1", "Option2", "Option1", "Frame2",
              "Command1", "Text3", "Text2", "Label2", "Label1"}) {
            geometry.insert(QString::fromLatin1(name),
                            window.findChild<QWidget*>(QString::fromLatin1(name))->geometry());
        }
        return geometry;
    };
    const QHash<QString, QRect> atFirst = designed(*m_window);
    m_window.reset();
    m_window = std::make_unique<frmMain>(textScale);
    m_window->load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    const QRect room = m_window->screen()->availableGeometry();
    // Where it goes is the window manager's to say; that it fits is the window's.
    const QSize outer = m_window->frameGeometry().size();
    QVERIFY2(outer.width() <= room.width() && outer.height() <= room.height(),
             qPrintable(u"the window spans %1 x %2 on a screen of %3 x %4"_s.arg(outer.width())
                            .arg(outer.height())
                            .arg(room.width())
                            .arg(room.height())));
    const double factor = m_window->width() / 363.0;
    QVERIFY2(factor > 1.4 && factor <= textScale + 0.01, qPrintable(QString::number(factor)));
    QCOMPARE(m_window->height(), qRound(241 * factor));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(qAbs(QFontInfo(m_window->font()).pointSizeF() - 8 * factor) < 0.6);

    for (const auto& [name, before] : atFirst.asKeyValueRange()) {
        const auto* widget = control<QWidget>(qPrintable(name));
        const QRect now = widget->geometry();
        const QString where = u"%1 at %2, %3, %4 x %5"_s.arg(name)
                                  .arg(now.x())
                                  .arg(now.y())
                                  .arg(now.width())
                                  .arg(now.height());
        QVERIFY2(qAbs(now.left() - before.left() * factor) <= 1 &&
                     qAbs(now.top() - before.top() * factor) <= 1 &&
                     qAbs(now.right() + 1 - (before.right() + 1) * factor) <= 1 &&
                     qAbs(now.bottom() + 1 - (before.bottom() + 1) * factor) <= 1,
                 qPrintable(where));
        if (qobject_cast<const QLabel*>(widget) != nullptr ||
            qobject_cast<const QAbstractButton*>(widget) != nullptr) {
            QVERIFY2(widget->sizeHint().width() <= now.width(),
                     qPrintable(where + u": its caption is cut off"_s));
        }
    }
}

void tst_MainWindow::contrastThemesGetTheClassicStyle_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("systemColours");
    QTest::addColumn<QString>("used");

    QTest::newRow("Windows 10") << u"windowsvista"_s << false << u"windowsvista"_s;
    QTest::newRow("Windows 11") << u"windows11"_s << false << u"windowsvista"_s;
    QTest::newRow("Windows 10, a contrast theme") << u"windowsvista"_s << true << u"windows"_s;
    QTest::newRow("Windows 11, a contrast theme") << u"windows11"_s << true << u"windows"_s;
    QTest::newRow("Linux") << u"fusion"_s << false << u"fusion"_s;
    QTest::newRow("a style asked for") << u"fusion"_s << true << u"fusion"_s;
}

void tst_MainWindow::contrastThemesGetTheClassicStyle()
{
    QFETCH(QString, chosen);
    QFETCH(bool, systemColours);
    QFETCH(QString, used);

    QCOMPARE(orvanta::dialogStyle(chosen, systemColours), used);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_main_window.moc"
