// Orvanta.exe as Windows shows it to any other program, checked from outside, in a process of its
// own. First what a screen reader reads it from: the window's controls in their order (which is
// Tab's, and which gives a box the name of the static text before it), their classes, captions,
// places and styles, the option group, the default button, and the hidden names of the list and
// the speed box, there as the window first appears. Then the window following a change of Text
// size while it runs; the access keys, each pressed; the message boxes, read as they open (the
// warning, the report of a speed that is no number, About's three) and the result boxes read
// aloud after Calculate, as live regions. Last Exit, by a click and by its access key, which
// must end the program with code 0.
//
// Usage: orvanta_structure_check PATH_TO_Orvanta.exe

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <oleacc.h>
#include <string>
#include <utility>
#include <vector>

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
    bool shown = true;
};

// Topmost first, as GetWindow walks them: Tab's order, and each label before its box. In the
// group of options only the selected one is a tab stop, as Windows keeps it: the arrow keys move
// between them. The list and the speed box are named by a static text never shown, before each.
const std::vector<Expected> expected{
    {L"the list's hidden name",
     L"Static",
     L"Επιλέξτε ταχύτητα σύνδεσης:",
     SS_LEFT,
     false,
     true,
     {200, 32, 345, 53},
     false},
    {L"Combo1", L"ComboBox", L"", CBS_DROPDOWNLIST, true, true, {200, 32, 345, 53}},
    {L"Frame1", L"Button", L"Ταχύτητα σύνδεσης:", BS_GROUPBOX, false, true, {8, 8, 353, 113}},
    {L"Option1",
     L"Button",
     L"Επι&λέξτε ταχύτητα σύνδεσης:",
     BS_RADIOBUTTON,
     true,
     true,
     {16, 32, 193, 57}},
    {L"Option2",
     L"Button",
     L"Ε&ισάγετε ταχύτητα σύνδεσης:",
     BS_RADIOBUTTON,
     false,
     false,
     {16, 72, 201, 105}},
    {L"the speed box's hidden name",
     L"Static",
     L"Εισάγετε ταχύτητα σύνδεσης:",
     SS_LEFT,
     false,
     true,
     {200, 72, 345, 97},
     false},
    {L"Text1", L"Edit", L"", 0, true, true, {200, 72, 345, 97}},
    {L"Frame2", L"Button", L"Υπολογισμός", BS_GROUPBOX, false, true, {8, 120, 353, 201}},
    {L"Label1", L"Static", L"&Download:", SS_LEFT, false, true, {16, 136, 73, 169}},
    {L"Text2", L"Edit", L"", 0, true, true, {88, 136, 233, 155}},
    {L"Label2", L"Static", L"&Upload:", SS_LEFT, false, true, {16, 168, 57, 193}},
    {L"Text3", L"Edit", L"", 0, true, true, {88, 168, 233, 187}},
    {L"Command1", L"Button", L"Υπολο&γισμός", BS_DEFPUSHBUTTON, true, true, {240, 136, 345, 185}},
    {L"Command2", L"Button", L"Πε&ρί...", BS_PUSHBUTTON, true, true, {8, 208, 177, 233}},
    {L"Command3", L"Button", L"Έ&ξοδος", BS_PUSHBUTTON, true, true, {184, 208, 353, 233}},
};

