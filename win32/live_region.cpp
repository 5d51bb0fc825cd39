// The GUIDs of oleacc.h are defined here, where COM's accessibility services are reached at run
// time, rather than imported: linking oleacc.dll would load it, and COM, at every start. So
// initguid.h must come first.
// clang-format off
#include <initguid.h>
#include "win32/live_region.h"
// clang-format on

namespace orvanta {

namespace {

// LiveSetting_Property_GUID of uiautomationcoreapi.h, whose other declarations are not needed.
constexpr GUID liveSetting{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
// The LiveSetting enumeration's Polite: read out once the reader has finished what it says.
constexpr LONG polite = 1;

// A function of a DLL loaded at run time, by its name and type.
template <typename Function> Function* procedure(HMODULE module, const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace

LiveRegions::~LiveRegions()
{
    clear();
}

void LiveRegions::annotate()
{
    if (m_annotated) {
        return;
    }
    m_annotated = true;
    m_com = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    auto* const initialize = procedure<decltype(CoInitializeEx)>(m_com, "CoInitializeEx");
    auto* const createInstance = procedure<decltype(CoCreateInstance)>(m_com, "CoCreateInstance");
    m_initialized =
        initialize != nullptr && createInstance != nullptr &&
        SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    if (!m_initialized) {
        clear();
        return;
    }
    if (FAILED(createInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&m_services)))) {
        m_services = nullptr;
        clear();
        return;
    }
    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = polite;
    for (const HWND box : m_boxes) {
        m_services->SetHwndProp(box, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, liveSetting,
                                value);
    }
}

void LiveRegions::announce()
{
    annotate();
    for (const HWND box : m_boxes) {
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, box, OBJID_CLIENT, CHILDID_SELF);
    }
}

void LiveRegions::clear()
{
    if (m_services != nullptr) {
        for (const HWND box : m_boxes) {
            GUID property = liveSetting;
            m_services->ClearHwndProps(box, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                       &property, 1);
        }
        m_services->Release();
        m_services = nullptr;
    }
    if (m_com != nullptr) {
        // Each successful CoInitializeEx is paired with one CoUninitialize, and only then.
        auto* const uninitialize = procedure<decltype(CoUninitialize)>(m_com, "CoUninitialize");
        if (uninitialize != nullptr && m_initialized) {
            uninitialize();
        }
        m_initialized = false;
        FreeLibrary(m_com);
        m_com = nullptr;
    }
}

} // namespace orvanta
