// frmMain's handlers on a host without a window system: what each leaves in the controls, which
// boxes it shows, and when the program ends. The same rows run on Linux and, under Wine, on
// Windows.

#include "core/errors.h"
#include "core/rate.h"
#include "fake_host.h"

#include <doctest/doctest.h>
#include <string>
#include <vector>

using orvanta::Control;
using orvanta::MessageStyle;
using orvanta::RuntimeError;
using orvanta::testing::FakeHost;

namespace {

constexpr std::u16string_view warning = u"Εισάγεται μια τιμή ή επιλέξτε μια από την λίστα";

int entryOf(std::u16string_view label)
{
    for (std::size_t i = 0; i < orvanta::rate::catalogue.size(); ++i) {
        if (orvanta::rate::catalogue.at(i).label == label) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void checkListMode(const FakeHost& host)
{
    CHECK(host.selected(Control::Option1));
    CHECK(host.enabled(Control::Combo1));
    CHECK_FALSE(host.enabled(Control::Text1));
    CHECK(host.text(Control::Text1).empty());
}

std::vector<std::u16string> results(const FakeHost& host)
{
    return {host.text(Control::Text2), host.text(Control::Text3)};
}

} // namespace

TEST_CASE("Load fills the list once and opens in list mode with nothing picked")
{
    FakeHost host;
    CHECK(host.items().empty());
    host.form.load();
    REQUIRE(host.items().size() == orvanta::rate::catalogue.size());
    for (std::size_t i = 0; i < host.items().size(); ++i) {
        CHECK(host.items().at(i) == orvanta::rate::catalogue.at(i).label);
    }
    checkListMode(host);
    CHECK(host.picked() == -1);
    CHECK(host.boxes().empty());
}

TEST_CASE("Calculate gives the figures of the speed picked or typed")
{
    struct Row
    {
        std::u16string_view picked; // empty: typed mode
        std::u16string_view typed;
        std::u16string_view speed; // what Text1 shows afterwards
        std::u16string_view download;
        std::u16string_view upload;
    };
    const std::vector<Row> rows{
        {u"DSL 2048Kbps", u"", u"2048", u"256 Kbps", u"64 Kbps"},
        {u"PSTN 56kbps", u"", u"56", u"7 Kbps", u"1.75 Kbps"},
        {u"", u"4", u"4", u"512 Kbps", u"128 Kbps"},
        {u"", u"-8", u"-8", u"-1024 Kbps", u"-256 Kbps"},
    };
    for (const auto& row : rows) {
        FakeHost host;
        host.form.load();
        if (row.picked.empty()) {
            host.click(Control::Option2);
            host.type(Control::Text1, row.typed);
        } else {
            host.pick(entryOf(row.picked));
        }
        host.click(Control::Command1);
        CHECK(host.text(Control::Text1) == row.speed);
        CHECK(results(host) == std::vector<std::u16string>{std::u16string(row.download),
                                                           std::u16string(row.upload)});
        CHECK(host.boxes().empty());
        // Twice gives the same, and a list entry writes its speed again.
        host.setText(Control::Text1, row.picked.empty() ? row.typed : u"stale");
        host.click(Control::Command1);
        CHECK(host.text(Control::Text1) == row.speed);
        CHECK(host.text(Control::Text2) == row.download);
    }
}

TEST_CASE("the figures follow the regional settings")
{
    FakeHost host({u',', u'.', u'-', u'+'});
    host.form.load();
    host.click(Control::Option2);
    host.type(Control::Text1, u"0,5");
    host.click(Control::Command1);
    CHECK(results(host) == std::vector<std::u16string>{u"64 Kbps", u"16 Kbps"});
    host.click(Control::Option1);
    host.pick(entryOf(u"PSTN 56kbps"));
    host.click(Control::Command1);
    CHECK(results(host) == std::vector<std::u16string>{u"7 Kbps", u"1,75 Kbps"});
}

TEST_CASE("with no speed Calculate warns and leaves the figures on show")
{
    for (const bool typedMode : {false, true}) {
        CAPTURE(typedMode);
        FakeHost host;
        host.form.load();
        host.pick(entryOf(u"DSL 512kbps"));
        host.click(Control::Command1);
        const auto earlier = results(host);
        host.click(Control::Option2);
        if (!typedMode) {
            host.click(Control::Option1);
        }
        host.click(Control::Command1);
        REQUIRE(host.boxes().size() == 1);
        CHECK(host.boxes().front().prompt == warning);
        CHECK(host.boxes().front().style == MessageStyle::Exclamation);
        CHECK(host.boxes().front().title == u"Orvanta");
        CHECK(results(host) == earlier);
    }
}

TEST_CASE("a speed that is no number is reported and nothing is lost")
{
    struct Row
    {
        std::u16string_view typed;
        RuntimeError::Kind kind;
    };
    const std::vector<Row> rows{
        {u"abc", RuntimeError::Kind::TypeMismatch},
        {u" ", RuntimeError::Kind::TypeMismatch},
        {u"1e400", RuntimeError::Kind::Overflow},
        {u"-1E308", RuntimeError::Kind::FloatingPoint},
    };
    for (const auto& row : rows) {
        FakeHost host;
        host.form.load();
        host.click(Control::Option2);
        host.type(Control::Text1, u"512");
        host.click(Control::Command1);
        host.type(Control::Text1, row.typed);
        host.click(Control::Command1);
        REQUIRE(host.boxes().size() == 1);
        CHECK(host.boxes().front().prompt == RuntimeError(row.kind).message());
        CHECK(host.boxes().front().style == MessageStyle::Exclamation);
        CHECK(results(host) == std::vector<std::u16string>{u"64 Kbps", u"16 Kbps"});
        CHECK(host.text(Control::Text1) == row.typed);
        CHECK_FALSE(host.ended());
    }
}

TEST_CASE("switching modes keeps nine entries, drops the pick and leaves the figures")
{
    FakeHost host;
    host.form.load();
    host.pick(entryOf(u"DSL 1024kbps"));
    host.click(Control::Command1);
    const auto shown = results(host);
    CHECK(host.text(Control::Text1) == u"1024");
    for (int round = 0; round < 5; ++round) {
        host.click(Control::Option2);
        CHECK(host.selected(Control::Option2));
        CHECK_FALSE(host.enabled(Control::Combo1));
        CHECK(host.enabled(Control::Text1));
        CHECK(host.text(Control::Text1).empty());
        CHECK(host.picked() == -1);
        host.click(Control::Option1);
        checkListMode(host);
    }
    CHECK(host.items().size() == orvanta::rate::catalogue.size());
    CHECK(results(host) == shown);
}

TEST_CASE("About shows its three boxes in turn, and Exit ends in either mode")
{
    FakeHost host;
    host.form.load();
    host.click(Control::Command2);
    REQUIRE(host.boxes().size() == 3);
    CHECK(host.boxes().at(0).prompt == u"Orvanta v1.0");
    CHECK(host.boxes().at(2).prompt == u"E-mail επικοινωνίας: orvanta@example.org");
    for (const auto& box : host.boxes()) {
        CHECK(box.style == MessageStyle::Information);
        CHECK(box.title == u"Orvanta");
    }
    for (const bool typedMode : {false, true}) {
        FakeHost ending;
        ending.form.load();
        if (typedMode) {
            ending.click(Control::Option2);
        }
        ending.click(Control::Command3);
        CHECK(ending.ended());
        CHECK(ending.boxes().empty());
    }
}
