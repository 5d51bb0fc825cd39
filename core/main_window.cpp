#include "core/main_window.h"

#include "core/errors.h"
#include "core/product.h"
#include "core/rate.h"

namespace orvanta {

template <typename Handler> void frmMain::dispatch(Handler handler)
{
    try {
        (this->*handler)();
    } catch (const RuntimeError& error) {
        m_host.messageBox(error.message(), MessageStyle::Exclamation, productName);
    }
}

void frmMain::load()
{
    dispatch(&frmMain::Form_Load);
}

void frmMain::click(Control control)
{
    switch (control) {
    case Control::Option1:
        dispatch(&frmMain::Option1_Click);
        break;
    case Control::Option2:
        dispatch(&frmMain::Option2_Click);
        break;
    case Control::Command1:
        dispatch(&frmMain::Command1_Click);
        break;
    case Control::Command2:
        dispatch(&frmMain::Command2_Click);
        break;
    case Control::Command3:
        dispatch(&frmMain::Command3_Click);
        break;
    default:
        break;
    }
}

void frmMain::Form_Load()
{
    Speed_Selection();
    m_host.select(Control::Option1);
    m_host.setEnabled(Control::Text1, false);
}

void frmMain::Speed_Selection()
{
    for (const auto& connection : rate::catalogue) {
        m_host.appendItem(Control::Combo1, connection.label);
    }
}

void frmMain::Option1_Click()
{
    m_host.setEnabled(Control::Combo1, true);
    m_host.setEnabled(Control::Text1, false);
    m_host.setText(Control::Text1, u"");
}

void frmMain::Option2_Click()
{
    m_host.setEnabled(Control::Combo1, false);
    // Emptied and refilled so that no stale selection can override the typed speed.
    m_host.clearItems(Control::Combo1);
    Speed_Selection();
    m_host.setEnabled(Control::Text1, true);
    m_host.setText(Control::Text1, u"");
}

void frmMain::Command1_Click()
{
    if (const auto speed = rate::lookup(m_host.listText(Control::Combo1))) {
        m_host.setText(Control::Text1, rate::speedText(*speed));
    }
    if (conversions::textsEqual(m_host.text(Control::Text1), u"")) {
        m_host.messageBox(u"Εισάγεται μια τιμή ή επιλέξτε μια από την λίστα",
                          MessageStyle::Exclamation, productName);
        return;
    }
    const auto figures = rate::convert(m_host.text(Control::Text1), m_host.numberFormat());
    m_host.setText(Control::Text2, figures.download);
    m_host.setText(Control::Text3, figures.upload);
}

void frmMain::Command2_Click()
{
    constexpr auto title = productName;
    m_host.messageBox(
        conversions::joinTexts(conversions::joinTexts(productName, u" v"), productVersion),
        MessageStyle::Information, title);
    m_host.messageBox(u"© 2026 Η ομάδα του Orvanta. Με την επιφύλαξη παντός δικαιώματος.",
                      MessageStyle::Information, title);
    m_host.messageBox(u"E-mail επικοινωνίας: orvanta@example.org", MessageStyle::Information,
                      title);
}

void frmMain::Command3_Click()
{
    m_host.end();
}

} // namespace orvanta
