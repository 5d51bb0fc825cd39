// What a screen reader reads Orvanta.exe from, checked from outside, in a process of its own, as
// Windows shows it to any program: the window's controls in their order (which is Tab's, and
// which gives a box the name of the label before it), their classes, captions and styles, the
// option group, the default button, and the names that the window gives the list and the speed
// box. Then the window is closed as a user closes it, and the program must end with code 0.
//
// Usage: orvanta_structure_check PATH_TO_Orvanta.exe

#include <cstdio>
#include <oleacc.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

int passes = 0;
int failures = 0;

void check(bool condition, const std::wstring& what)
{
    std::wprintf(L"%ls - %ls\n", condition ? L"ok" : L"FAILED", what.c_str());
    ++(condition ? passes : failures);
}

struct Expected
{
    const wchar_t* className;
    const wchar_t* caption;
    LONG kind; // the low bits of the style that say what kind of control it is
    bool tabStop;
    bool group;
};

// Topmost first, as GetWindow walks them: Tab's order, and each label before its box.
const std::vector<Expected> expected{
    {L"ComboBox", L"", CBS_DROPDOWNLIST, true, true},
    {L"Button", L"Ταχύτητα σύνδεσης:", BS_GROUPBOX, false, true},
    {L"Button", L"Επιλέξτε ταχύτητα σύνδεσης:", BS_RADIOBUTTON, true, true},
    {L"Button", L"Εισάγετε ταχύτητα σύνδεσης:", BS_RADIOBUTTON, true, false},
    {L"Edit", L"", 0, true, true},
    {L"Button", L"Υπολογισμός", BS_GROUPBOX, false, true},
    {L"Static", L"Download:", SS_LEFT, false, true},
    {L"Edit", L"", 0, true, true},
    {L"Static", L"Upload:", SS_LEFT, false, true},
    {L"Edit", L"", 0, true, true},
    {L"Button", L"Υπολογισμός", BS_DEFPUSHBUTTON, true, true},
    {L"Button", L"Περί...", BS_PUSHBUTTON, true, true},
    {L"Button", L"Έξοδος", BS_PUSHBUTTON, true, true},
};

std::wstring text(HWND window)
{
    std::wstring value(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    value.resize(static_cast<std::size_t>(
        GetWindowTextW(window, value.data(), static_cast<int>(value.size()))));
    return value;
}

std::wstring classOf(HWND window)
{
    std::wstring name(64, L'\0');
    name.resize(static_cast<std::size_t>(
        GetClassNameW(window, name.data(), static_cast<int>(name.size()))));
    return name;
}

struct Search
{
    DWORD process;
    HWND found;
};

BOOL CALLBACK findWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window) && text(window) == L"Orvanta") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitForWindow(DWORD process)
{
    for (int tries = 0; tries < 300; ++tries) {
        Search search{process, nullptr};
        EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(50);
    }
    return nullptr;
}

void checkControls(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    check(children.size() == expected.size(),
          L"the window holds " + std::to_wstring(children.size()) + L" controls, expected " +
              std::to_wstring(expected.size()));
    for (std::size_t i = 0; i < children.size() && i < expected.size(); ++i) {
        const Expected& want = expected[i];
        const HWND child = children[i];
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const std::wstring name =
            L"control " + std::to_wstring(i + 1) + L" (" + want.caption + L")";
        check(classOf(child) == want.className,
              name + L" is a " + want.className + L", found " + classOf(child));
        check(text(child) == want.caption, name + L" reads \"" + text(child) + L"\"");
        const LONG kindMask = want.className == std::wstring(L"ComboBox") ? 0x3 : 0xF;
        check((style & kindMask) == want.kind, name + L" is the right kind of its class");
        check(((style & WS_TABSTOP) != 0) == want.tabStop, name + L": Tab stops there or not");
        check(((style & WS_GROUP) != 0) == want.group, name + L": starts a group or not");
        check((style & WS_VISIBLE) != 0, name + L" is visible");
    }
    if (children.size() != expected.size()) {
        return;
    }
    const auto readOnly = [](HWND box) {
        return (GetWindowLongW(box, GWL_STYLE) & ES_READONLY) != 0;
    };
    check(!readOnly(children[4]) && readOnly(children[7]) && readOnly(children[9]),
          L"the result boxes are read-only, the speed box is not");
    check(IsWindowEnabled(children[0]) && !IsWindowEnabled(children[4]),
          L"in list mode the list is enabled and the speed box is not");
    check(SendMessageW(children[2], BM_GETCHECK, 0, 0) == BST_CHECKED &&
              SendMessageW(children[3], BM_GETCHECK, 0, 0) == BST_UNCHECKED,
          L"the first option is selected");
    check(SendMessageW(children[0], CB_GETCOUNT, 0, 0) == 9 &&
              SendMessageW(children[0], CB_GETCURSEL, 0, 0) == CB_ERR,
          L"the list holds nine entries and none is chosen");
    const LRESULT defaultId = SendMessageW(window, DM_GETDEFID, 0, 0);
    check(HIWORD(defaultId) == DC_HASDEFID &&
              static_cast<int>(LOWORD(defaultId)) == GetDlgCtrlID(children[10]),
          L"Calculate is the default button");

    // Tab from the list visits the enabled controls that take it, in their order.
    std::vector<HWND> tabs{children[0]};
    for (HWND next = GetNextDlgTabItem(window, children[0], FALSE);
         next != nullptr && next != children[0] && tabs.size() < 20;
         next = GetNextDlgTabItem(window, next, FALSE)) {
        tabs.push_back(next);
    }
    const std::vector<HWND> tabOrder{children[0], children[2],  children[3],  children[7],
                                     children[9], children[10], children[11], children[12]};
    check(tabs == tabOrder, L"Tab goes list, options, result boxes, Calculate, About, Exit");

    // The names screen readers are given for the boxes without a label of their own, where the
    // system lets one program read another's.
    IAccessible* accessible = nullptr;
    const HRESULT got =
        AccessibleObjectFromWindow(children[0], static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&accessible));
    if (SUCCEEDED(got) && accessible != nullptr) {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        const bool named = SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr &&
                           std::wstring(name) == L"Επιλέξτε ταχύτητα σύνδεσης:";
        check(named, L"the list is named by the option beside it");
        SysFreeString(name);
        accessible->Release();
    } else {
        std::wprintf(L"skipped - the list's accessible name: this system gives no accessible "
                     L"object of another program's control (0x%08lx)\n",
                     static_cast<unsigned long>(got));
    }
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: orvanta_structure_check PATH_TO_Orvanta.exe\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION program{};
    if (CreateProcessW(argv[1], command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &program) == FALSE) {
        std::fwprintf(stderr, L"could not start %ls\n", argv[1]);
        return 1;
    }
    const HWND window = waitForWindow(program.dwProcessId);
    check(window != nullptr, L"the window opens within 15 seconds");
    if (window != nullptr) {
        checkControls(window);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(program.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(program.hProcess, &code);
    check(ended && code == 0, L"closing the window ends the program with exit code 0");
    if (!ended) {
        TerminateProcess(program.hProcess, 1);
    }
    CloseHandle(program.hThread);
    CloseHandle(program.hProcess);
    CoUninitialize();
    std::wprintf(L"%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
