#include "win32/win32_host.h"

#include "win32/text_scale.h"

#include <algorithm>
#include <cmath>
#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>
#include <string>
#include <vector>

namespace orvanta {

namespace {

// Posted once the window is shown, to name the controls for screen readers.
constexpr UINT nameControlsMessage = WM_APP;

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

// The order in which the controls are created, which is their order for Tab and for screen
// readers: by tab index, but a label just before the box it names, as Windows reads a box's
// name from the static text before it.
std::vector<const layout::Place*> creationOrder()
{
    std::vector<const layout::Place*> order;
    for (const auto& place : layout::controls) {
        if (place.kind != layout::Kind::Label) {
            order.push_back(&place);
        }
    }
    std::sort(order.begin(), order.end(),
              [](const auto* left, const auto* right) { return left->tabIndex < right->tabIndex; });
    for (const auto& place : layout::controls) {
        if (place.kind == layout::Kind::Label) {
            const auto box = std::find_if(order.begin(), order.end(), [&place](const auto* each) {
                return each->control == place.names;
            });
            order.insert(box, &place);
        }
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
        return {WC_STATICW, common | SS_LEFT | SS_NOPREFIX, 0};
    }
    return {WC_STATICW, common, 0};
}

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

NONCLIENTMETRICSW systemFonts(UINT dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi);
    return metrics;
}

double messageFontPoints(UINT dpi)
{
    const LONG height = systemFonts(dpi).lfMessageFont.lfHeight;
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

} // namespace

Win32Window::~Win32Window()
{
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
}

bool Win32Window::create()
{
    // A dialog with no controls of its own, so that the dialog manager runs the keyboard: Tab,
    // the arrow keys in the options, Enter for the default button. Fixed border, no minimise or
    // maximise box. The controls are placed in pixels, not in dialog units, once it exists.
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
    return created != nullptr;
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
    return self == nullptr ? FALSE : self->handle(message, wParam, lParam);
}

INT_PTR Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextW(m_window, wide(layout::caption));
        createControls();
        useDpi(GetDpiForWindow(m_window));
        // The focus is set when the window is shown.
        return FALSE;
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DPICHANGED: {
        useDpi(HIWORD(wParam));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    case nameControlsMessage:
        nameByOptions();
        return TRUE;
    case WM_CLOSE:
        // The close box ends the program without a question, as Exit does.
        end();
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        m_window = nullptr;
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32Window::createControls()
{
    for (const auto* place : creationOrder()) {
        const auto [className, style, extendedStyle] = classAndStyle(*place);
        const HWND created = CreateWindowExW(
            extendedStyle, className, wide(place->caption), style, 0, 0, 0, 0, m_window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(place->control))), m_instance,
            nullptr);
        m_controls.at(static_cast<std::size_t>(place->control)) = created;
        if (place->isDefault) {
            SendMessageW(m_window, DM_SETDEFID, static_cast<WPARAM>(idOf(place->control)), 0);
        }
    }
    // The list shows all its entries at once when it drops down.
    SendMessageW(control(Control::Combo1), CB_SETMINVISIBLE,
                 static_cast<WPARAM>(layout::controls.size()), 0);
}

void Win32Window::nameByOptions()
{
    // The list and the speed box have no label before them; the option beside each names it.
    // Windows gives a program this way to say so to screen readers (dynamic annotation), through
    // COM, which is loaded only now that the window is on screen, so as not to delay it.
    const HMODULE com = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (com == nullptr) {
        return;
    }
    auto* const initialize = procedure<decltype(CoInitializeEx)>(com, "CoInitializeEx");
    auto* const createInstance = procedure<decltype(CoCreateInstance)>(com, "CoCreateInstance");
    IAccPropServices* services = nullptr;
    if (initialize == nullptr || createInstance == nullptr ||
        FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) ||
        FAILED(createInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;
    }
    for (const auto& place : layout::controls) {
        if (place.namedBy != Control::Window) {
            const std::u16string name(layout::of(place.namedBy).caption);
            services->SetHwndPropStr(control(place.control), static_cast<DWORD>(OBJID_CLIENT),
                                     CHILDID_SELF, PROPID_ACC_NAME, wide(name));
        }
    }
    services->Release();
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
    case Control::Command2:
    case Control::Command3:
        m_form.click(clicked);
        break;
    default:
        // IDCANCEL, from Escape: the window has no cancel button, so Escape does nothing.
        break;
    }
}

