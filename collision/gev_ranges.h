#pragma once
// The ranges of GEV and the kinds of impact they mean, as both GEV pages show them: the text of the
// "?" button beside the GEV by definition, and the static legend beside the GEV by the EVU method.
#include <array>
#include <string_view>

#include "page/layout.h"

namespace vorlanex::collision {

// The text of the "?" button beside a GEV result. The mixed "." and "," in the numbers are part
// of the text.
// clang-format off
inline constexpr std::string_view kGevRanges =
    "GEV < 0,75        ráz se skluzem\r"
    "GEV  0.9 - 1,2    ráz bez skluzu\r"
    " \r"
    "GEV  0.75 - 0,9   ráz s mírným skluzem";
// clang-format on

// The same ranges as a legend of static labels: "GEV" with its top-left corner at left, top, then
// three rows of a range and the kind of impact it stands for, in the order the page lists them.
constexpr std::array<page::Label, 7> gev_ranges_legend(int left, int top) {
    constexpr int kRowHeight = 16, kRangeLeft = 40, kFirstRangeLeft = 48, kKindLeft = 112;
    const auto row = [top](int index) { return top + kRowHeight * index; };
    return {{
        page::plain_text("GEV", left, row(0)),
        page::plain_text("< 0,75", left + kFirstRangeLeft, row(0)),
        page::plain_text("ráz se skluzem", left + kKindLeft, row(0)),
        page::plain_text("(0,9 - 1,2)", left + kRangeLeft, row(1)),
        page::plain_text("ráz bez skluzu", left + kKindLeft, row(1)),
        page::plain_text("(0,75 - 0,9)", left + kRangeLeft, row(2)),
        page::plain_text("ráz s mírným skluzem", left + kKindLeft, row(2)),
    }};
}

}  // namespace vorlanex::collision
