#pragma once

// The operations that every host offers the handlers: the window's controls reached by name,
// message boxes, ending, and how the user's regional settings write numbers.

#include "core/conversions.h"
#include "core/layout.h"

#include <string>
#include <string_view>

namespace orvanta {

enum class MessageStyle
{
    Exclamation = 48, // warning icon, OK button
    Information = 64, // information icon, OK button
};

// What a host does for the handlers, each operation reaching a control by its name.
class Host
{
public:
    Host() = default;
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The list: adds an entry at its end; removes them all; the text of the entry chosen, empty
    // when none is.
    virtual void appendItem(Control list, std::u16string_view item) = 0;
    virtual void clearItems(Control list) = 0;
    [[nodiscard]] virtual std::u16string listText(Control list) const = 0;

    [[nodiscard]] virtual std::u16string text(Control box) const = 0;
    virtual void setText(Control box, std::u16string_view text) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;

    // Selects the option, clears the other one of its frame, and runs its Click handler, as a
    // user's click does.
    virtual void select(Control option) = 0;

    // Modal: returns once the user has dismissed the box.
    virtual void messageBox(std::u16string_view prompt, MessageStyle style,
                            std::u16string_view title) = 0;
    // Stops the program with exit code 0; no further handler runs.
    virtual void end() = 0;

    // How the user's regional settings write numbers.
    [[nodiscard]] virtual conversions::NumberFormat numberFormat() const = 0;

protected:
    ~Host() = default;
};

} // namespace orvanta
