// What a screen reader hears from the program on Windows: a UI Automation client in a process of
// its own, as NVDA or Narrator is. It starts the program, reads its window through UI Automation
// and drives it with real key presses, as a blind user does: the list, Tab from control to
// control, Enter, a typed speed, the warning and the About boxes, and Exit.
//
// It uses UIA's flat client functions (UiaNodeFromHandle, UiaNavigate, UiaGetPropertyValue):
// Wine serves those, but not the COM client's tree walkers or patterns.
//
// Usage: uia_client PATH_TO_PROGRAM

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <uiautomation.h>
#include <utility>
#include <vector>
#include <windows.h>

namespace {

using namespace std::chrono_literals;

struct Failure : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

std::string utf8(const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

void print(const std::wstring& line)
{
    std::fputs((utf8(line) + '\n').c_str(), stdout);
    std::fflush(stdout);
}

[[noreturn]] void fail(const std::wstring& what)
{
    throw Failure(utf8(what));
}

void check(bool condition, const std::wstring& what)
{
    if (!condition) {
        fail(what);
    }
    print(L"ok - " + what);
}

// Polls until probe() gives a true value, for at most ten seconds; fails naming what it waited
// for.
template <typename Probe> auto waitFor(const std::wstring& what, Probe probe)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    for (;;) {
        if (auto value = probe()) {
            return value;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            fail(L"gave up waiting for " + what);
        }
        std::this_thread::sleep_for(20ms);
    }
}

// A property's value, released when it goes.
class Variant
{
public:
    Variant() { VariantInit(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&m_value); }
    VARIANT* get() { return &m_value; }
    const VARIANT* operator->() const { return &m_value; }

private:
    VARIANT m_value;
};

// One element of the tree: a node of UIA's, released when it goes.
class Node
{
public:
    explicit Node(HUIANODE node) : m_node(node) {}
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    Node(Node&& other) noexcept : m_node(std::exchange(other.m_node, nullptr)) {}
    Node& operator=(Node&& other) noexcept
    {
        std::swap(m_node, other.m_node);
        return *this;
    }
    ~Node()
    {
        if (m_node) {
            UiaNodeRelease(m_node);
        }
    }

    static Node fromWindow(HWND window)
    {
        HUIANODE node = nullptr;
        if (FAILED(UiaNodeFromHandle(window, &node)) || !node) {
            fail(L"no UI Automation node for a window of the program");
        }
        return Node(node);
    }

    // The elements directly below, in the provider's order.
    std::vector<Node> children() const
    {
        std::vector<Node> found;
        for (auto next = navigate(m_node, NavigateDirection_FirstChild); next;
             next = navigate(found.back().m_node, NavigateDirection_NextSibling)) {
            found.push_back(std::move(*next));
        }
        return found;
    }

    // A property the provider serves, or nothing where it, or the UIA core, serves none.
    std::optional<std::wstring> text(PROPERTYID property) const
    {
        Variant value;
        if (FAILED(UiaGetPropertyValue(m_node, property, value.get())) || value->vt != VT_BSTR) {
            return std::nullopt;
        }
        return std::wstring(value->bstrVal, SysStringLen(value->bstrVal));
    }

    bool flag(PROPERTYID property) const
    {
        Variant value;
        return SUCCEEDED(UiaGetPropertyValue(m_node, property, value.get())) &&
               value->vt == VT_BOOL && value->boolVal != VARIANT_FALSE;
    }

    std::wstring name() const { return text(UIA_NamePropertyId).value_or(std::wstring()); }

