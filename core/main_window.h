#pragma once

// frmMain, the program's only window: its event handlers, written once against the operations
// that every host offers on the window's controls (core/host.h). The host builds the controls
// from core/layout.h, delivers the user's actions here, and provides message boxes and ending.

#include "core/host.h"
#include "core/layout.h"

namespace orvanta {

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
