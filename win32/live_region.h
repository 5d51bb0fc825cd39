#pragma once

// Result boxes that screen readers read aloud when their text changes, though the focus is
// elsewhere: Windows' live regions. A box becomes one through its LiveSetting property, which a
// program that does not implement UI Automation itself gives through COM's accessibility
// annotations; each change is then announced with EVENT_OBJECT_LIVEREGIONCHANGED.

#include <windows.h>

#include <oleacc.h>
#include <utility>
#include <vector>

namespace orvanta {

class LiveRegions
{
public:
    LiveRegions() = default;
    ~LiveRegions();
    LiveRegions(const LiveRegions&) = delete;
    LiveRegions& operator=(const LiveRegions&) = delete;

    // The boxes, once they exist.
    void watch(std::vector<HWND> boxes) { m_boxes = std::move(boxes); }
    // Tells screen readers that the boxes' texts have changed, one box after the other. The
    // first time, it makes them polite live regions: that loads COM, which the window needs for
    // nothing else, so a start that is never followed by a Calculate does without it.
    void announce();
    // Takes the annotations away again and lets COM go: before the boxes are destroyed.
    void clear();

private:
    // Makes the boxes polite live regions, once; without COM they stay plain boxes.
    void annotate();

    std::vector<HWND> m_boxes;
    IAccPropServices* m_services = nullptr;
    HMODULE m_com = nullptr;
    bool m_initialized = false;
    bool m_annotated = false;
};

} // namespace orvanta
