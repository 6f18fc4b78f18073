#pragma once
// How many samples showed each text in a result field whose texts are words, not numbers.
//
// A result field's texts are words when the page declares the field a text (its unit is "text":
// the lines of a message), or when over the whole run it never showed a number but did show a text
// other than spaces (a field that holds a unit's name or a word such as "NENÍ STŘET" and nothing
// else; a number's field that a page blanks with a space in every sample stays a number's). Only the
// samples that ran without a fault are counted; a field left empty in such a sample counts under the
// empty text, so the counts of a word field add up to the samples that ran without a fault.
//
// A word field keeps one count per distinct text, never a text per sample: the texts that are not
// numbers are the page's own fixed words, a handful per field.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/decimal_separator.h"
#include "page/layout.h"

namespace vorlanex::tolerance {

// A text and the number of samples that showed it (or ended with it, for a warning or a fault).
struct TextCount {
    std::string text;
    std::uint64_t samples = 0;
};

// The samples counted in `texts`, together.
std::uint64_t total_samples(std::span<const TextCount> texts);

// True when the page declares the field's texts words: its unit is "text".
bool declares_words(const page::Field& field);

// The counts of one field's texts, on one thread or merged from several.
class TextCounts {
public:
    // One sample more that showed `text`.
    void add(std::string_view text);
    // The counts of another thread added; the outcome does not depend on the order of merging.
    void merge(const TextCounts& other);
    // True when a text with more than spaces in it was counted.
    bool has_words() const { return words_; }
    std::uint64_t total() const;
    // Every text counted, the most frequent first; equal counts in the order of the texts' bytes.
    std::vector<TextCount> by_count() const;

private:
    std::uint64_t empty_ = 0;  // kept apart: most fields are empty in many samples
    bool words_ = false;
    std::map<std::string, std::uint64_t, std::less<>> counts_;
};

// The share of `part` in `whole` in per cent, rounded to one decimal place (halves up), with the
// run's decimal separator and a space before the sign: 8740 of 10000 gives "87,4 %", 1 of 3
// "33,3 %", 0 of 5 "0,0 %"; a whole of 0 gives "0,0 %".
std::string share_percent(std::uint64_t part, std::uint64_t whole, const numeric::DecimalSeparator& separator);

// The texts of a word field on one line, for a view with no room for a table: each text in Czech
// quotes with its share, in the order given: „Vozidlo se střetne“ 71,7 %; „Nedojde ke střetu ! “ 28,3 %.
std::string texts_with_shares(std::span<const TextCount> texts, const numeric::DecimalSeparator& separator);

}  // namespace vorlanex::tolerance
