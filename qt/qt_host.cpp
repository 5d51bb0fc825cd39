#include "qt/qt_host.h"

#include "core/errors.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtGlobal>
#include <algorithm>
#include <exception>
#include <vector>

using namespace Qt::StringLiterals;

namespace orvanta {

namespace {

QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixels(const layout::Place& place)
{
    constexpr int unit = layout::twipsPerPixel;
    return {place.left / unit, place.top / unit, place.width / unit, place.height / unit};
}

constexpr unsigned downloadWritten = 1;
constexpr unsigned uploadWritten = 2;

char16_t firstUnit(const QString& text, char16_t otherwise)
{
    return text.size() == 1 ? text.front().unicode() : otherwise;
}

} // namespace

QtWindow::QtWindow(QWidget* parent) : QDialog(parent)
{
    build();
    // A fixed window: no resizing, no minimise or maximise box, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    widget(Control::Combo1)->setFocus();
    connectHandlers();
}

QtWindow::~QtWindow() = default;

void QtWindow::build()
{
    constexpr int unit = layout::twipsPerPixel;
    setObjectName(u"frmMain"_s);
    setWindowTitle(toQString(layout::caption));
    setFixedSize(layout::clientWidth / unit, layout::clientHeight / unit);
    // The layout is made for this size of text; the font is Arial's metric twin, with Greek.
    setFont(QFont(u"Liberation Sans"_s, layout::fontPoints));

    // The table lists the topmost first, and each frame before the controls it holds: each
    // control goes below those made before it.
    for (const auto& place : layout::controls) {
        createControl(place);
        widget(place.control)->lower();
    }

    std::vector<const layout::Place*> tabOrder;
    for (const auto& place : layout::controls) {
        if (auto* label = qobject_cast<QLabel*>(widget(place.control))) {
            label->setBuddy(widget(place.names));
        } else if (widget(place.control)->focusPolicy() != Qt::NoFocus) {
            tabOrder.push_back(&place);
        }
        // The list and the speed box have no label of their own; the option beside each names it.
        if (place.namedBy != Control::Window) {
            widget(place.control)->setAccessibleName(toQString(layout::of(place.namedBy).caption));
        }
    }
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto* left, const auto* right) { return left->tabIndex < right->tabIndex; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(widget(tabOrder[i - 1]->control), widget(tabOrder[i]->control));
    }
}

void QtWindow::createControl(const layout::Place& place)
{
    QWidget* container = place.container == Control::Window ? this : widget(place.container);
    const QString caption = toQString(place.caption);
    // Options, buttons and labels take an access key, which Qt underlines; frames have none.
    const QString marked = toQString(layout::markedCaption(place));
    QWidget* created = nullptr;
    switch (place.kind) {
    case layout::Kind::PushButton: {
        auto* button = new QPushButton(marked, container);
        button->setDefault(place.isDefault);
        created = button;
        break;
    }
    case layout::Kind::ComboBox:
        created = new QComboBox(container);
        break;
    case layout::Kind::Frame:
        created = new QGroupBox(caption, container);
        break;
    case layout::Kind::TextBox: {
        auto* box = new QLineEdit(container);
        box->setReadOnly(place.readOnly);
        created = box;
        break;
    }
    case layout::Kind::OptionButton:
        created = new QRadioButton(marked, container);
        break;
    case layout::Kind::Label: {
        auto* label = new QLabel(marked, container);
        label->setAlignment(Qt::AlignLeading | Qt::AlignLeft | Qt::AlignTop);
        created = label;
        break;
    }
    }
    created->setObjectName(QString::fromLatin1(place.name));
    created->setGeometry(pixels(place));
    m_widgets.at(static_cast<std::size_t>(place.control)) = created;
}

QWidget* QtWindow::widget(Control control) const
{
    return m_widgets.at(static_cast<std::size_t>(control));
}

template <typename Widget> Widget* QtWindow::as(Control control) const
{
    return qobject_cast<Widget*>(widget(control));
}

