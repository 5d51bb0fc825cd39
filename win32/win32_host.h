#pragma once

// The host on Windows: frmMain built from its layout out of Windows' own controls in a window
// that the dialog manager runs (Tab, Enter, the default button, access keys), with Windows'
// message boxes, scaled for the display and for the text size the user asked for and following
// both while it runs, and numbers written as the user's regional settings write them.

#include "core/main_window.h"
#include "win32/live_region.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace orvanta {

// The exit codes besides 0, each after a message box that says what went wrong.
enum class ExitCode : int
{
    NoWindow = 1,   // Windows would not create the window or one of its controls
    Unexpected = 3, // a fault that nothing else handles
    NoMessages = 4, // Windows stopped delivering the window's messages
};

class Win32Window final : public Host
{
public:
    explicit Win32Window(HINSTANCE instance) : m_instance(instance) {}
    ~Win32Window();

    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Creates the window and its controls, hidden, with the focus on the list; false if Windows
    // would not, with GetLastError telling why.
    [[nodiscard]] bool create();
    // Runs the Load handler; start-up calls this once, before the window is shown.
    void load();
    // Shows the window, centred on the screen the user started the program from. Called once.
    void show(int showCommand);
    // Delivers the user's actions until the window is closed or Exit is pressed; the exit code.
    [[nodiscard]] int run();

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
    void initialize();
    [[nodiscard]] bool createControls();
    void command(WORD id, WORD notification);
    void fail();
    void followSettings();
    [[nodiscard]] double scaleAt(UINT dpi) const;
    [[nodiscard]] SIZE sizeAt(UINT dpi, double scale) const;
    void useDpi(UINT dpi);
    [[nodiscard]] HFONT createFont();
    void useFont();
    [[nodiscard]] RECT pixelPlace(const layout::Place& place) const;
    [[nodiscard]] RECT windowPlace(const layout::Place& place) const;
    void setListHeight(HWND list, const layout::Place& place) const;
    void placeControls() const;
    void fitWindow() const;
    void setIcons();
    [[nodiscard]] int pixels(int twips) const;
    [[nodiscard]] HWND control(Control control) const;

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    std::array<HWND, layout::controls.size() + 1> m_controls{};
    // Each hidden name, and the box it names.
    std::vector<std::pair<HWND, Control>> m_hiddenNames;
    std::array<HICON, 2> m_icons{};
    HFONT m_font = nullptr;
    // The message font that the window's font was last made from.
    LONG m_fontHeight = 0;
    std::u16string m_fontFace;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    double m_textScale = 1.0;
    DWORD m_creationError = ERROR_SUCCESS;
    ExitCode m_failure{};
    bool m_failed = false;
    // Set when Calculate has written figures, which are then read aloud once it is done.
    bool m_figuresWritten = false;
    LiveRegions m_liveRegions;
    frmMain m_form{*this};
};

// What the user sees when the window cannot be created: the reason, in the words of Windows.
void reportNoWindow(DWORD error);

} // namespace orvanta
