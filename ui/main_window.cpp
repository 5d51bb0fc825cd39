#include "ui/main_window.h"

#include "app/platform.h"
#include "app/system_look.h"
#include "rate/rate.h"
#include "ui_main_window.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

#ifdef Q_OS_WIN
#include <QApplication>
#endif

using namespace Qt::StringLiterals;
using orvanta::platform::MessageStyle;

namespace platform = orvanta::platform;
namespace rate = orvanta::rate;

frmMain::frmMain(QWidget* parent) : frmMain(orvanta::systemTextScale(), parent) {}

frmMain::frmMain(double textScale, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmMain>())
{
    ui->setupUi(this);
    // A fixed window: no resizing, no minimise or maximise box, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    // Larger text needs a larger window, but one that the user can still see whole: past what
    // the screen holds, the text grows no further.
    const double factor = textScale > 1.0
                              ? orvanta::scaleThatFits(textScale, size(), frameAround(),
                                                       screen()->availableGeometry().size())
                              : 1.0;
    useDialogFont(factor);
    scaleLayout(factor);
    // The list and the speed box have no label of their own; the option beside each names it.
    ui->Combo1->setAccessibleName(ui->Option1->text());
    ui->Text1->setAccessibleName(ui->Option2->text());
    ui->Combo1->setFocus();
    connectHandlers();
}

frmMain::~frmMain() = default;

void frmMain::useDialogFont(double factor)
{
    QFont dialogFont = font();
#ifdef Q_OS_WIN
    // The layout's font is Arial's metrics at 8 points; Windows has a dialog font of its own.
    dialogFont = QApplication::font();
#endif
    dialogFont.setPointSizeF(font().pointSizeF() * factor);
    setFont(dialogFont);
}

void frmMain::scaleLayout(double factor)
{
    if (factor <= 1.0) {
        return;
    }
    // By its edges, as display scaling scales it, so that controls that meet still meet.
    const auto scaled = [factor](const QRect& rect) {
        const auto edge = [factor](int value) {
            return qRound(value * factor);
        };
        return QRect(QPoint(edge(rect.left()), edge(rect.top())),
                     QPoint(edge(rect.x() + rect.width()) - 1, edge(rect.y() + rect.height()) - 1));
    };
    const auto children = findChildren<QWidget*>();
    for (QWidget* child : children) {
        const QWidget* container = child->parentWidget();
        if (container == this || qobject_cast<const QGroupBox*>(container) != nullptr) {
            child->setGeometry(scaled(child->geometry()));
        }
    }
    setFixedSize(scaled(rect()).size());
}

QSize frmMain::frameAround()
{
    // The native window knows its frame once it exists; where a window manager draws it, not
    // before it has, and then this is less than the frame will be. Wine under a window manager
    // even gives the sides as less than nothing.
    create();
    const QMargins frame = windowHandle()->frameMargins();
    return {qMax(0, frame.left()) + qMax(0, frame.right()),
            qMax(0, frame.top()) + qMax(0, frame.bottom())};
}

void frmMain::load()
{
    platform::dispatch(this, [this] { Form_Load(); });
}

#ifdef Q_OS_WIN
void frmMain::setVisible(bool visible)
{
    if (visible && !testAttribute(Qt::WA_Moved)) {
        centreOnScreen();
    }
    QDialog::setVisible(visible);
}

void frmMain::centreOnScreen()
{
    // Qt places a dialog by a guessed frame, 10 pixels at the sides and 40 above, which puts it
    // some 20 pixels too high on Windows; the native window knows its real frame once it exists.
    create();
    const QMargins frame = windowHandle()->frameMargins();
    QRect outer(QPoint(), size().grownBy(frame));
    outer.moveCenter(screen()->availableGeometry().center());
    setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), size()));
}
#endif

void frmMain::keyPressEvent(QKeyEvent* event)
{
    // A dialog closes on Escape; this window has no cancel button, so Escape does nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmMain::connectHandlers()
{
    const auto handler = [this](void (frmMain::*member)()) {
        return [this, member] {
            platform::dispatch(this, [this, member] { (this->*member)(); });
        };
    };
    // An option's Click runs whenever it becomes selected, by the user or from code.
    const auto whenSelected = [](auto run) {
        return [run](bool checked) {
            if (checked) {
                run();
            }
        };
    };
    connect(ui->Option1, &QRadioButton::toggled, this,
            whenSelected(handler(&frmMain::Option1_Click)));
    connect(ui->Option2, &QRadioButton::toggled, this,
            whenSelected(handler(&frmMain::Option2_Click)));
    connect(ui->Command1, &QPushButton::clicked, this, handler(&frmMain::Command1_Click));
    connect(ui->Command2, &QPushButton::clicked, this, handler(&frmMain::Command2_Click));
    connect(ui->Command3, &QPushButton::clicked, this, handler(&frmMain::Command3_Click));
}

void frmMain::Form_Load()
{
    Speed_Selection();
    ui->Option1->setChecked(true);
    ui->Text1->setEnabled(false);
}

void frmMain::Speed_Selection()
{
    // The combo box selects the first entry it is given; the list keeps the selection it had.
    const int selection = ui->Combo1->currentIndex();
    for (const auto& label : rate::labels()) {
        ui->Combo1->addItem(label);
    }
    ui->Combo1->setCurrentIndex(selection);
}

void frmMain::Option1_Click()
{
    ui->Combo1->setEnabled(true);
    ui->Text1->setEnabled(false);
    ui->Text1->setText(QString());
}

void frmMain::Option2_Click()
{
    ui->Combo1->setEnabled(false);
    // Emptied and refilled so that no stale selection can override the typed speed.
    ui->Combo1->clear();
    Speed_Selection();
    ui->Text1->setEnabled(true);
    ui->Text1->setText(QString());
}

void frmMain::Command1_Click()
{
    if (const auto speed = rate::lookup(ui->Combo1->currentText())) {
        ui->Text1->setText(rate::speedText(*speed));
    }
    if (platform::textsEqual(ui->Text1->text(), QString())) {
        platform::messageBox(this, u"Εισάγεται μια τιμή ή επιλέξτε μια από την λίστα"_s,
                             MessageStyle::Exclamation, platform::productName());
        return;
    }
    const auto figures = rate::convert(ui->Text1->text());
    ui->Text2->setText(figures.download);
    ui->Text3->setText(figures.upload);
}

void frmMain::Command2_Click()
{
    const QString title = platform::productName();
    platform::messageBox(this, u"Orvanta v1.0"_s, MessageStyle::Information, title);
    platform::messageBox(this,
                         u"© 2026 Η ομάδα του Orvanta. Με την επιφύλαξη παντός δικαιώματος."_s,
                         MessageStyle::Information, title);
    platform::messageBox(this, u"E-mail επικοινωνίας: orvanta@example.org"_s,
                         MessageStyle::Information, title);
}

void frmMain::Command3_Click()
{
    platform::end();
}
