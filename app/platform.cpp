#include "app/platform.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cmath>

using namespace Qt::StringLiterals;

namespace orvanta::platform {

QString productName()
{
    return u"Orvanta"_s;
}

QString RuntimeError::message() const
{
    switch (m_kind) {
    case Kind::TypeMismatch:
        return u"Η ταχύτητα που δώσατε δεν είναι αριθμός. Γράψτε έναν αριθμό σε kbps, π.χ. 512."_s;
    case Kind::Overflow:
        return u"Η ταχύτητα που δώσατε είναι υπερβολικά μεγάλη για να υπολογιστεί."_s;
    case Kind::FloatingPoint:
        return u"Το αποτέλεσμα του υπολογισμού ξεπερνά τα όρια των αριθμών και δεν μπορεί να "
               u"εμφανιστεί."_s;
    }
    Q_UNREACHABLE();
}

const char* RuntimeError::what() const noexcept
{
    switch (m_kind) {
    case Kind::TypeMismatch:
        return "type mismatch";
    case Kind::Overflow:
        return "overflow";
    case Kind::FloatingPoint:
        return "floating-point error";
    }
    return "run-time error";
}

void messageBox(QWidget* parent, const QString& prompt, MessageStyle style, const QString& title)
{
    const auto icon =
        style == MessageStyle::Exclamation ? QMessageBox::Warning : QMessageBox::Information;
    QMessageBox box(icon, title, prompt, QMessageBox::Ok, parent);
    box.exec();
}

void end()
{
    QCoreApplication::exit(0);
}

bool textsEqual(const QString& left, const QString& right)
{
    return left == right;
}

QString integerToText(qint16 value)
{
    return QString::number(value);
}

double textToNumber(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok && std::isinf(value)) {
        throw RuntimeError(RuntimeError::Kind::Overflow);
    }
    // The locale's parser also takes "inf" and "nan", which are not numbers to a user.
    if (!ok || !std::isfinite(value)) {
        throw RuntimeError(RuntimeError::Kind::TypeMismatch);
    }
    return value;
}

QString numberToText(double value, const QLocale& locale)
{
    constexpr int significantDigits = 15;
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    // Negative zero would otherwise read "-0".
    const double shown = value == 0.0 ? 0.0 : value;
    return plain.toString(shown, 'G', significantDigits);
}

QString joinTexts(const QString& left, const QString& right)
{
    return left + right;
}

void checkFloat(double value)
{
    if (!std::isfinite(value)) {
        throw RuntimeError(RuntimeError::Kind::FloatingPoint);
    }
}

void reportError(QWidget* parent, const RuntimeError& error)
{
    messageBox(parent, error.message(), MessageStyle::Exclamation, productName());
}

} // namespace orvanta::platform
