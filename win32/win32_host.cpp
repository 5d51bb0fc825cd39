#include "win32/win32_host.h"

#include "core/errors.h"
#include "win32/text_scale.h"

#include <algorithm>
#include <cmath>
#include <commctrl.h>
#include <string>
#include <vector>

namespace orvanta {

namespace {

// Control identifiers: the window's WM_COMMAND tells the controls apart by these.
constexpr int firstControlId = 100;

int idOf(Control control)
{
    return firstControlId + static_cast<int>(control);
}

// Windows' wide strings are UTF-16 as ours are. The text must end in a null, as the layout's
// literals and every std::u16string do.
const wchar_t* wide(std::u16string_view text)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return reinterpret_cast<const wchar_t*>(text.data());
}

std::u16string fromWide(const std::wstring& text)
{
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

constexpr int pointsPerInch = 72;
constexpr double percent = 100.0;

// One control as it is created: a control of the layout, or the hidden name of a box that has no
// label of its own, which is the caption of the option beside it.
struct Creation
{
    const layout::Place* place;
    bool hiddenName = false;
};

// The order in which the controls are created, which is their order for Tab and for screen
// readers: by tab index, but a label just before the box it names, as Windows reads a box's
// name from the static text before it. A box whose visible label is an option gets a static
// text of its own there, holding the option's caption but never shown, as Windows documents for
// a box whose label is something else.
std::vector<Creation> creationOrder()
{
    std::vector<const layout::Place*> sorted;
    for (const auto& place : layout::controls) {
        if (place.kind != layout::Kind::Label) {
            sorted.push_back(&place);
        }
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* left, const auto* right) { return left->tabIndex < right->tabIndex; });
    std::vector<Creation> order;
    for (const auto* place : sorted) {
        for (const auto& label : layout::controls) {
            if (label.kind == layout::Kind::Label && label.names == place->control) {
                order.push_back({&label});
            }
        }
        if (place->namedBy != Control::Window) {
            order.push_back({&layout::of(place->namedBy), true});
        }
        order.push_back({place});
    }
    return order;
}

struct ClassAndStyle
{
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
};

ClassAndStyle classAndStyle(const layout::Place& place)
{
    // Every control starts a group of its own for the arrow keys but the second option, which
    // shares the first one's.
    const DWORD group = place.control == Control::Option2 ? 0 : WS_GROUP;
    const DWORD common = WS_CHILD | WS_VISIBLE | group;
    switch (place.kind) {
    case layout::Kind::PushButton:
        return {WC_BUTTONW,
                common | WS_TABSTOP |
                    static_cast<DWORD>(place.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                0};
    case layout::Kind::ComboBox:
        return {WC_COMBOBOXW, common | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case layout::Kind::Frame:
        return {WC_BUTTONW, common | BS_GROUPBOX, 0};
    case layout::Kind::TextBox:
        return {WC_EDITW,
                common | WS_TABSTOP | ES_AUTOHSCROLL |
                    static_cast<DWORD>(place.readOnly ? ES_READONLY : 0),
                WS_EX_CLIENTEDGE};
    case layout::Kind::OptionButton:
        // Not an automatic radio button: the window selects it, so that its Click runs once,
        // when it becomes selected.
        return {WC_BUTTONW, common | WS_TABSTOP | BS_RADIOBUTTON, 0};
    case layout::Kind::Label:
        // Its access key gives the focus to the box after it.
        return {WC_STATICW, common | SS_LEFT, 0};
    }
    return {WC_STATICW, common, 0};
}

// The box that an option's caption names.
Control boxNamedBy(Control option)
{
    for (const auto& place : layout::controls) {
        if (place.namedBy == option) {
            return place.control;
        }
    }
    return Control::Window;
}

// A box's hidden name: read by screen readers, never shown, and with no access key of its own,
// which stays the option's.
constexpr ClassAndStyle hiddenName{WC_STATICW, WS_CHILD | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0};

// Where a control lies in the window's client area, in twips: a frame's controls are placed in
// the window beside it, over the frame.
RECT placeInWindow(const layout::Place& place)
{
    int left = place.left;
    int top = place.top;
    if (place.container != Control::Window) {
        const auto& container = layout::of(place.container);
        left += container.left;
        top += container.top;
    }
    return {left, top, left + place.width, top + place.height};
}

// Twips, grown by scale, in the pixels of a display of this many dots per inch.
int scaledPixels(int twips, double scale, UINT dpi)
{
    return static_cast<int>(
        std::lround(twips * scale * dpi / (layout::twipsPerPixel * USER_DEFAULT_SCREEN_DPI)));
}

// Windows' Text size, which the Settings page keeps here; Windows has no call that gives it to a
// program that does not use its XAML controls.
int textSizePercent()
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LSTATUS status =
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", L"TextScaleFactor",
                     RRF_RT_REG_DWORD, nullptr, &value, &size);
    return status == ERROR_SUCCESS ? static_cast<int>(value) : static_cast<int>(percent);
}

// Windows' message font at this many dots per inch. Should Windows not say, a font of height 0,
// which Windows fills in with its default and the text scale reads as the default size.
LOGFONTW messageFont(UINT dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi) ==
        FALSE) {
        return LOGFONTW{};
    }
    return metrics.lfMessageFont;
}

