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

    std::array<QWidget*, layout::controls.size() + 1> m_widgets{};
    frmMain m_form{*this};
};

} // namespace orvanta