// Where each control stands in that order.
enum Child : std::size_t
{
    listName,
    list,
    frame1,
    listOption,
    typedOption,
    speedName,
    speed,
    frame2,
    downloadLabel,
    download,
    uploadLabel,
    upload,
    calculate,
    about,
    exitButton,
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
        const std::wstring name = L"control " + std::to_wstring(i + 1) + L" (" + want.name + L")";
        check(classOf(child) == want.className,
              name + L" is a " + want.className + L", found " + classOf(child));
        check(text(child) == want.caption, name + L" reads its caption");
        const LONG kindMask = want.className == std::wstring(L"ComboBox") ? 0x3 : 0xF;
        check((style & kindMask) == want.kind, name + L" is the right kind of its class");
        check(((style & WS_TABSTOP) != 0) == want.tabStop, name + L": Tab stops there or not");
        check(((style & WS_GROUP) != 0) == want.group, name + L": starts a group or not");
        check(((style & WS_VISIBLE) != 0) == want.shown, name + L" is shown or not");
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
    check(!readOnly(children[speed]) && readOnly(children[download]) && readOnly(children[upload]),
          L"the result boxes are read-only, the speed box is not");
    check(IsWindowEnabled(children[list]) && !IsWindowEnabled(children[speed]),
          L"in list mode the list is enabled and the speed box is not");
    check(SendMessageW(children[listOption], BM_GETCHECK, 0, 0) == BST_CHECKED &&
              SendMessageW(children[typedOption], BM_GETCHECK, 0, 0) == BST_UNCHECKED,
          L"the first option is selected");
    check(SendMessageW(children[list], CB_GETCOUNT, 0, 0) == 9 &&
              SendMessageW(children[list], CB_GETCURSEL, 0, 0) == CB_ERR,
          L"the list holds nine entries and none is chosen");
    const LRESULT defaultId = SendMessageW(window, DM_GETDEFID, 0, 0);
    check(HIWORD(defaultId) == DC_HASDEFID &&
              static_cast<int>(LOWORD(defaultId)) == GetDlgCtrlID(children[calculate]),
          L"Calculate is the default button");

    // Tab from the list visits the enabled controls that take it, in their order.
    std::vector<HWND> tabs{children[list]};
    for (HWND next = GetNextDlgTabItem(window, children[list], FALSE);
         next != nullptr && next != children[list] && tabs.size() < 20;
         next = GetNextDlgTabItem(window, next, FALSE)) {
        tabs.push_back(next);
    }
    const std::vector<HWND> tabOrder{children[list],      children[listOption], children[download],
                                     children[upload],    children[calculate],  children[about],
                                     children[exitButton]};
    check(tabs == tabOrder,
          L"Tab goes list, selected option, result boxes, Calculate, About, Exit");

