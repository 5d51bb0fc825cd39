#include "core/errors.h"

#include <cmath>

namespace orvanta {

std::u16string_view RuntimeError::message() const noexcept
{
    switch (m_kind) {
    case Kind::TypeMismatch:
        return u"Η ταχύτητα που δώσατε δεν είναι αριθμός. Γράψτε έναν αριθμό σε kbps, π.χ. 512.";
    case Kind::Overflow:
        return u"Η ταχύτητα που δώσατε είναι υπερβολικά μεγάλη για να υπολογιστεί.";
    case Kind::FloatingPoint:
        return u"Το αποτέλεσμα του υπολογισμού ξεπερνά τα όρια των αριθμών και δεν μπορεί να "
               u"εμφανιστεί.";
    }
    return u"";
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

void checkFloat(double value)
{
    if (!std::isfinite(value)) {
        throw RuntimeError(RuntimeError::Kind::FloatingPoint);
    }
}

} // namespace orvanta
