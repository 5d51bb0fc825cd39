#pragma once

// A host with no window system: it keeps what each control would show, and records the message
// boxes and the end of the program, so that the handlers can be driven and read without a display.

#include "core/main_window.h"

#include <map>
#include <string>
#include <vector>

namespace orvanta::testing {

struct ShownBox
{
    std::u16string prompt;
    MessageStyle style;
    std::u16string title;
};

class FakeHost final : public Host
{
public:
    explicit FakeHost(conversions::NumberFormat format = {}) : m_format(format) {}
    ~FakeHost() = default;

    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    // What a user does: picks an entry of the list (-1: none), types into a box, clicks.
    void pick(int entry) { m_picked = entry; }
    void type(Control box, std::u16string_view text) { m_texts[box] = text; }
    void click(Control control);

    void appendItem(Control list, std::u16string_view item) override;
    void clearItems(Control list) override;
    [[nodiscard]] std::u16string listText(Control list) const override;
    [[nodiscard]] std::u16string text(Control box) const override;
    void setText(Control box, std::u16string_view text) override;
    void setEnabled(Control control, bool enabled) override;
    void select(Control option) override;
    void messageBox(std::u16string_view prompt, MessageStyle style,
                    std::u16string_view title) override;
    void end() override;
    [[nodiscard]] conversions::NumberFormat numberFormat() const override { return m_format; }

    [[nodiscard]] bool enabled(Control control) const;
    [[nodiscard]] bool selected(Control option) const { return m_selected == option; }
    [[nodiscard]] const std::vector<std::u16string>& items() const { return m_items; }
    [[nodiscard]] int picked() const { return m_picked; }
    [[nodiscard]] const std::vector<ShownBox>& boxes() const { return m_boxes; }
    [[nodiscard]] bool ended() const { return m_ended; }

    frmMain form{*this};

private:
    conversions::NumberFormat m_format;
    std::map<Control, std::u16string> m_texts;
    std::map<Control, bool> m_disabled;
    std::vector<std::u16string> m_items;
    int m_picked = -1;
    Control m_selected = Control::Window;
    std::vector<ShownBox> m_boxes;
    bool m_ended = false;
};

} // namespace orvanta::testing