std::u16string faceName(const LOGFONTW& font)
{
    const auto* const face = reinterpret_cast<const char16_t*>(font.lfFaceName);
    return {face, std::char_traits<char16_t>::length(face)};
}

double messageFontPoints(UINT dpi)
{
    const LONG height = messageFont(dpi).lfHeight;
    return height == 0 ? defaultSystemFontPoints
                       : std::abs(static_cast<double>(height)) * pointsPerInch / dpi;
}

wchar_t firstUnit(LCTYPE item, wchar_t otherwise)
{
    std::array<wchar_t, 8> text{};
    const int length =
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text.data(), static_cast<int>(text.size()));
    // The length counts the terminating null: one character is a length of 2.
    return length == 2 ? text.front() : otherwise;
}

// A function of a DLL loaded at run time, by its name and type.
template <typename Function> Function* procedure(HMODULE module, const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The dialog manager would scale the window and its controls by itself when it moves to a screen
// of another resolution, and this window does so itself, once. Windows 10 1703 and later can be
// told; elsewhere (and under Wine) the call does not exist, and there is nothing to switch off.
void keepDialogManagerFromScaling(HWND window)
{
    using SetBehavior = BOOL WINAPI(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    auto* const set =
        procedure<SetBehavior>(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior");
    if (set != nullptr) {
        set(window, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

// The screen the user started the program from: the one of the window they started it from,
// the Start menu or a folder, which is still in front; the main screen if there is none.
HMONITOR startingScreen()
{
    const HWND front = GetForegroundWindow();
    return front != nullptr ? MonitorFromWindow(front, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

RECT workArea(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

// The system's words for an error, in the user's language; its number where it has none.
std::u16string systemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string message(reinterpret_cast<const char16_t*>(text), length);
    LocalFree(text);
    if (message.empty()) {
        message = u"0x";
        constexpr int hexDigits = 8;
        constexpr int bitsPerDigit = 4;
        for (int digit = hexDigits - 1; digit >= 0; --digit) {
            message += u"0123456789ABCDEF"[(error >> (digit * bitsPerDigit)) & 0xFU];
        }
    }
    return message;
}

} // namespace

Win32Window::~Win32Window()
{
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
    for (const HICON icon : m_icons) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

bool Win32Window::create()
{
    // A dialog with no controls of its own, so that the dialog manager runs the keyboard: Tab,
    // the arrow keys in the options, Enter for the default button, the access keys. Fixed
    // border, no minimise or maximise box. The controls are placed in pixels, not in dialog
    // units, once it exists.
    struct alignas(DWORD) Template
    {
        DLGTEMPLATE dialog;
        WORD menu;
        WORD windowClass;
        WORD title;
    };
    Template empty{};
    empty.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const HWND created =
        CreateDialogIndirectParamW(m_instance, &empty.dialog, nullptr,
                                   &Win32Window::dialogProcedure, reinterpret_cast<LPARAM>(this));
    if (created == nullptr || m_creationError != ERROR_SUCCESS) {
        const DWORD error = created == nullptr ? GetLastError() : m_creationError;
        if (created != nullptr) {
            DestroyWindow(created);
        }
        SetLastError(error);
        return false;
    }
    return true;
}

INT_PTR CALLBACK Win32Window::dialogProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Win32Window*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_window = window;
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    // Nothing may unwind through Windows' own frames, which know nothing of C++ exceptions.
    try {
        return self->handle(message, wParam, lParam);
    } catch (...) {
        self->fail();
        return TRUE;
    }
}

INT_PTR Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialize();
        // FALSE: the focus is set already.
        return FALSE;
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_GETDPISCALEDSIZE: {
        // The size the window will have on the other screen, so that Windows resizes it once.
        const UINT dpi = static_cast<UINT>(wParam);
        *reinterpret_cast<SIZE*>(lParam) = sizeAt(dpi, scaleAt(dpi));
        SetWindowLongPtrW(m_window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_DPICHANGED: {
        useDpi(HIWORD(wParam));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        setIcons();
        return TRUE;
    }
    case WM_SETTINGCHANGE:
        followSettings();
        return FALSE;
    case WM_CLOSE:
        // The close box ends the program without a question, as Exit does.
        end();
        return TRUE;
    case WM_DESTROY:
        m_liveRegions.clear();
        PostQuitMessage(m_failed ? static_cast<int>(m_failure) : 0);
        m_window = nullptr;
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32Window::initialize()
{
    SetWindowTextW(m_window, wide(layout::caption));
    keepDialogManagerFromScaling(m_window);
    // The resolution, text size and font come first, so that each control is made where it
    // stays, in the font it keeps: nothing is moved or drawn twice before the window appears.
    m_dpi = GetDpiForWindow(m_window);
    m_textScale = scaleAt(m_dpi);
    m_font = createFont();
    if (!createControls()) {
        m_creationError = GetLastError();
        return;
    }
    // The list has the focus before the window is first shown, so that keys typed as it appears
    // reach it.
    SetFocus(control(Control::Combo1));
}

bool Win32Window::createControls()
{
    for (const auto& [place, hidden] : creationOrder()) {
        const auto [className, style, extendedStyle] = hidden ? hiddenName : classAndStyle(*place);
        const std::u16string caption =
            hidden ? std::u16string(place->caption) : layout::markedCaption(*place);
        // A hidden name has no identifier of its own: nothing but screen readers reads it. It
        // lies where its box lies, for readers that look at places too.
        const int id = hidden ? -1 : idOf(place->control);
        const RECT where =
            hidden ? pixelPlace(layout::of(boxNamedBy(place->control))) : windowPlace(*place);
        const HWND created =
            CreateWindowExW(extendedStyle, className, wide(caption), style, where.left, where.top,
                            where.right - where.left, where.bottom - where.top, m_window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), m_instance, nullptr);
        if (created == nullptr) {
            return false;
        }
        if (hidden) {
            m_hiddenNames.push_back({created, boxNamedBy(place->control)});
            continue;
        }
        m_controls.at(static_cast<std::size_t>(place->control)) = created;
        if (m_font != nullptr) {
            SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        }
        if (place->kind == layout::Kind::ComboBox) {
            setListHeight(created, *place);
        }
        if (place->isDefault) {
            SendMessageW(m_window, DM_SETDEFID, static_cast<WPARAM>(idOf(place->control)), 0);
        }
    }
    // The list shows all its entries at once when it drops down.
    SendMessageW(control(Control::Combo1), CB_SETMINVISIBLE,
                 static_cast<WPARAM>(layout::controls.size()), 0);
    m_liveRegions.watch({control(Control::Text2), control(Control::Text3)});
    return true;
}

void Win32Window::command(WORD id, WORD notification)
{
    if (notification != BN_CLICKED) {
        return;
    }
    const auto clicked = static_cast<Control>(id - firstControlId);
    switch (clicked) {
    case Control::Option1:
    case Control::Option2:
        // A click on the option already selected changes nothing.
        if (SendMessageW(control(clicked), BM_GETCHECK, 0, 0) != BST_CHECKED) {
            select(clicked);
        }
        break;
    case Control::Command1:
        m_figuresWritten = false;
        m_form.click(clicked);
        // Read aloud once both figures stand, whether or not they changed: the user asked.
        if (m_figuresWritten) {
            m_liveRegions.announce();
        }
        break;
    case Control::Command2:
    case Control::Command3:
        m_form.click(clicked);
        break;
    default:
        // IDCANCEL, from Escape: the window has no cancel button, so Escape does nothing.
        break;
    }
}

void Win32Window::fail()
{
    if (m_failed) {
        return;
    }
    m_failed = true;
    m_failure = ExitCode::Unexpected;
    const std::u16string title(layout::caption);
    const std::u16string prompt(unexpectedErrorMessage);
    MessageBoxW(m_window, wide(prompt), wide(title), MB_OK | MB_ICONERROR);
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
}

int Win32Window::pixels(int twips) const
{
    return scaledPixels(twips, m_textScale, m_dpi);
}

double Win32Window::scaleAt(UINT dpi) const
{
    // Larger text needs a larger window, but one that the user can still see whole: past what
    // the screen holds, the text grows no further.
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE));
    const DWORD extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE));
    RECT frame{};
    AdjustWindowRectExForDpi(&frame, style, FALSE, extendedStyle, dpi);
    const RECT room = workArea(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST));
    const Extent laidOut{scaledPixels(layout::clientWidth, 1.0, dpi),
                         scaledPixels(layout::clientHeight, 1.0, dpi)};
    return scaleThatFits(textScale(textSizePercent(), messageFontPoints(dpi)), laidOut,
                         {frame.right - frame.left, frame.bottom - frame.top},
                         {room.right - room.left, room.bottom - room.top});
}

SIZE Win32Window::sizeAt(UINT dpi, double scale) const
{
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE));
    const DWORD extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE));
    RECT outer{0, 0, scaledPixels(layout::clientWidth, scale, dpi),
               scaledPixels(layout::clientHeight, scale, dpi)};
    AdjustWindowRectExForDpi(&outer, style, FALSE, extendedStyle, dpi);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void Win32Window::useDpi(UINT dpi)
{
    m_dpi = dpi;
    m_textScale = scaleAt(dpi);
    useFont();
    placeControls();
}

