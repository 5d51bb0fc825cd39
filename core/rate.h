#pragma once

// The connection catalogue and the conversion of a speed into download and upload figures.
// Standard C++ only: every host shares it.

#include "core/conversions.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::rate {

struct Connection
{
    std::u16string_view label;
    std::int16_t nominalSpeed; // kbps; kept beside the label, never read out of it
};

// The list offers these in this order. "DSL 2048Kbps" really is written with a capital K.
inline constexpr std::array<Connection, 9> catalogue{{
    {u"PSTN 56kbps", 56},
    {u"ISDN 64kbps", 64},
    {u"ISDN 128kbps", 128},
    {u"DSL 256kbps", 256},
    {u"DSL 384kbps", 384},
    {u"DSL 512kbps", 512},
    {u"DSL 768kbps", 768},
    {u"DSL 1024kbps", 1024},
    {u"DSL 2048Kbps", 2048},
}};

// The nominal speed of the first entry whose label equals the text exactly (case-sensitive,
// no trimming).
[[nodiscard]] std::optional<std::int16_t> lookup(std::u16string_view label);

// "56", "2048": the digits of a nominal speed.
[[nodiscard]] std::u16string speedText(std::int16_t nominalSpeed);

struct Figures
{
    std::u16string download; // e.g. "64 Kbps"
    std::u16string upload;   // e.g. "16 Kbps"
};

// Turns a speed in kbps, written as the regional settings write numbers, into the two result
// texts: the speed / 8 and the speed / 32. Speeds below 56 are taken as Mbps and multiplied by
// 1024 first. Both texts are computed before either is returned, so a failure leaves no half
// result. Throws RuntimeError (core/errors.h) for text that is not a number or figures out of
// range.
[[nodiscard]] Figures convert(std::u16string_view speed, const conversions::NumberFormat& format);

} // namespace orvanta::rate
