// Orvanta.exe as Windows shows it to any other program, checked from outside, in a process of its
// own. First what a screen reader reads it from: the window's controls in their order (which is
// Tab's, and which gives a box the name of the label before it), their classes, captions, places
// and styles, the option group, the default button, and the names that the window gives the list
// and the speed box. Then the message boxes, read as they open: the warning, the report of a
// speed that is no number, About's three; last Exit, which must end the program with code 0.
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
    const wchar_t* name;
    const wchar_t* className;
    const wchar_t* caption;
    LONG kind; // the low bits of the style that say what kind of control it is
    bool tabStop;
    bool group;
    RECT place; // left, top, right, bottom in the client area, at 100 %
};

// Topmost first, as GetWindow walks them: Tab's order, and each label before its box. In the
// group of options only the selected one is a tab stop, as Windows keeps it: the arrow keys move
// between them.
const std::vector<Expected> expected{
    {L"Combo1", L"ComboBox", L"", CBS_DROPDOWNLIST, true, true, {200, 32, 345, 53}},
    {L"Frame1", L"Button", L"Ταχύτητα σύνδεσης:", BS_GROUPBOX, false, true, {8, 8, 353, 113}},
    {L"Option1",
     L"Button",
     L"Επιλέξτε ταχύτητα σύνδεσης:",
     BS_RADIOBUTTON,
     true,
     true,
     {16, 32, 193, 57}},
    {L"Option2",
     L"Button",
     L"Εισάγετε ταχύτητα σύνδεσης:",
     BS_RADIOBUTTON,
     false,
     false,
     {16, 72, 201, 105}},
    {L"Text1", L"Edit", L"", 0, true, true, {200, 72, 345, 97}},
    {L"Frame2", L"Button", L"Υπολογισμός", BS_GROUPBOX, false, true, {8, 120, 353, 201}},
    {L"Label1", L"Static", L"Download:", SS_LEFT, false, true, {16, 136, 73, 169}},
    {L"Text2", L"Edit", L"", 0, true, true, {88, 136, 233, 155}},
    {L"Label2", L"Static", L"Upload:", SS_LEFT, false, true, {16, 168, 57, 193}},
    {L"Text3", L"Edit", L"", 0, true, true, {88, 168, 233, 187}},
    {L"Command1", L"Button", L"Υπολογισμός", BS_DEFPUSHBUTTON, true, true, {240, 136, 345, 185}},
    {L"Command2", L"Button", L"Περί...", BS_PUSHBUTTON, true, true, {8, 208, 177, 233}},
    {L"Command3", L"Button", L"Έξοδος", BS_PUSHBUTTON, true, true, {184, 208, 353, 233}},
};

// Asked of the control itself: GetWindowText gives only a window's caption across processes, not
// what a text box holds.
std::wstring text(HWND window)
{
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring value(static_cast<std::size_t>(length) + 1, L'\0');
    value.resize(
        static_cast<std::size_t>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(value.size()),
                                              reinterpret_cast<LPARAM>(value.data()))));
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
        check(text(child) == want.caption, name + L" reads its caption");
        const LONG kindMask = want.className == std::wstring(L"ComboBox") ? 0x3 : 0xF;
        check((style & kindMask) == want.kind, name + L" is the right kind of its class");
        check(((style & WS_TABSTOP) != 0) == want.tabStop, name + L": Tab stops there or not");
        check(((style & WS_GROUP) != 0) == want.group, name + L": starts a group or not");
        check((style & WS_VISIBLE) != 0, name + L" is visible");
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        check(EqualRect(&place, &want.place) != FALSE, name + L" lies where it should");
    }
    if (children.size() != expected.size()) {
        return;
    }
    RECT client{};
    GetClientRect(window, &client);
    check(client.right == 363 && client.bottom == 241, L"the window's client area is 363 x 241");
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
    const std::vector<HWND> tabOrder{children[0],  children[2],  children[7], children[9],
                                     children[10], children[11], children[12]};
    check(tabs == tabOrder,
          L"Tab goes list, selected option, result boxes, Calculate, About, Exit");

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

struct BoxSearch
{
    DWORD process;
    HWND window;
    std::vector<HWND> boxes;
};

BOOL CALLBACK collectBoxes(HWND candidate, LPARAM lParam)
{
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(candidate, &process);
    if (process == search->process && candidate != search->window && IsWindowVisible(candidate) &&
        classOf(candidate) == L"#32770") {
        search->boxes.push_back(candidate);
    }
    return TRUE;
}

