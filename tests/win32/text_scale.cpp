// Windows' Text size and message font, turned into how much larger the window is drawn: rows
// that run, with the core's, in the Windows build's doctest runner.

#include "win32/text_scale.h"

#include <doctest/doctest.h>
#include <vector>

TEST_CASE("larger text follows the larger of Text size and the message font")
{
    struct Row
    {
        int textSize;
        double fontPoints;
        double scale;
    };
    const std::vector<Row> rows{
        {100, 9.0, 1.0},  {150, 9.0, 1.5}, {225, 9.0, 2.25}, {100, 13.5, 1.5}, {150, 13.5, 1.5},
        {125, 18.0, 2.0}, {100, 8.0, 1.0}, {400, 9.0, 2.25}, {50, 9.0, 1.0},   {0, 9.0, 1.0},
    };
    for (const auto& row : rows) {
        CAPTURE(row.textSize);
        CAPTURE(row.fontPoints);
        CHECK(orvanta::textScale(row.textSize, row.fontPoints) == row.scale);
    }
}

TEST_CASE("larger text grows no further than the screen holds")
{
    using orvanta::Extent;
    const Extent window{363, 241};
    const Extent frame{16, 39};
    CHECK(orvanta::scaleThatFits(1.5, window, frame, {1920, 1040}) == 1.5);
    CHECK(orvanta::scaleThatFits(10, window, frame, {1280, 984}) ==
          doctest::Approx((1280.0 - 16) / 363));
    CHECK(orvanta::scaleThatFits(2.25, window, frame, {1000, 560}) ==
          doctest::Approx((560.0 - 39) / 241));
    // A screen smaller than the window itself leaves it as laid out.
    CHECK(orvanta::scaleThatFits(2, window, frame, {320, 200}) == 1.0);
}
