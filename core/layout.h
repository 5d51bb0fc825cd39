#pragma once

// frmMain as it is laid out: its controls, their kinds, containers, captions, places, sizes and
// tab order. Every host builds the window from this one table.

#include "core/product.h"

#include <array>
#include <string>
#include <string_view>

namespace orvanta {

enum class Control
{
    Window, // frmMain itself, the container of the controls that no frame holds
    Command3,
    Command2,
    Combo1,
    Frame1,
    Text1,
    Option2,
    Option1,
    Frame2,
    Command1,
    Text3,
    Text2,
    Label2,
    Label1,
};

namespace layout {

enum class Kind
{
    PushButton,
    ComboBox, // a drop-down list: the user picks an entry and cannot type
    Frame,    // a captioned group box that holds other controls
    TextBox,  // a single-line edit field
    OptionButton,
    Label,
};

// Positions and sizes are in twips, from the top-left corner of the container; 15 twips make one
// pixel at 96 dots per inch.
inline constexpr int twipsPerPixel = 15;

struct Place
{
    Control control;
    std::string_view name;
    Kind kind;
    Control container;
    std::u16string_view caption;
    int left;
    int top;
    int width;
    int height;
    int tabIndex; // frames and labels have one, but never take the focus
    bool readOnly = false;
    bool isDefault = false; // Enter presses it wherever the focus is but on another button
    // For a label, the box it names; for a box without a label, the option whose caption names
    // it. Window where there is none.
    Control names = Control::Window;
    Control namedBy = Control::Window;
};

inline constexpr std::u16string_view caption = productName;
// The size of text, in points, that the layout is made for.
inline constexpr int fontPoints = 8;
inline constexpr int clientWidth = 5445;
inline constexpr int clientHeight = 3615;

// Topmost first within each container: the list lies over the first frame and must be drawn
// above it.
inline constexpr std::array<Place, 13> controls{{
    {Control::Command3, "Command3", Kind::PushButton, Control::Window, u"Έξοδος", 2760, 3120, 2535,
     375, 12},
    {Control::Command2, "Command2", Kind::PushButton, Control::Window, u"Περί...", 120, 3120, 2535,
     375, 11},
    {Control::Combo1, "Combo1", Kind::ComboBox, Control::Window, u"", 3000, 480, 2175, 315, 0,
     false, false, Control::Window, Control::Option1},
    {Control::Frame1, "Frame1", Kind::Frame, Control::Window, u"Ταχύτητα σύνδεσης:", 120, 120, 5175,
     1575, 1},
    {Control::Text1, "Text1", Kind::TextBox, Control::Frame1, u"", 2880, 960, 2175, 375, 4, false,
     false, Control::Window, Control::Option2},
    {Control::Option2, "Option2", Kind::OptionButton, Control::Frame1,
     u"Εισάγετε ταχύτητα σύνδεσης:", 120, 960, 2775, 495, 3},
    {Control::Option1, "Option1", Kind::OptionButton, Control::Frame1,
     u"Επιλέξτε ταχύτητα σύνδεσης:", 120, 360, 2655, 375, 2},
    {Control::Frame2, "Frame2", Kind::Frame, Control::Window, u"Υπολογισμός", 120, 1800, 5175, 1215,
     5},
    {Control::Command1, "Command1", Kind::PushButton, Control::Frame2, u"Υπολογισμός", 3480, 240,
     1575, 735, 10, false, true},
    {Control::Text3, "Text3", Kind::TextBox, Control::Frame2, u"", 1200, 720, 2175, 285, 9, true},
    {Control::Text2, "Text2", Kind::TextBox, Control::Frame2, u"", 1200, 240, 2175, 285, 8, true},
    {Control::Label2, "Label2", Kind::Label, Control::Frame2, u"Upload:", 120, 720, 615, 375, 7,
     false, false, Control::Text3},
    {Control::Label1, "Label1", Kind::Label, Control::Frame2, u"Download:", 120, 240, 855, 495, 6,
     false, false, Control::Text2},
}};

[[nodiscard]] constexpr const Place& of(Control control)
{
    for (const Place& place : controls) {
        if (place.control == control) {
            return place;
        }
    }
    return controls.front();
}

// Alt and the letter take the user to the control, as every dialog of the desktop lets them: an
// option is selected, a button pressed, a label's box given the focus. Each letter is one of its
// caption's, Greek where the caption is, and no two are alike in either case. Many Greek
// captions begin alike, so, as in Greek dialogs generally, the letter is often within the word;
// a small letter also matches what a Greek keyboard types with Alt wherever the dialog manager
// compares letters without regard to case in Latin alone (Wine's does so).
struct AccessKey
{
    Control control;
    char16_t letter;
};

inline constexpr std::array<AccessKey, 7> accessKeys{{
    {Control::Option1, u'λ'},
    {Control::Option2, u'ι'},
    {Control::Command1, u'γ'},
    {Control::Command2, u'ρ'},
    {Control::Command3, u'ξ'},
    {Control::Label1, u'D'},
    {Control::Label2, u'U'},
}};

// The control's letter, or none (0).
[[nodiscard]] constexpr char16_t accessKeyOf(Control control)
{
    for (const AccessKey& key : accessKeys) {
        if (key.control == control) {
            return key.letter;
        }
    }
    return 0;
}

// The caption as both hosts' controls take it: an ampersand before the access key's letter,
// which the control underlines and does not show.
[[nodiscard]] inline std::u16string markedCaption(const Place& place)
{
    std::u16string marked(place.caption);
    const char16_t letter = accessKeyOf(place.control);
    if (const auto at = marked.find(letter); letter != 0 && at != std::u16string::npos) {
        marked.insert(at, 1, u'&');
    }
    return marked;
}

} // namespace layout
} // namespace orvanta
