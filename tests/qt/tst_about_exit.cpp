#include "core/main_window.h"
#include "support/message_box_watcher.h"
#include "support/window_test.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QStringList aboutPrompts = {
    u"Orvanta v1.0"_s,
    u"© 2026 Η ομάδα του Orvanta. Με την επιφύλαξη παντός δικαιώματος."_s,
    u"E-mail επικοινωνίας: orvanta@example.org"_s,
};

// How the window is left before About or Exit is pressed.
enum class Setup
{
    Fresh,       // list mode, straight after start-up
    ListResults, // "DSL 512kbps" picked and calculated
    TypedResults // typed mode, 1024 typed and calculated
};

// One way of closing a message box.
using Dismiss = std::function<void(QMessageBox*)>;

} // namespace

// About and Exit, pressed as a user presses them, in every state the window can be in.
class tst_AboutExit : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void aboutShowsThreeInformationBoxes_data();
    void aboutShowsThreeInformationBoxes();
    void aboutCannotBeCutShort_data();
    void aboutCannotBeCutShort();
    void exitEndsTheProgram_data();
    void exitEndsTheProgram();
    void anUnexpectedFaultIsToldAndEndsTheProgram();

private:
    void prepare(Setup setup) const;
    [[nodiscard]] QStringList controlState() const;
};

void tst_AboutExit::init()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(openWindow());
}

void tst_AboutExit::cleanup()
{
    m_window.reset();
}

void tst_AboutExit::prepare(Setup setup) const
{
    if (setup == Setup::ListResults) {
        pick(u"DSL 512kbps"_s);
        calculate();
        QCOMPARE(control<QLineEdit>("Text2")->text(), u"64 Kbps"_s);
    } else if (setup == Setup::TypedResults) {
        typeSpeed(u"1024"_s);
        calculate();
        QCOMPARE(control<QLineEdit>("Text2")->text(), u"128 Kbps"_s);
    }
}

// Everything a user can see of the controls, one line each.
QStringList tst_AboutExit::controlState() const
{
    const auto enabled = [](const QWidget* widget) {
        return widget->isEnabled() ? u"enabled"_s : u"disabled"_s;
    };
    const auto selected = [](const QRadioButton* option) {
        return option->isChecked() ? u"selected"_s : u"not selected"_s;
    };
    const auto* list = control<QComboBox>("Combo1");
    const auto* speed = control<QLineEdit>("Text1");
    return {
        u"Option1 %1"_s.arg(selected(control<QRadioButton>("Option1"))),
        u"Option2 %1"_s.arg(selected(control<QRadioButton>("Option2"))),
        u"Combo1 %1, %2 entries, '%3'"_s.arg(enabled(list))
            .arg(list->count())
            .arg(list->currentText()),
        u"Text1 %1, '%2'"_s.arg(enabled(speed), speed->text()),
        u"Text2 '%1'"_s.arg(control<QLineEdit>("Text2")->text()),
        u"Text3 '%1'"_s.arg(control<QLineEdit>("Text3")->text()),
    };
}

void tst_AboutExit::aboutShowsThreeInformationBoxes_data()
{
    QTest::addColumn<Setup>("setup");

    QTest::newRow("list mode, nothing calculated") << Setup::Fresh;
    QTest::newRow("list mode, results on show") << Setup::ListResults;
    QTest::newRow("typed mode, results on show") << Setup::TypedResults;
}

void tst_AboutExit::aboutShowsThreeInformationBoxes()
{
    QFETCH(Setup, setup);
    prepare(setup);
    const QStringList before = controlState();

    MessageBoxWatcher watcher;
    QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);

    QStringList prompts;
    for (const ShownBox& box : watcher.boxes()) {
        prompts.append(box.text);
        QCOMPARE(box.title, u"Orvanta"_s);
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(prompts, aboutPrompts);
    QCOMPARE(controlState(), before);
    QVERIFY(m_window->isVisible());
}