    std::wstring type() const
    {
        Variant value;
        if (FAILED(UiaGetPropertyValue(m_node, UIA_ControlTypePropertyId, value.get())) ||
            value->vt != VT_I4) {
            return L"(no type)";
        }
        switch (value->lVal) {
        case UIA_WindowControlTypeId:
            return L"Window";
        case UIA_GroupControlTypeId:
            return L"Group";
        case UIA_RadioButtonControlTypeId:
            return L"RadioButton";
        case UIA_ComboBoxControlTypeId:
            return L"ComboBox";
        case UIA_EditControlTypeId:
            return L"Edit";
        case UIA_TextControlTypeId:
            return L"Text";
        case UIA_ButtonControlTypeId:
            return L"Button";
        case UIA_ListControlTypeId:
            return L"List";
        case UIA_ListItemControlTypeId:
            return L"ListItem";
        case UIA_TitleBarControlTypeId:
            return L"TitleBar";
        case UIA_PaneControlTypeId:
            return L"Pane";
        case UIA_ImageControlTypeId:
            return L"Image";
        default:
            return L"type " + std::to_wstring(value->lVal);
        }
    }

private:
    static std::optional<Node> navigate(HUIANODE from, NavigateDirection direction)
    {
        UiaCondition everything{ConditionType_True};
        UiaCacheRequest request{};
        request.pViewCondition = &everything;
        request.Scope = TreeScope_Element;
        request.automationElementMode = AutomationElementMode_Full;
        SAFEARRAY* data = nullptr;
        BSTR structure = nullptr;
        std::optional<Node> found;
        if (SUCCEEDED(UiaNavigate(from, direction, &everything, &request, &data, &structure)) &&
            data) {
            // One row per element found, its first column the node itself.
            LONG index[2]{0, 0};
            Variant element;
            HUIANODE node = nullptr;
            if (SUCCEEDED(SafeArrayGetElement(data, index, element.get())) &&
                SUCCEEDED(UiaHUiaNodeFromVariant(element.get(), &node))) {
                // The copy's reference and the array's go with them; the node keeps its own.
                element->punkVal->AddRef();
                found.emplace(node);
            }
            SafeArrayDestroy(data);
        }
        SysFreeString(structure);
        return found;
    }

    HUIANODE m_node;
};

// An element as a screen reader learns it, read once.
struct Element
{
    int depth = 0;
    std::wstring name;
    std::wstring announced; // its control type and name, as a screen reader announces it
    std::optional<std::wstring> value;
    bool readOnly = false;
    bool focusable = false;
    bool focused = false;
    bool offscreen = false;

    Element(const Node& node, int depth)
        : depth(depth), name(node.name()), announced(node.type() + L" \"" + name + L"\""),
          value(node.text(UIA_ValueValuePropertyId)),
          readOnly(node.flag(UIA_ValueIsReadOnlyPropertyId)),
          focusable(node.flag(UIA_IsKeyboardFocusablePropertyId)),
          focused(node.flag(UIA_HasKeyboardFocusPropertyId)),
          offscreen(node.flag(UIA_IsOffscreenPropertyId))
    {}

