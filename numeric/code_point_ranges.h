#pragma once
// Sets of Unicode code points written as sorted, non-overlapping ranges.
#include <algorithm>
#include <span>

namespace vorlanex::numeric {

struct CodePointRange {
    char32_t first;
    char32_t last;
};

// True when `code_point` lies in one of `ranges`, which are sorted and do not overlap.
inline bool in_code_point_ranges(std::span<const CodePointRange> ranges, char32_t code_point) {
    const auto after =
        std::upper_bound(ranges.begin(), ranges.end(), code_point,
                         [](char32_t value, const CodePointRange& range) { return value < range.first; });
    return after != ranges.begin() && code_point <= std::prev(after)->last;
}

}  // namespace vorlanex::numeric
