#include "core/main_window.h"
#include "qt/translation.h"
#include "support/message_box_watcher.h"
#include "support/window_test.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Answers nothing, so the real catalogue still does the work, but notes every text the toolkit
// asks for while it is installed.
class LookupRecorder : public QTranslator
{
public:
    struct Lookup
    {
        QByteArray context;
        QByteArray sourceText;
        QByteArray disambiguation;
    };

    [[nodiscard]] bool isEmpty() const override { return false; }

    [[nodiscard]] QString translate(const char* context, const char* sourceText,
                                    const char* disambiguation, int /*n*/) const override
    {
        m_lookups.append({context, sourceText, disambiguation});
        return {};
    }

    [[nodiscard]] const QList<Lookup>& lookups() const { return m_lookups; }

private:
    mutable QList<Lookup> m_lookups;
};

const QStringList editableMenu{
    u"&Αναίρεση"_s,   u"Ακύ&ρωση αναίρεσης"_s, u"Απο&κοπή"_s,     u"Α&ντιγραφή"_s,
    u"&Επικόλληση"_s, u"Διαγραφή"_s,           u"Επιλογή όλων"_s,
};
const QStringList readOnlyMenu{u"Α&ντιγραφή"_s, u"Επιλογή όλων"_s};

// What an entry reads, without the shortcut the toolkit writes after a tab.
QString label(const QAction* action)
{
    return action->text().section(u'\t', 0, 0);
}

QStringList labels(const QMenu* menu)
{
    QStringList result;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            result.append(label(action));
        }
    }
    return result;
}

} // namespace

// The texts that the toolkit draws itself in the window (the text boxes' context menu, the
// message boxes' button) read Greek, whatever the locale.
class tst_Translation : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void contextMenuIsGreek_data();
    void contextMenuIsGreek();
    void menuCopiesTheShownText_data();
    void menuCopiesTheShownText();
    void everyToolkitTextTheWindowAsksForIsTranslated();

private:
    void typedMode() const;
    void calculateFor(const QString& typed) const;
    [[nodiscard]] static QMenu* openContextMenu(QLineEdit* box, QContextMenuEvent::Reason reason);
    [[nodiscard]] static QAction* entry(const QMenu* menu, const QString& text);
    static void choose(QMenu* menu, QAction* action);
};

void tst_Translation::initTestCase()
{
    QVERIFY(orvanta::installToolkitTranslation(*QCoreApplication::instance()));
}

void tst_Translation::init()
{
    QLocale::setDefault(QLocale::c());
    QApplication::clipboard()->clear();
    QVERIFY(openWindow());
}

void tst_Translation::cleanup()
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    m_window.reset();
    QLocale::setDefault(QLocale::c());
}

void tst_Translation::typedMode() const
{
    QTest::mouseClick(control<QRadioButton>("Option2"), Qt::LeftButton);
}

// An empty text picks "DSL 512kbps" from the list; anything else is typed in typed mode.
void tst_Translation::calculateFor(const QString& typed) const
{
    if (typed.isEmpty()) {
        pick(u"DSL 512kbps"_s);
    } else {
        typeSpeed(typed);
    }
    calculate();
}

// What a right-click or the context-menu key does: the platform sends the box a context-menu
// event, the box pops its menu up and goes on.
QMenu* tst_Translation::openContextMenu(QLineEdit* box, QContextMenuEvent::Reason reason)
{
    const QPoint pos = reason == QContextMenuEvent::Mouse
                           ? QPoint(box->width() / 2, box->height() / 2)
                           : box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent event(reason, pos, box->mapToGlobal(pos));
    QApplication::sendEvent(box, &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The entry that reads so, access key aside.
QAction* tst_Translation::entry(const QMenu* menu, const QString& text)
{
    const auto actions = menu->actions();
    const auto found =
        std::find_if(actions.cbegin(), actions.cend(),
                     [&text](const QAction* action) { return label(action).remove(u'&') == text; });
    return found == actions.cend() ? nullptr : *found;
}

// Picks the entry the way a keyboard user does: down the menu until it is lit, then Enter. The
// menu then closes and deletes itself. (Under Wine, a click that QTest makes on a context menu
// now and then only closes it.)
void tst_Translation::choose(QMenu* menu, QAction* action)
{
    const QPointer<QMenu> shown(menu);
    const QSignalSpy triggered(action, &QAction::triggered);
    for (qsizetype step = 0; menu->activeAction() != action && step < menu->actions().size();
         ++step) {
        QTest::keyClick(menu, Qt::Key_Down);
    }
    QCOMPARE(menu->activeAction(), action);
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(shown.isNull() || !shown->isVisible());
    QCOMPARE(triggered.count(), 1);
}

void tst_Translation::contextMenuIsGreek_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QContextMenuEvent::Reason>("reason");
    QTest::addColumn<QStringList>("expected");

    const QList<std::pair<const char*, QLocale>> locales{
        {"C", QLocale::c()},
        {"en_US", QLocale(QLocale::English, QLocale::UnitedStates)},
        {"el_GR", QLocale(QLocale::Greek, QLocale::Greece)},
    };
    const QList<std::pair<const char*, QContextMenuEvent::Reason>> reasons{
        {"right-click", QContextMenuEvent::Mouse},
        {"menu key", QContextMenuEvent::Keyboard},
    };
    for (const auto& [localeName, locale] : locales) {
        for (const auto& [reasonName, reason] : reasons) {
            QTest::addRow("%s, %s, Text1 typed", localeName, reasonName)
                << locale << u"Text1"_s << reason << editableMenu;
            QTest::addRow("%s, %s, Text2", localeName, reasonName)
                << locale << u"Text2"_s << reason << readOnlyMenu;
            QTest::addRow("%s, %s, Text3", localeName, reasonName)
                << locale << u"Text3"_s << reason << readOnlyMenu;
        }
    }
}

void tst_Translation::contextMenuIsGreek()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, box);
    QFETCH(QContextMenuEvent::Reason, reason);
    QFETCH(QStringList, expected);

    QLocale::setDefault(locale);
    typedMode();
    auto* target = m_window->findChild<QLineEdit*>(box);
    QVERIFY(target != nullptr);
    QMenu* menu = openContextMenu(target, reason);
    QVERIFY(menu != nullptr);

    const QStringList shown = labels(menu);
    QCOMPARE(shown, expected);
    // Two entries on one access key would make the key cycle between them instead of choosing.
    QSet<QChar> keys;
    for (const QString& entry : shown) {
        const qsizetype marker = entry.indexOf(u'&');
        if (marker >= 0) {
            const QChar key = entry.at(marker + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(u"access key shared by "_s + entry));
            keys.insert(key);
        }
    }
    const QPointer<QMenu> shownMenu(menu);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(shownMenu.isNull() || !shownMenu->isVisible());
}

