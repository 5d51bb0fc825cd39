#include "win32/win32_host.h"

#include <commctrl.h>
#include <cstdlib>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand)
{
    // Windows' own controls in the version that the manifest asks for, drawn in the user's theme.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    orvanta::Win32Window window(instance);
    if (!window.create()) {
        orvanta::reportNoWindow(GetLastError());
        return static_cast<int>(orvanta::ExitCode::NoWindow);
    }
    window.load();
    window.show(showCommand);
    return window.run();
}

namespace __gnu_cxx {
// The run-time's own handler of an exception that nothing catches prints the exception's
// demangled type on a console that this program does not have; ending at once is all that
// remains to do, and Windows reports that as it does for any program.
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