    std::wstring described() const
    {
        std::wstring line = std::wstring(static_cast<std::size_t>(depth) * 2 + 2, L' ') + announced;
        if (value) {
            line += L", value \"" + *value + L"\"";
        }
        line += readOnly ? L", read-only" : L"";
        return line + (focused ? L", focused" : focusable ? L", focusable" : L"");
    }
};

void collect(const Node& node, int depth, std::vector<Element>& into)
{
    into.emplace_back(node, depth);
    for (const auto& child : node.children()) {
        collect(child, depth + 1, into);
    }
}

// The window's elements, depth first.
std::vector<Element> tree(HWND window)
{
    std::vector<Element> elements;
    collect(Node::fromWindow(window), 0, elements);
    return elements;
}

void printTree(const std::vector<Element>& elements)
{
    for (const auto& element : elements) {
        print(element.described());
    }
}

// The one element announced so, which must exist.
const Element& find(const std::vector<Element>& elements, const std::wstring& announced)
{
    const Element* found = nullptr;
    for (const auto& element : elements) {
        if (element.announced == announced) {
            if (found) {
                fail(L"two elements are announced as " + announced);
            }
            found = &element;
        }
    }
    if (!found) {
        fail(L"no element is announced as " + announced);
    }
    return *found;
}

// The control with the keyboard focus: the innermost element that says it has it, since the
// window around it says so too.
std::wstring focused(HWND window)
{
    std::wstring found;
    for (const auto& element : tree(window)) {
        if (element.focused) {
            found = element.announced;
        }
    }
    return found;
}

// The program under test, ended when the client is, whatever happens.
class Program
{
public:
    explicit Program(const std::wstring& path)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + path + L"\"";
        if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &m_process)) {
            fail(L"could not start " + path);
        }
        CloseHandle(m_process.hThread);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program()
    {
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 1);
        }
        CloseHandle(m_process.hProcess);
    }

    // Its visible top-level window titled so, other than `besides`, once there is one.
    HWND window(const std::wstring& title, HWND besides = nullptr) const
    {
        return waitFor(L"a window titled " + title, [&] {
            struct Search
            {
                DWORD process;
                HWND besides;
                HWND found;
            } search{m_process.dwProcessId, besides, nullptr};
            EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto* search = reinterpret_cast<Search*>(data);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == search->process && window != search->besides &&
                        IsWindowVisible(window)) {
                        search->found = window;
                    }
                    return search->found == nullptr;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found;
        });
    }

    DWORD exitCode() const
    {
        if (WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0) {
            fail(L"the program still runs ten seconds after Exit");
        }
        DWORD code = 0;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_process{};
};

// A key pressed and let go, as the keyboard sends it to the window that has the focus, and given
// the time a person takes to the next key.
void press(WORD key)
{
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    std::this_thread::sleep_for(150ms);
}

void type(const std::wstring& digits)
{
    for (const wchar_t digit : digits) {
        press(static_cast<WORD>(digit));
    }
}

// Tab, after which the element announced so has the keyboard focus.
void tabTo(HWND window, const std::wstring& expected)
{
    press(VK_TAB);
    std::wstring last;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while ((last = focused(window)) != expected) {
        if (std::chrono::steady_clock::now() > deadline) {
            fail(L"Tab moved the focus to " + last + L", not to " + expected);
        }
    }
}

// Where the UIA core hands a value on, it must be this; Wine 10's hands on none.
void checkValue(const Element& element, const std::wstring& expected)
{
    if (element.value) {
        check(*element.value == expected, element.announced + L" has the value \"" + expected +
                                              L"\", not \"" + *element.value + L"\"");
    } else {
        print(L"skip - the UI Automation core hands on no value of " + element.announced);
    }
}