// The message boxes the program has open.
std::vector<HWND> openBoxes(DWORD process, HWND window)
{
    BoxSearch search{process, window, {}};
    EnumWindows(collectBoxes, reinterpret_cast<LPARAM>(&search));
    return search.boxes;
}

HWND waitForBox(DWORD process, HWND window)
{
    for (int tries = 0; tries < 200; ++tries) {
        const auto boxes = openBoxes(process, window);
        if (!boxes.empty()) {
            return boxes.front();
        }
        Sleep(25);
    }
    return nullptr;
}

void waitUntilGone(HWND box)
{
    for (int tries = 0; tries < 200 && IsWindow(box) != FALSE; ++tries) {
        Sleep(25);
    }
}

// A message box's prompt is its static text with the identifier 0xFFFF.
constexpr int promptId = 0xFFFF;

// Presses a button as a click would, and gives the window time to answer.
void press(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
    Sleep(200);
}

// The one box that the last action opened: its prompt and title; then OK is pressed on it.
std::wstring answerBox(DWORD process, HWND window, const std::wstring& what)
{
    const HWND box = waitForBox(process, window);
    if (box == nullptr) {
        check(false, what + L": a message box opens");
        return {};
    }
    check(openBoxes(process, window).size() == 1, what + L": one box at a time");
    check(text(box) == L"Orvanta", what + L": the box is titled Orvanta");
    const std::wstring prompt = text(GetDlgItem(box, promptId));
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    waitUntilGone(box);
    check(IsWindow(box) == FALSE, what + L": OK closes the box");
    return prompt;
}

void checkBoxes(DWORD process, HWND window)
{
    const auto control = [window](int index) {
        HWND child = GetWindow(window, GW_CHILD);
        for (int i = 0; i < index && child != nullptr; ++i) {
            child = GetWindow(child, GW_HWNDNEXT);
        }
        return child;
    };
    const HWND typedOption = control(3);
    const HWND speed = control(4);
    const HWND download = control(7);
    const HWND upload = control(9);
    const HWND calculate = control(10);

    press(calculate);
    check(answerBox(process, window, L"Calculate with no speed") ==
              L"Εισάγεται μια τιμή ή επιλέξτε μια από την λίστα",
          L"Calculate with no speed asks for one");
    check(text(download).empty() && text(upload).empty(), L"the warning leaves the boxes empty");

    press(typedOption);
    check(IsWindowEnabled(speed) != FALSE, L"the typed option enables the speed box");
    SendMessageW(speed, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"512"));
    press(calculate);
    check(text(download) == L"64 Kbps" && text(upload) == L"16 Kbps",
          L"512 kbps gives 64 Kbps and 16 Kbps");
    SendMessageW(speed, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    press(calculate);
    check(answerBox(process, window, L"a speed that is no number") ==
              L"Η ταχύτητα που δώσατε δεν είναι αριθμός. Γράψτε έναν αριθμό σε kbps, π.χ. 512.",
          L"a speed that is no number is reported in Greek");
    check(text(speed) == L"abc" && text(download) == L"64 Kbps" && text(upload) == L"16 Kbps",
          L"the report loses nothing: the speed as typed, the figures as they were");

    press(control(11));
    const std::vector<std::wstring> about{
        L"Orvanta v1.0", L"© 2026 Η ομάδα του Orvanta. Με την επιφύλαξη παντός δικαιώματος.",
        L"E-mail επικοινωνίας: orvanta@example.org"};
    for (std::size_t i = 0; i < about.size(); ++i) {
        const std::wstring what = L"About, box " + std::to_wstring(i + 1);
        check(answerBox(process, window, what) == about[i], what + L" says what it should");
    }
    Sleep(200);
    check(openBoxes(process, window).empty(), L"About shows three boxes and no more");

    press(control(12));
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
        checkBoxes(program.dwProcessId, window);
    }
    const bool ended = WaitForSingleObject(program.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(program.hProcess, &code);
    check(ended && code == 0, L"Exit ends the program with exit code 0");
    if (!ended) {
        TerminateProcess(program.hProcess, 1);
    }
    CloseHandle(program.hThread);
    CloseHandle(program.hProcess);
    CoUninitialize();
    std::wprintf(L"%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
