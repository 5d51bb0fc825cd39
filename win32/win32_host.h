#pragma once

// The host on Windows: frmMain built from its layout out of Windows' own controls in a window
// that the dialog manager runs (Tab, Enter, the default button), with Windows' message boxes,
// scaled for the display and for the text size the user asked for, and numbers written as the
// user's regional settings write them.

#include "core/main_window.h"

#include <windows.h>

#include <array>
#include <cstddef>

namespace orvanta {

class Win32Window final : public Host
{
public:
    explicit Win32Window(HINSTANCE instance) : m_instance(instance) {}
    ~Win32Window();

    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Creates the window and its controls, hidden; false if Windows would not.
    [[nodiscard]] bool create();
    // Runs the Load handler; start-up calls this once, before the window is shown.
    void load();
    // Shows the window, centred on its screen, with the focus on the list.
    void show(int showCommand);
    // Delivers the user's actions until the window is closed or Exit is pressed; the exit code.
    [[nodiscard]] static int run(HWND window);

    [[nodiscard]] HWND handle() const { return m_window; }

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

private:
    static INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void nameByOptions();
    void command(WORD id, WORD notification);
    void useDpi(UINT dpi);
    void placeControls();
    [[nodiscard]] int pixels(int twips) const;
    [[nodiscard]] HWND control(Control control) const;

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    std::array<HWND, layout::controls.size() + 1> m_controls{};
    HFONT m_font = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    double m_textScale = 1.0;
    frmMain m_form{*this};
};

} // namespace orvanta