void QtWindow::connectHandlers()
{
    // An option's Click runs whenever it becomes selected, by the user or from code.
    for (const Control option : {Control::Option1, Control::Option2}) {
        connect(as<QRadioButton>(option), &QRadioButton::toggled, this, [this, option](bool on) {
            if (on) {
                guard([this, option] { m_form.click(option); });
            }
        });
    }
    for (const Control button : {Control::Command2, Control::Command3}) {
        connect(as<QPushButton>(button), &QPushButton::clicked, this,
                [this, button] { guard([this, button] { m_form.click(button); }); });
    }
    // The figures appear away from the focus, which stays on Calculate or the list, so a screen
    // reader would not speak them unless told to.
    connect(as<QPushButton>(Control::Command1), &QPushButton::clicked, this, [this] {
        m_figuresWritten = 0;
        guard([this] { m_form.click(Control::Command1); });
        if (m_figuresWritten == (downloadWritten | uploadWritten) && !m_faulted) {
            announceFigures();
        }
    });
}

template <typename Handler> void QtWindow::guard(Handler handler)
{
    if (m_faulted) {
        return;
    }
    // Unwinding through Qt's own frames is undefined, so nothing is let past this point.
    try {
        handler();
    } catch (...) {
        m_faulted = true;
        reportFault(isVisible() ? this : nullptr);
    }
}

void QtWindow::reportFault(QWidget* parent)
{
    try {
        QMessageBox box(QMessageBox::Critical, toQString(productName),
                        toQString(unexpectedErrorMessage), QMessageBox::Ok, parent);
        box.exec();
    } catch (...) {
        // Not even the message could be shown; the exit code still tells.
    }
    QCoreApplication::exit(faultExitCode);
}

// "Download: 64 Kbps, Upload: 16 Kbps": the labels' captions and the boxes' texts as the window
// shows them, so the words heard are the words seen.
void QtWindow::announceFigures()
{
    const auto said = [this](Control label) {
        const auto& place = layout::of(label);
        return toQString(place.caption) + u' ' + as<QLineEdit>(place.names)->text();
    };
    const QString message = said(Control::Label1) + u", "_s + said(Control::Label2);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(this, message);
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
#else
    // Qt before 6.8 has no announcement; the boxes' own text-changed events are all there is.
    Q_UNUSED(message)
#endif
}

void QtWindow::load()
{
    guard([this] { m_form.load(); });
}

void QtWindow::keyPressEvent(QKeyEvent* event)
{
    // A dialog closes on Escape; this window has no cancel button, so Escape does nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void QtWindow::appendItem(Control list, std::u16string_view item)
{
    // The combo box selects the first entry it is given; the list keeps the selection it had.
    auto* combo = as<QComboBox>(list);
    const int selection = combo->currentIndex();
    combo->addItem(toQString(item));
    combo->setCurrentIndex(selection);
}

void QtWindow::clearItems(Control list)
{
    as<QComboBox>(list)->clear();
}

std::u16string QtWindow::listText(Control list) const
{
    return as<QComboBox>(list)->currentText().toStdU16String();
}

std::u16string QtWindow::text(Control box) const
{
    return as<QLineEdit>(box)->text().toStdU16String();
}

void QtWindow::setText(Control box, std::u16string_view text)
{
    as<QLineEdit>(box)->setText(toQString(text));
    if (box == Control::Text2) {
        m_figuresWritten |= downloadWritten;
    } else if (box == Control::Text3) {
        m_figuresWritten |= uploadWritten;
    }
}

void QtWindow::setEnabled(Control control, bool enabled)
{
    widget(control)->setEnabled(enabled);
}

void QtWindow::select(Control option)
{
    as<QRadioButton>(option)->setChecked(true);
}

void QtWindow::messageBox(std::u16string_view prompt, MessageStyle style, std::u16string_view title)
{
    const auto icon =
        style == MessageStyle::Exclamation ? QMessageBox::Warning : QMessageBox::Information;
    QMessageBox box(icon, toQString(title), toQString(prompt), QMessageBox::Ok, this);
    box.exec();
}

void QtWindow::end()
{
    QCoreApplication::exit(0);
}

conversions::NumberFormat QtWindow::numberFormat() const
{
    const QLocale locale;
    const conversions::NumberFormat plain;
    return {firstUnit(locale.decimalPoint(), plain.decimalPoint),
            firstUnit(locale.groupSeparator(), plain.groupSeparator),
            firstUnit(locale.negativeSign(), plain.minusSign),
            firstUnit(locale.positiveSign(), plain.plusSign)};
}

} // namespace orvanta