HFONT Win32Window::createFont()
{
    // Windows' message font, at the size the layout was made for, grown with the text.
    LOGFONTW font = messageFont(m_dpi);
    m_fontHeight = font.lfHeight;
    m_fontFace = faceName(font);
    font.lfHeight =
        -static_cast<LONG>(std::lround(layout::fontPoints * m_textScale * m_dpi / pointsPerInch));
    return CreateFontIndirectW(&font);
}

void Win32Window::useFont()
{
    const HFONT created = createFont();
    // Without a new font the controls keep the one they have: smaller text, but all of it.
    if (created == nullptr) {
        return;
    }
    for (const auto& place : layout::controls) {
        SendMessageW(control(place.control), WM_SETFONT, reinterpret_cast<WPARAM>(created), FALSE);
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
    m_font = created;
}

RECT Win32Window::pixelPlace(const layout::Place& place) const
{
    // By its edges, so that controls that meet at one size still meet at every other.
    const RECT twips = placeInWindow(place);
    return {pixels(twips.left), pixels(twips.top), pixels(twips.right), pixels(twips.bottom)};
}

RECT Win32Window::windowPlace(const layout::Place& place) const
{
    RECT where = pixelPlace(place);
    // A drop-down list's window reaches down to where its list drops; the box it shows closed
    // is its items' height.
    if (place.kind == layout::Kind::ComboBox) {
        where.bottom =
            where.top + (where.bottom - where.top) * static_cast<int>(layout::controls.size());
    }
    return where;
}

void Win32Window::setListHeight(HWND list, const layout::Place& place) const
{
    // The closed box's height, set through its items' height less its edges.
    constexpr int edges = 6;
    const RECT where = pixelPlace(place);
    SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), where.bottom - where.top - edges);
}