// A message box opens over the window: its title and its text are there to be read, and Enter
// closes it.
void readMessageBox(const Program& program, HWND window, const std::wstring& text)
{
    const HWND box = program.window(L"the message box", window);
    const auto elements = tree(box);
    print(L"  message box:");
    printTree(elements);
    check(elements.front().announced == L"Window \"Orvanta\"",
          L"the message box is announced as the window Orvanta");
    find(elements, L"Text \"" + text + L"\"");
    print(L"ok - the message box reads \"" + text + L"\"");
    press(VK_RETURN);
    waitFor(L"the message box to close", [&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

const std::wstring speedList = L"ComboBox \"Επιλέξτε ταχύτητα σύνδεσης:\"";
const std::wstring listOption = L"RadioButton \"Επιλέξτε ταχύτητα σύνδεσης:\"";
const std::wstring speedBox = L"Edit \"Εισάγετε ταχύτητα σύνδεσης:\"";
const std::wstring download = L"Edit \"Download:\"";
const std::wstring upload = L"Edit \"Upload:\"";
const std::wstring calculate = L"Button \"Υπολογισμός\"";
const std::wstring about = L"Button \"Περί...\"";
const std::wstring exitButton = L"Button \"Έξοδος\"";

// Enter presses Calculate; the figures then shown.
std::vector<Element> calculated(HWND window)
{
    press(VK_RETURN);
    std::this_thread::sleep_for(300ms);
    return tree(window);
}

void run(const std::wstring& path)
{
    const Program program(path);
    const HWND window = program.window(L"Orvanta");
    waitFor(L"the focus in the list", [&] { return focused(window) == speedList; });
    const auto opened = tree(window);
    print(L"  the window as it opens:");
    printTree(opened);
    for (const auto& announced :
         {std::wstring(L"Window \"Orvanta\""), std::wstring(L"Group \"Ταχύτητα σύνδεσης:\""),
          std::wstring(L"Group \"Υπολογισμός\""), listOption,
          std::wstring(L"RadioButton \"Εισάγετε ταχύτητα σύνδεσης:\""), speedList, speedBox,
          std::wstring(L"Text \"Download:\""), std::wstring(L"Text \"Upload:\""), download, upload,
          calculate, about, exitButton}) {
        find(opened, announced);
    }
    print(L"ok - every control is announced by its type and its Greek caption");
    for (const auto& element : opened) {
        if (element.focusable && !element.offscreen && element.name.empty()) {
            fail(L"a control that takes the focus has no name:" + element.described());
        }
    }
    print(L"ok - every control that takes the focus has a name");
    check(find(opened, download).readOnly && find(opened, upload).readOnly,
          L"the result boxes are read-only");

    // "DSL 512kbps" is six steps down the list.
    for (int step = 0; step < 6; ++step) {
        press(VK_DOWN);
    }
    const auto fromList = calculated(window);
    print(L"  after DSL 512kbps and Enter:");
    printTree(fromList);
    checkValue(find(fromList, speedList), L"DSL 512kbps");
    checkValue(find(fromList, download), L"64 Kbps");
    checkValue(find(fromList, upload), L"16 Kbps");

    for (const auto& next :
         {listOption, download, upload, calculate, about, exitButton, speedList}) {
        tabTo(window, next);
    }
    print(L"ok - Tab moves the focus in the tab order, round to the list");

    // Down on the list's option chooses the typed speed; with none typed, Calculate warns.
    tabTo(window, listOption);
    press(VK_DOWN);
    press(VK_RETURN);
    readMessageBox(program, window, L"Εισάγεται μια τιμή ή επιλέξτε μια από την λίστα");
    tabTo(window, speedBox);
    type(L"1024");
    const auto typed = tree(window);
    check(!find(typed, speedBox).readOnly, L"the speed box takes a typed speed");
    checkValue(find(typed, speedBox), L"1024");
    const auto fromTyped = calculated(window);
    checkValue(find(fromTyped, download), L"128 Kbps");
    checkValue(find(fromTyped, upload), L"32 Kbps");

    for (const auto& next : {download, upload, calculate, about}) {
        tabTo(window, next);
    }
    press(VK_RETURN);
    for (const auto* text :
         {L"Orvanta v1.0", L"© 2026 Η ομάδα του Orvanta. Με την επιφύλαξη παντός δικαιώματος.",
          L"E-mail επικοινωνίας: orvanta@example.org"}) {
        readMessageBox(program, window, text);
    }

    tabTo(window, exitButton);
    press(VK_SPACE);
    check(program.exitCode() == 0, L"Space on Exit ends the program with exit code 0");
}

} // namespace
int wmain(int argc, wchar_t* argv[])
{
    // UTF-8 as it is, with Unix line ends: the test runner reads a pipe, not a console.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 2) {
        std::fputs("usage: uia_client PATH_TO_PROGRAM\n", stderr);
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    int status = 0;
    try {
        run(argv[1]);
        print(L"uia: all checks passed");
    } catch (const Failure& failure) {
        std::fprintf(stderr, "FAILED - %s\n", failure.what());
        status = 1;
    }
    CoUninitialize();
    return status;
}