void tst_Translation::menuCopiesTheShownText_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("expected");

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale gr(QLocale::Greek, QLocale::Greece);
    QTest::newRow("C, DSL 512kbps, download")
        << QLocale::c() << QString() << u"Text2"_s << u"64 Kbps"_s;
    QTest::newRow("en_US, DSL 512kbps, upload") << us << QString() << u"Text3"_s << u"16 Kbps"_s;
    QTest::newRow("el_GR, DSL 512kbps, download") << gr << QString() << u"Text2"_s << u"64 Kbps"_s;
    QTest::newRow("el_GR, typed 100, download") << gr << u"100"_s << u"Text2"_s << u"12,5 Kbps"_s;
    QTest::newRow("en_US, typed speed itself") << us << u"1024"_s << u"Text1"_s << u"1024"_s;
}

void tst_Translation::menuCopiesTheShownText()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, box);
    QFETCH(QString, expected);

    QLocale::setDefault(locale);
    calculateFor(typed);
    auto* target = m_window->findChild<QLineEdit*>(box);
    QVERIFY(target != nullptr);
    QCOMPARE(target->text(), expected);

    // Copying needs a selection: first "Επιλογή όλων", then "Αντιγραφή", each from a fresh menu.
    for (const QString& text : {u"Επιλογή όλων"_s, u"Αντιγραφή"_s}) {
        QMenu* menu = openContextMenu(target, QContextMenuEvent::Mouse);
        QVERIFY(menu != nullptr);
        QAction* action = entry(menu, text);
        QVERIFY2(action != nullptr, qPrintable(text));
        QVERIFY2(action->isEnabled(), qPrintable(text));
        choose(menu, action);
    }
    QCOMPARE(target->selectedText(), expected);
    QCOMPARE(QApplication::clipboard()->text(), expected);
}

void tst_Translation::everyToolkitTextTheWindowAsksForIsTranslated()
{
    LookupRecorder recorder;
    QVERIFY(QCoreApplication::installTranslator(&recorder));
    {
        const MessageBoxWatcher watcher;
        // The empty-speed warning, then the three About boxes: each has the toolkit's OK button.
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
        QTRY_COMPARE(watcher.boxes().size(), 4);
        calculateFor(u"abc"_s);
        QTRY_COMPARE(watcher.boxes().size(), 5);
    }
    calculateFor(QString());
    for (const char* name : {"Text1", "Text2", "Text3"}) {
        auto* box = control<QLineEdit>(name);
        box->selectAll();
        for (const auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
            QMenu* menu = openContextMenu(box, reason);
            QVERIFY(menu != nullptr);
            menu->close();
        }
    }
    QVERIFY(QCoreApplication::removeTranslator(&recorder));

    QTranslator catalogue;
    QVERIFY(orvanta::loadToolkitTranslation(catalogue));
    QSet<QByteArray> contexts;
    for (const auto& lookup : recorder.lookups()) {
        // The window's own texts are written in Greek in its form; only the toolkit's need us.
        if (lookup.context == "frmMain") {
            continue;
        }
        contexts.insert(lookup.context);
        const QString translated = catalogue.translate(
            lookup.context.constData(), lookup.sourceText.constData(),
            lookup.disambiguation.isNull() ? nullptr : lookup.disambiguation.constData());
        QVERIFY2(!translated.isNull(),
                 qPrintable(u"no translation for %1 \"%2\""_s.arg(
                     QString::fromUtf8(lookup.context), QString::fromUtf8(lookup.sourceText))));
    }
    // Proof that the lookups were seen at all: the menus' and the message boxes' texts.
    for (const char* context : {"QLineEdit", "QShortcut", "QPlatformTheme"}) {
        QVERIFY2(contexts.contains(context), context);
    }
}

QTEST_MAIN(tst_Translation)
#include "tst_translation.moc"