void tst_AboutExit::aboutCannotBeCutShort_data()
{
    QTest::addColumn<Dismiss>("dismiss");

    QTest::newRow("Escape") << Dismiss(
        [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QTest::newRow("Enter") << Dismiss(
        [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    QTest::newRow("closed by the window system") << Dismiss([](QMessageBox* box) { box->close(); });
}

void tst_AboutExit::aboutCannotBeCutShort()
{
    QFETCH(Dismiss, dismiss);

    // However a box is closed, the next one follows, until all three have been seen.
    QStringList prompts;
    QTimer closer;
    closer.setInterval(5);
    connect(&closer, &QTimer::timeout, this, [&prompts, &dismiss] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        prompts.append(box->text());
        dismiss(box);
        if (box->isVisible()) {
            // Closing it would otherwise wait forever; the stray entry fails the test.
            prompts.append(u"(this box refused to close)"_s);
            box->done(QMessageBox::Ok);
        }
    });
    closer.start();
    QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);

    QCOMPARE(prompts, aboutPrompts);
}

void tst_AboutExit::exitEndsTheProgram_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QStringList>("resultsOnShow");

    QTest::newRow("list mode, nothing calculated")
        << u"fresh"_s << QStringList{u"download: "_s, u"upload: "_s};
    QTest::newRow("list mode, results on show")
        << u"list"_s << QStringList{u"download: 64 Kbps"_s, u"upload: 16 Kbps"_s};
    QTest::newRow("typed mode, results on show")
        << u"typed"_s << QStringList{u"download: 128 Kbps"_s, u"upload: 32 Kbps"_s};
    QTest::newRow("Alt+Ξ, its access key")
        << u"key"_s << QStringList{u"download: "_s, u"upload: "_s};
}

namespace {

// The exit driver in a process of its own, played through the scenario; its exit code and what
// it printed, line by line.
struct Ended
{
    bool finished = false;
    QString errors;
    int code = -1;
    QStringList printed;
};

Ended runDriver(const QString& scenario)
{
    // Built beside this suite, and run on the platform the suite itself runs on. Found by name,
    // not by a build path, which Windows could not read from a Windows build made on Linux.
    QProcess program;
    // Text mode: Windows ends each printed line with a carriage return too.
    program.start(QCoreApplication::applicationDirPath() + u'/' +
                      QString::fromUtf8(ORVANTA_EXIT_DRIVER),
                  {scenario}, QIODevice::ReadOnly | QIODevice::Text);
    Ended ended;
    if (!program.waitForStarted()) {
        ended.errors = program.errorString();
        return ended;
    }
    // Generous: the bound only turns a program that never ends into a failure instead of a hang.
    constexpr int hangGuardMs = 10'000;
    if (!program.waitForFinished(hangGuardMs)) {
        program.kill();
        program.waitForFinished();
        ended.errors = u"the program was still running long after it should have ended"_s;
        return ended;
    }
    ended.errors = QString::fromLocal8Bit(program.readAllStandardError());
    ended.finished = program.exitStatus() == QProcess::NormalExit;
    ended.code = program.exitCode();
    ended.printed =
        QString::fromUtf8(program.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    return ended;
}

} // namespace

// Ending the program stops its event loop, so the window runs in a process of its own.
void tst_AboutExit::exitEndsTheProgram()
{
    QFETCH(QString, scenario);
    QFETCH(QStringList, resultsOnShow);

    const Ended ended = runDriver(scenario);
    QVERIFY2(ended.finished, qPrintable(ended.errors));
    QCOMPARE(ended.code, 0);
    QCOMPARE(ended.printed, resultsOnShow);
}

// A fault that the handlers do not expect (here std::bad_alloc, from Calculate) is told in Greek
// and ends the program with its own code, before any figure is written.
void tst_AboutExit::anUnexpectedFaultIsToldAndEndsTheProgram()
{
    const Ended ended = runDriver(u"fault"_s);
    QVERIFY2(ended.finished, qPrintable(ended.errors));
    QCOMPARE(ended.code, orvanta::QtWindow::faultExitCode);
    QCOMPARE(ended.printed,
             (QStringList{
                 u"download: "_s, u"upload: "_s,
                 u"box %1: Παρουσιάστηκε απρόσμενο σφάλμα και το πρόγραμμα θα τερματιστεί."_s.arg(
                     int(QMessageBox::Critical))}));
}

QTEST_MAIN(tst_AboutExit)
#include "tst_about_exit.moc"
