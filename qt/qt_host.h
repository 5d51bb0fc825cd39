#pragma once

// The host on Linux: frmMain built from its layout out of Qt widgets, with Qt's message boxes
// and event loop, and numbers written as the user's locale writes them.

#include "core/main_window.h"

#include <QDialog>
#include <array>
#include <cstddef>

class QKeyEvent;

namespace orvanta {

// A dialog, because only a dialog gives Enter to its default button (Calculate).
class QtWindow : public QDialog, public Host
{
    Q_OBJECT

public:
    explicit QtWindow(QWidget* parent = nullptr);
    ~QtWindow() override;

    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    // Runs the Load handler; start-up calls this once, before the window is shown.
    void load();

    // What a fault that no handler expected ends the program with, after a message says so.
    static constexpr int faultExitCode = 3;
    // Whether such a fault has happened: the event loop it asked to stop may not have started.
    [[nodiscard]] bool faulted() const { return m_faulted; }
    // Tells the user, in Greek, that the program must close, and stops the event loop with
    // faultExitCode. For anything that escapes a handler, and for start-up's own faults.
    static void reportFault(QWidget* parent);

    void appendItem(Control list, std::u16string_view item) override;
    void clearItems(Control list) override;
    [[nodiscard]] std::u16string listText(Control list) const override;
    [[nodiscard]] std::u16string text(Control box) const override;
    void setText(Control box, std::u16string_view text) override;
    void setEnabled(Control control, bool enabled) override;
    void select(Control option) override;
    void messageBox(std::u16string_view prompt, MessageStyle style,
                    std::u16string_view title) override;
    void end() override;
    [[nodiscard]] conversions::NumberFormat numberFormat() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void createControl(const layout::Place& place);
    void connectHandlers();
    [[nodiscard]] QWidget* widget(Control control) const;
    template <typename Widget> [[nodiscard]] Widget* as(Control control) const;
    // Runs a handler; anything it throws past the handler's own dispatch ends the program.
    template <typename Handler> void guard(Handler handler);
    void announceFigures();

    std::array<QWidget*, layout::controls.size() + 1> m_widgets{};
    frmMain m_form{*this};
    // Which result boxes Calculate's handler has written in this run of it: bit 0 Download's,
    // bit 1 Upload's. Both, and the figures are announced.
    unsigned m_figuresWritten = 0;
    bool m_faulted = false;
};

} // namespace orvanta
