// The least a Qt Widgets program can do to show Orvanta's window: a plain dialog built from the
// same layout table, so with the same controls at the same places in the same font, its list
// holding the same entries, and nothing else: no handlers, no icon, no translation. It is the
// yardstick that the benchmark holds the real program's start-up time and memory against.

#include "core/layout.h"
#include "core/rate.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;
namespace layout = orvanta::layout;

namespace {

QString text(std::u16string_view view)
{
    return QString::fromUtf16(view.data(), static_cast<qsizetype>(view.size()));
}

QWidget* create(const layout::Place& place, QWidget* container)
{
    switch (place.kind) {
    case layout::Kind::PushButton:
        return new QPushButton(text(place.caption), container);
    case layout::Kind::ComboBox:
        return new QComboBox(container);
    case layout::Kind::Frame:
        return new QGroupBox(text(place.caption), container);
    case layout::Kind::TextBox:
        return new QLineEdit(container);
    case layout::Kind::OptionButton:
        return new QRadioButton(text(place.caption), container);
    case layout::Kind::Label:
        return new QLabel(text(place.caption), container);
    }
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    constexpr int unit = layout::twipsPerPixel;
    dialog.setFixedSize(layout::clientWidth / unit, layout::clientHeight / unit);
    dialog.setFont(QFont(u"Liberation Sans"_s, layout::fontPoints));
    QHash<orvanta::Control, QWidget*> widgets;
    // Topmost first, and each frame before what it holds: each goes below those before it.
    for (const auto& place : layout::controls) {
        QWidget* widget = create(place, widgets.value(place.container, &dialog));
        widget->setGeometry(place.left / unit, place.top / unit, place.width / unit,
                            place.height / unit);
        widget->lower();
        widgets.insert(place.control, widget);
    }
    auto* list = qobject_cast<QComboBox*>(widgets.value(orvanta::Control::Combo1));
    for (const auto& connection : orvanta::rate::catalogue) {
        list->addItem(text(connection.label));
    }
    list->setCurrentIndex(-1);
    qobject_cast<QRadioButton*>(widgets.value(orvanta::Control::Option1))->setChecked(true);
    widgets.value(orvanta::Control::Text1)->setEnabled(false);
    list->setFocus();
    dialog.show();
    return QApplication::exec();
}