    // The names screen readers are given for the boxes without a label of their own, where the
    // system lets one program read another's.
    IAccessible* accessible = nullptr;
    const HRESULT got =
        AccessibleObjectFromWindow(children[list], static_cast<DWORD>(OBJID_CLIENT),
                                   IID_IAccessible, reinterpret_cast<void**>(&accessible));
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

// The window's controls, topmost first.
HWND child(HWND window, std::size_t index)
{
    HWND each = GetWindow(window, GW_CHILD);
    for (std::size_t i = 0; i < index && each != nullptr; ++i) {
        each = GetWindow(each, GW_HWNDNEXT);
    }
    return each;
}

// A static text right before a box, never shown, names it for screen readers: there already
// when the window is first seen, with the caption of the option beside the box.
void checkHiddenNames(HWND window)
{
    const std::vector<std::pair<Child, const wchar_t*>> named{
        {list, L"Επιλέξτε ταχύτητα σύνδεσης:"}, {speed, L"Εισάγετε ταχύτητα σύνδεσης:"}};
    for (const auto& [box, name] : named) {
        const HWND before = GetWindow(child(window, box), GW_HWNDPREV);
        check(before != nullptr && classOf(before) == L"Static" && text(before) == name &&
                  IsWindowVisible(before) == FALSE,
              std::wstring(L"as the window appears, a hidden static text names its box ") + name);
    }
}

// The live-region events that the program raises, and for which window each.
std::vector<HWND> liveRegionEvents;

void CALLBACK onLiveRegion(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND window, LONG object,
                           LONG /*child*/, DWORD /*thread*/, DWORD /*time*/)
{
    if (object == OBJID_CLIENT) {
        liveRegionEvents.push_back(window);
    }
}

// Lets Windows deliver the events of the other process for a while.
void pumpFor(DWORD milliseconds)
{
    const ULONGLONG until = GetTickCount64() + milliseconds;
    MSG message{};
    while (GetTickCount64() < until) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// Presses a button as a click would, and gives the window time to answer and its events time to
// arrive.
void press(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
    pumpFor(200);
}

HWND focusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Alt and a letter, as the keyboard gives it to the window: the dialog manager finds the control
// whose caption marks that letter.
void pressAccessKey(HWND window, wchar_t letter)
{
    constexpr LPARAM altDown = LPARAM{1} << 29;
    PostMessageW(window, WM_SYSCHAR, letter, altDown);
    pumpFor(200);
}

// Windows' Text size, as the Settings page keeps it; then the broadcast that tells every window.
constexpr const wchar_t* accessibilityKey = L"Software\\Microsoft\\Accessibility";

void setTextSize(const DWORD* percent)
{
    if (percent != nullptr) {
        RegSetKeyValueW(HKEY_CURRENT_USER, accessibilityKey, L"TextScaleFactor", REG_DWORD, percent,
                        sizeof(*percent));
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, accessibilityKey, L"TextScaleFactor");
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>(L"WindowMetrics"), SMTO_ABORTIFHUNG, 5000,
                        &result);
}

bool clientBecomes(HWND window, LONG width, LONG height)
{
    for (int tries = 0; tries < 100; ++tries) {
        RECT client{};
        GetClientRect(window, &client);
        if (client.right == width && client.bottom == height) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

// A change of Text size while the window is open reaches it: it grows, and shrinks back.
void checkTextSizeFollowed(HWND window)
{
    DWORD before = 0;
    DWORD size = sizeof(before);
    const bool had = RegGetValueW(HKEY_CURRENT_USER, accessibilityKey, L"TextScaleFactor",
                                  RRF_RT_REG_DWORD, nullptr, &before, &size) == ERROR_SUCCESS;
    const DWORD larger = 150;
    setTextSize(&larger);
    check(clientBecomes(window, 545, 362), L"Text size set to 150 % while it runs: 545 x 362");
    setTextSize(had ? &before : nullptr);
    check(clientBecomes(window, 363, 241), L"Text size back to 100 %: 363 x 241 again");
}

// Every access key, pressed: where the focus goes, or what runs.
void checkAccessKeys(DWORD process, HWND window)
{
    pressAccessKey(window, L'ι');
    check(SendMessageW(child(window, typedOption), BM_GETCHECK, 0, 0) == BST_CHECKED &&
              IsWindowEnabled(child(window, speed)) != FALSE &&
              focusOf(window) == child(window, typedOption),
          L"Alt+ι selects the typed option and takes the focus there");
    pressAccessKey(window, L'λ');
    check(SendMessageW(child(window, listOption), BM_GETCHECK, 0, 0) == BST_CHECKED &&
              IsWindowEnabled(child(window, speed)) == FALSE &&
              focusOf(window) == child(window, listOption),
          L"Alt+λ selects the list option and takes the focus there");
    pressAccessKey(window, L'd');
    check(focusOf(window) == child(window, download), L"Alt+D takes the focus to the download box");
    pressAccessKey(window, L'u');
    check(focusOf(window) == child(window, upload), L"Alt+U takes the focus to the upload box");
    pressAccessKey(window, L'γ');
    check(answerBox(process, window, L"Alt+γ with no speed") ==
              L"Εισάγεται μια τιμή ή επιλέξτε μια από την λίστα",
          L"Alt+γ runs Calculate");
    pressAccessKey(window, L'ρ');
    for (int box = 1; box <= 3; ++box) {
        check(!answerBox(process, window, L"Alt+ρ").empty(),
              L"Alt+ρ runs About: box " + std::to_wstring(box));
    }
}

void checkBoxes(DWORD process, HWND window)
{
    const HWND typedOptionButton = child(window, typedOption);
    const HWND speedBox = child(window, speed);
    const HWND downloadBox = child(window, download);
    const HWND uploadBox = child(window, upload);
    const HWND calculateButton = child(window, calculate);

    liveRegionEvents.clear();
    press(calculateButton);
    check(answerBox(process, window, L"Calculate with no speed") ==
              L"Εισάγεται μια τιμή ή επιλέξτε μια από την λίστα",
          L"Calculate with no speed asks for one");
    check(text(downloadBox).empty() && text(uploadBox).empty(),
          L"the warning leaves the boxes empty");
    check(liveRegionEvents.empty(), L"the warning reads no figure aloud");

    press(typedOptionButton);
    check(IsWindowEnabled(speedBox) != FALSE, L"the typed option enables the speed box");
    SendMessageW(speedBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"512"));
    press(calculateButton);
    check(text(downloadBox) == L"64 Kbps" && text(uploadBox) == L"16 Kbps",
          L"512 kbps gives 64 Kbps and 16 Kbps");
    check(liveRegionEvents == std::vector<HWND>{downloadBox, uploadBox},
          L"the two figures are read aloud, once each: live-region events for the two boxes");
    liveRegionEvents.clear();
    SendMessageW(speedBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    press(calculateButton);
    check(answerBox(process, window, L"a speed that is no number") ==
              L"Η ταχύτητα που δώσατε δεν είναι αριθμός. Γράψτε έναν αριθμό σε kbps, π.χ. 512.",
          L"a speed that is no number is reported in Greek");
    check(text(speedBox) == L"abc" && text(downloadBox) == L"64 Kbps" &&
              text(uploadBox) == L"16 Kbps",
          L"the report loses nothing: the speed as typed, the figures as they were");
    check(liveRegionEvents.empty(), L"the report reads no figure aloud");

    press(child(window, about));
    const std::vector<std::wstring> aboutPrompts{
        L"Orvanta v1.0", L"© 2026 Η ομάδα του Orvanta. Με την επιφύλαξη παντός δικαιώματος.",
        L"E-mail επικοινωνίας: orvanta@example.org"};
    for (std::size_t i = 0; i < aboutPrompts.size(); ++i) {
        const std::wstring what = L"About, box " + std::to_wstring(i + 1);
        check(answerBox(process, window, what) == aboutPrompts[i], what + L" says what it should");
    }
    Sleep(200);
    check(openBoxes(process, window).empty(), L"About shows three boxes and no more");

    press(child(window, exitButton));
}

struct Program
{
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

Program start(const wchar_t* path)
{
    std::wstring command = L"\"" + std::wstring(path) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    Program program;
    if (CreateProcessW(path, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &program.process) == FALSE) {
        std::fwprintf(stderr, L"could not start %ls\n", path);
        std::exit(1);
    }
    program.window = waitForWindow(program.process.dwProcessId);
    check(program.window != nullptr, L"the window opens within 15 seconds");
    return program;
}

void checkEnded(Program& program, const std::wstring& how)
{
    const bool ended = WaitForSingleObject(program.process.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(program.process.hProcess, &code);
    check(ended && code == 0, how + L" ends the program with exit code 0");
    if (!ended) {
        TerminateProcess(program.process.hProcess, 1);
    }
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: orvanta_structure_check PATH_TO_Orvanta.exe\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Program program = start(argv[1]);
    if (program.window != nullptr) {
        checkHiddenNames(program.window);
        const HWINEVENTHOOK hook =
            SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                            onLiveRegion, program.process.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
        check(hook != nullptr, L"the live-region events can be watched");
        checkControls(program.window);
        checkTextSizeFollowed(program.window);
        checkAccessKeys(program.process.dwProcessId, program.window);
        checkBoxes(program.process.dwProcessId, program.window);
        UnhookWinEvent(hook);
    }
    checkEnded(program, L"Exit");

    program = start(argv[1]);
    if (program.window != nullptr) {
        pressAccessKey(program.window, L'ξ');
    }
    checkEnded(program, L"Alt+ξ");
    CoUninitialize();
    std::wprintf(L"%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
