#include "fake_host.h"

namespace orvanta::testing {

void FakeHost::click(Control control)
{
    // Like the real hosts: an option already selected runs nothing when clicked again, and a
    // program that has ended takes no more input.
    if (m_ended || !enabled(control)) {
        return;
    }
    if (control == Control::Option1 || control == Control::Option2) {
        if (!selected(control)) {
            select(control);
        }
        return;
    }
    form.click(control);
}

void FakeHost::appendItem(Control /*list*/, std::u16string_view item)
{
    m_items.emplace_back(item);
}

void FakeHost::clearItems(Control /*list*/)
{
    m_items.clear();
    m_picked = -1;
}

std::u16string FakeHost::listText(Control /*list*/) const
{
    return m_picked < 0 ? std::u16string() : m_items.at(static_cast<std::size_t>(m_picked));
}

std::u16string FakeHost::text(Control box) const
{
    const auto found = m_texts.find(box);
    return found == m_texts.end() ? std::u16string() : found->second;
}

void FakeHost::setText(Control box, std::u16string_view text)
{
    m_texts[box] = text;
}

void FakeHost::setEnabled(Control control, bool enabled)
{
    m_disabled[control] = !enabled;
}

bool FakeHost::enabled(Control control) const
{
    const auto found = m_disabled.find(control);
    return found == m_disabled.end() || !found->second;
}

void FakeHost::select(Control option)
{
    m_selected = option;
    form.click(option);
}

void FakeHost::messageBox(std::u16string_view prompt, MessageStyle style, std::u16string_view title)
{
    m_boxes.push_back({std::u16string(prompt), style, std::u16string(title)});
}

void FakeHost::end()
{
    m_ended = true;
}

} // namespace orvanta::testing
