#pragma once

// The services that the window's handlers rely on: message boxes, ending the program, text and
// number conversions, the floating-point check, and the default handling of run-time errors.

#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <exception>
#include <utility>

class QWidget;

namespace orvanta::platform {

// The program's name: the title of the window and of every message box.
[[nodiscard]] QString productName();

// A failure raised by a conversion or by arithmetic. Handlers do not catch it; dispatch() does.
class RuntimeError : public std::exception
{
public:
    enum class Kind
    {
        TypeMismatch,  // the text is not a number
        Overflow,      // the number lies beyond the double range
        FloatingPoint, // arithmetic overflowed or became undefined
    };

    explicit RuntimeError(Kind kind) : m_kind(kind) {}

    [[nodiscard]] Kind kind() const noexcept { return m_kind; }
    // The Greek sentence shown to the user.
    [[nodiscard]] QString message() const;
    [[nodiscard]] const char* what() const noexcept override;

private:
    Kind m_kind;
};

enum class MessageStyle
{
    Exclamation = 48, // warning icon, OK button
    Information = 64, // information icon, OK button
};

// Modal; returns once the user has dismissed the box.
void messageBox(QWidget* parent, const QString& prompt, MessageStyle style, const QString& title);

// Stops the program with exit code 0; no further handler runs.
void end();

// Exact, code unit by code unit, case-sensitive, no trimming.
[[nodiscard]] bool textsEqual(const QString& left, const QString& right);

[[nodiscard]] QString integerToText(qint16 value);

// Reads a number the way the locale writes it; surrounding blanks are ignored.
// Throws RuntimeError: Overflow beyond the double range, TypeMismatch for anything else that is
// not a finite number.
[[nodiscard]] double textToNumber(const QString& text, const QLocale& locale = QLocale());

// At most 15 significant digits, no digit grouping, no trailing zeros, exponent form
// ("1.25E+299") for very large or small magnitudes.
[[nodiscard]] QString numberToText(double value, const QLocale& locale = QLocale());

[[nodiscard]] QString joinTexts(const QString& left, const QString& right);

// Throws RuntimeError(FloatingPoint) when a computed value is infinite or not a number.
void checkFloat(double value);

// The default handling of a run-time error: a warning box with its message. The program goes on.
void reportError(QWidget* parent, const RuntimeError& error);

// Every event handler runs through here, so that a run-time error never escapes into the toolkit.
template <typename Handler> void dispatch(QWidget* parent, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const RuntimeError& error) {
        reportError(parent, error);
    }
}

} // namespace orvanta::platform
