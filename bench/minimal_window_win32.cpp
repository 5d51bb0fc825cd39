// The least a Windows program can do to show Orvanta's window: Windows' own controls from the
// same layout table, at the same places in the same font, its list holding the same entries, in
// a dialog that the dialog manager runs; and nothing else: no handlers, no scaling for larger
// text, no names for screen readers. It is the yardstick that the benchmark holds Orvanta.exe's
// start-up time and memory against.

#include "core/layout.h"
#include "core/rate.h"

#include <windows.h>

#include <commctrl.h>

namespace layout = orvanta::layout;

namespace {

const wchar_t* wide(std::u16string_view text)
{
    return reinterpret_cast<const wchar_t*>(text.data());
}

const wchar_t* className(layout::Kind kind)
{
    switch (kind) {
    case layout::Kind::ComboBox:
        return WC_COMBOBOXW;
    case layout::Kind::TextBox:
        return WC_EDITW;
    case layout::Kind::Label:
        return WC_STATICW;
    default:
        return WC_BUTTONW;
    }
}

DWORD style(layout::Kind kind)
{
    switch (kind) {
    case layout::Kind::PushButton:
        return WS_TABSTOP | BS_PUSHBUTTON;
    case layout::Kind::ComboBox:
        return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    case layout::Kind::Frame:
        return BS_GROUPBOX;
    case layout::Kind::TextBox:
        return WS_TABSTOP | ES_AUTOHSCROLL;
    case layout::Kind::OptionButton:
        return WS_TABSTOP | BS_RADIOBUTTON;
    case layout::Kind::Label:
        return SS_LEFT;
    }
    return 0;
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (message == WM_CLOSE) {
        DestroyWindow(dialog);
        return TRUE;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand)
{
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    struct alignas(DWORD) Template
    {
        DLGTEMPLATE dialog;
        WORD menu;
        WORD windowClass;
        WORD title;
    };
    Template empty{};
    empty.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const HWND dialog =
        CreateDialogIndirectParamW(instance, &empty.dialog, nullptr, dialogProcedure, 0);
    SetWindowTextW(dialog, wide(layout::caption));
    const UINT dpi = GetDpiForWindow(dialog);
    const auto pixels = [dpi](int twips) {
        return MulDiv(twips, static_cast<int>(dpi), 1440);
    };
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi);
    metrics.lfMessageFont.lfHeight = -MulDiv(layout::fontPoints, static_cast<int>(dpi), 72);
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);

    HWND list = nullptr;
    for (const auto& place : layout::controls) {
        int left = place.left;
        int top = place.top;
        if (place.container != orvanta::Control::Window) {
            left += layout::of(place.container).left;
            top += layout::of(place.container).top;
        }
        const HWND control = CreateWindowExW(
            place.kind == layout::Kind::TextBox ? WS_EX_CLIENTEDGE : 0, className(place.kind),
            wide(place.caption), WS_CHILD | WS_VISIBLE | style(place.kind), pixels(left),
            pixels(top), pixels(place.width), pixels(place.height), dialog, nullptr, instance,
            nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (place.control == orvanta::Control::Combo1) {
            list = control;
        }
        if (place.control == orvanta::Control::Option1) {
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        }
        if (place.control == orvanta::Control::Text1) {
            EnableWindow(control, FALSE);
        }
    }
    for (const auto& connection : orvanta::rate::catalogue) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(connection.label)));
    }
    RECT outer{0, 0, pixels(layout::clientWidth), pixels(layout::clientHeight)};
    AdjustWindowRectExForDpi(&outer, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, 0, dpi);
    SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    // The focus before the window is shown, where the dialog manager gives it in a dialog made
    // from a template, so that keys typed as the window appears reach the list.
    SetFocus(list);
    ShowWindow(dialog, showCommand);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DeleteObject(font);
    return static_cast<int>(message.wParam);
}