void Win32Window::placeControls() const
{
    for (const auto& place : layout::controls) {
        const HWND each = control(place.control);
        if (place.kind == layout::Kind::ComboBox) {
            setListHeight(each, place);
        }
        const RECT where = windowPlace(place);
        SetWindowPos(each, nullptr, where.left, where.top, where.right - where.left,
                     where.bottom - where.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const auto& [name, box] : m_hiddenNames) {
        const RECT where = pixelPlace(layout::of(box));
        SetWindowPos(name, nullptr, where.left, where.top, where.right - where.left,
                     where.bottom - where.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32Window::fitWindow() const
{
    const SIZE size = sizeAt(m_dpi, m_textScale);
    SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void Win32Window::followSettings()
{
    // Text size, the message font and the screen's room may all have changed; each is read again
    // and the window laid out anew where it stands, kept within the screen.
    const LOGFONTW font = messageFont(m_dpi);
    if (scaleAt(m_dpi) == m_textScale && font.lfHeight == m_fontHeight &&
        m_fontFace == faceName(font)) {
        return;
    }
    useDpi(m_dpi);
    fitWindow();
    RECT outer{};
    GetWindowRect(m_window, &outer);
    const RECT room = workArea(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST));
    const int left =
        std::max(room.left, std::min(outer.left, room.right - (outer.right - outer.left)));
    const int top =
        std::max(room.top, std::min(outer.top, room.bottom - (outer.bottom - outer.top)));
    SetWindowPos(m_window, nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void Win32Window::setIcons()
{
    // Drawn for the screen's resolution, and drawn anew when it changes.
    const auto load = [this](int metric) {
        const int size = GetSystemMetricsForDpi(metric, m_dpi);
        // The resource's own image of that size, not a larger one scaled down, and not shared,
        // so that a new resolution gets new images.
        return static_cast<HICON>(
            LoadImageW(m_instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    };
    const std::array<HICON, 2> icons{load(SM_CXICON), load(SM_CXSMICON)};
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons[0]));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons[1]));
    for (const HICON previous : m_icons) {
        if (previous != nullptr) {
            DestroyIcon(previous);
        }
    }
    m_icons = icons;
}

HWND Win32Window::control(Control control) const
{
    return m_controls.at(static_cast<std::size_t>(control));
}

void Win32Window::load()
{
    // Outside the dialog procedure, so a fault is caught here as it is there.
    try {
        m_form.load();
    } catch (...) {
        fail();
    }
}

void Win32Window::show(int showCommand)
{
    if (m_window == nullptr) {
        return;
    }
    // Centred in the room that the screen leaves for windows, on the screen the user started the
    // program from. Moved there first, so that a screen of another resolution lays it out anew
    // (WM_DPICHANGED) before it is centred at its final size.
    const HMONITOR screen = startingScreen();
    const RECT room = workArea(screen);
    if (MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST) != screen) {
        SetWindowPos(m_window, nullptr, room.left, room.top, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        followSettings();
    }
    // Sized and placed in one move.
    const SIZE size = sizeAt(m_dpi, m_textScale);
    SetWindowPos(m_window, nullptr, room.left + (room.right - room.left - size.cx) / 2,
                 room.top + (room.bottom - room.top - size.cy) / 2, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    setIcons();

    ShowWindow(m_window, showCommand);
    RedrawWindow(m_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

int Win32Window::run()
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            // Windows no longer delivers the window's messages: said, and ended.
            fail();
            return static_cast<int>(ExitCode::NoMessages);
        }
        if (m_window == nullptr || !IsDialogMessageW(m_window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void Win32Window::appendItem(Control list, std::u16string_view item)
{
    const std::u16string text(item);
    SendMessageW(control(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(text)));
}

void Win32Window::clearItems(Control list)
{
    SendMessageW(control(list), CB_RESETCONTENT, 0, 0);
}

std::u16string Win32Window::listText(Control list) const
{
    const HWND combo = control(list);
    const LRESULT entry = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (entry == CB_ERR) {
        return {};
    }
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(entry), 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(
        combo, CB_GETLBTEXT, static_cast<WPARAM>(entry), reinterpret_cast<LPARAM>(text.data()))));
    return fromWide(text);
}

std::u16string Win32Window::text(Control box) const
{
    return fromWide(windowText(control(box)));
}

void Win32Window::setText(Control box, std::u16string_view text)
{
    const std::u16string terminated(text);
    SetWindowTextW(control(box), wide(terminated));
    m_figuresWritten = m_figuresWritten || box == Control::Text2 || box == Control::Text3;
}

void Win32Window::setEnabled(Control control, bool enabled)
{
    EnableWindow(this->control(control), enabled ? TRUE : FALSE);
}

void Win32Window::select(Control option)
{
    CheckRadioButton(m_window, idOf(Control::Option2), idOf(Control::Option1), idOf(option));
    m_form.click(option);
}

void Win32Window::messageBox(std::u16string_view prompt, MessageStyle style,
                             std::u16string_view title)
{
    const std::u16string promptText(prompt);
    const std::u16string titleText(title);
    const UINT icon = style == MessageStyle::Exclamation ? MB_ICONEXCLAMATION : MB_ICONINFORMATION;
    MessageBoxW(m_window, wide(promptText), wide(titleText), MB_OK | icon);
}

void Win32Window::end()
{
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
}

conversions::NumberFormat Win32Window::numberFormat() const
{
    const conversions::NumberFormat plain;
    return {static_cast<char16_t>(firstUnit(LOCALE_SDECIMAL, plain.decimalPoint)),
            static_cast<char16_t>(firstUnit(LOCALE_STHOUSAND, plain.groupSeparator)),
            static_cast<char16_t>(firstUnit(LOCALE_SNEGATIVESIGN, plain.minusSign)),
            static_cast<char16_t>(firstUnit(LOCALE_SPOSITIVESIGN, plain.plusSign))};
}

void reportNoWindow(DWORD error)
{
    std::u16string prompt(noWindowMessage);
    prompt += u"\n\n";
    prompt += systemMessage(error);
    const std::u16string title(layout::caption);
    MessageBoxW(nullptr, wide(prompt), wide(title), MB_OK | MB_ICONERROR);
}

} // namespace orvanta
