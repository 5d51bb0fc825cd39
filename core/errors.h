#pragma once

// The run-time errors that a conversion or the arithmetic raises, with the Greek sentence that
// tells the user what went wrong.

#include <exception>
#include <string_view>

namespace orvanta {

// A failure raised by a conversion or by arithmetic. Handlers do not catch it; the window's
// dispatch does, and reports it (frmMain).
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
    [[nodiscard]] std::u16string_view message() const noexcept;
    [[nodiscard]] const char* what() const noexcept override;

private:
    Kind m_kind;
};

// What the user is told before the program ends on a fault that nothing else handles, and when
// its window cannot be made at all (the system's own reason follows).
inline constexpr std::u16string_view unexpectedErrorMessage =
    u"Παρουσιάστηκε απρόσμενο σφάλμα και το πρόγραμμα θα τερματιστεί.";
inline constexpr std::u16string_view noWindowMessage =
    u"Δεν ήταν δυνατό να ανοίξει το παράθυρο του προγράμματος.";

// Throws RuntimeError(FloatingPoint) when a computed value is infinite or not a number.
void checkFloat(double value);

} // namespace orvanta