int Win32Window::pixels(int twips) const
{
    return static_cast<int>(std::lround(twips * m_textScale * m_dpi /
                                        (layout::twipsPerPixel * USER_DEFAULT_SCREEN_DPI)));
}

void Win32Window::useDpi(UINT dpi)
{
    m_dpi = dpi;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE));
    const DWORD extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE));
    // Larger text needs a larger window, but one that the user can still see whole: past what
    // the screen holds, the text grows no further.
    m_textScale = 1.0;
    RECT frame{};
    AdjustWindowRectExForDpi(&frame, style, FALSE, extendedStyle, dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor);
    const Extent laidOut{pixels(layout::clientWidth), pixels(layout::clientHeight)};
    m_textScale = scaleThatFits(
        textScale(textSizePercent(), messageFontPoints(dpi)), laidOut,
        {frame.right - frame.left, frame.bottom - frame.top},
        {monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top});

    // Windows' message font, at the size the layout was made for, grown with the text.
    LOGFONTW font = systemFonts(dpi).lfMessageFont;
    font.lfHeight =
        -static_cast<LONG>(std::lround(layout::fontPoints * m_textScale * dpi / pointsPerInch));
    const HFONT previous = m_font;
    m_font = CreateFontIndirectW(&font);
    placeControls();
    if (previous != nullptr) {
        DeleteObject(previous);
    }
}

void Win32Window::placeControls()
{
    for (const auto& place : layout::controls) {
        const HWND each = control(place.control);
        SendMessageW(each, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        // By its edges, so that controls that meet at one size still meet at every other.
        const RECT twips = placeInWindow(place);
        const int left = pixels(twips.left);
        const int top = pixels(twips.top);
        int height = pixels(twips.bottom) - top;
        if (place.kind == layout::Kind::ComboBox) {
            // A drop-down list's height is that of its closed box, set through its items'
            // height less its edges; the window's own height is where the list drops to.
            constexpr int edges = 6;
            SendMessageW(each, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - edges);
            height *= static_cast<int>(layout::controls.size());
        }
        SetWindowPos(each, nullptr, left, top, pixels(twips.right) - left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE));
    const DWORD extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE));
    RECT outer{0, 0, pixels(layout::clientWidth), pixels(layout::clientHeight)};
    AdjustWindowRectExForDpi(&outer, style, FALSE, extendedStyle, m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND Win32Window::control(Control control) const
{
    return m_controls.at(static_cast<std::size_t>(control));
}

void Win32Window::load()
{
    m_form.load();
}

void Win32Window::show(int showCommand)
{
    // Centred in the room that the screen leaves for windows.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT outer{};
    GetWindowRect(m_window, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const RECT& room = monitor.rcWork;
    SetWindowPos(m_window, nullptr, room.left + (room.right - room.left - width) / 2,
                 room.top + (room.bottom - room.top - height) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);

    const auto icon = [this](int metric) {
        const int size = GetSystemMetricsForDpi(metric, m_dpi);
        return reinterpret_cast<LPARAM>(
            LoadImageW(m_instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_SHARED));
    };
    SendMessageW(m_window, WM_SETICON, ICON_BIG, icon(SM_CXICON));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON));

    ShowWindow(m_window, showCommand);
    SetFocus(control(Control::Combo1));
    // Painted at once, so that naming the controls, which loads COM, comes after the first view.
    RedrawWindow(m_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PostMessageW(m_window, nameControlsMessage, 0, 0);
}

int Win32Window::run(HWND window)
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsWindow(window) || !IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
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

} // namespace orvanta
