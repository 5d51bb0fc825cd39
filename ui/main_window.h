#pragma once

// frmMain, the program's only window: its event handlers, written once against the operations
// that every host offers on the window's controls (Host). The host builds the controls from
// ui/layout.h, delivers the user's actions here, and provides message boxes and ending.

#include "app/platform.h"
#include "ui/layout.h"

#include <string>
#include <string_view>

namespace orvanta {

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
    virtual void messageBox(std::u16string_view prompt, platform::MessageStyle style,
                            std::u16string_view title) = 0;
    // Stops the program with exit code 0; no further handler runs.
    virtual void end() = 0;

    // How the user's regional settings write numbers.
    [[nodiscard]] virtual platform::NumberFormat numberFormat() const = 0;

protected:
    ~Host() = default;
};

class frmMain
{
public:
    explicit frmMain(Host& host) : m_host(host) {}

    // Each runs its handler; a run-time error that the handler raises is reported in a message
    // box, and the program goes on.
    // The Load handler: start-up runs it once, before the window is shown.
    void load();
    // The Click handler of the control, where it has one.
    void click(Control control);

private:
    template <typename Handler> void dispatch(Handler handler);

    void Form_Load();
    void Speed_Selection();
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    Host& m_host;
};

} // namespace orvanta
