#include "tolerance/text_counts.h"

#include <algorithm>

namespace vorlanex::tolerance {

std::uint64_t total_samples(std::span<const TextCount> texts) {
    std::uint64_t sum = 0;
    for (const TextCount& text : texts) sum += text.samples;
    return sum;
}

bool declares_words(const page::Field& field) { return field.unit == "text"; }

void TextCounts::add(std::string_view text) {
    if (text.empty()) {
        ++empty_;
        return;
    }
    auto found = counts_.find(text);
    if (found == counts_.end()) {
        found = counts_.emplace(std::string(text), 0).first;
        words_ = words_ || text.find_first_not_of(' ') != std::string_view::npos;
    }
    ++found->second;
}

void TextCounts::merge(const TextCounts& other) {
    empty_ += other.empty_;
    words_ = words_ || other.words_;
    for (const auto& [text, samples] : other.counts_) counts_[text] += samples;
}

std::uint64_t TextCounts::total() const {
    std::uint64_t sum = empty_;
    for (const auto& entry : counts_) sum += entry.second;
    return sum;
}

std::vector<TextCount> TextCounts::by_count() const {
    std::vector<TextCount> texts;
    if (empty_ > 0) texts.push_back({"", empty_});
    for (const auto& [text, samples] : counts_) texts.push_back({text, samples});
    // std::string compares as unsigned bytes, so the order of equal counts is the texts' bytes.
    std::stable_sort(texts.begin(), texts.end(), [](const TextCount& a, const TextCount& b) {
        if (a.samples != b.samples) return a.samples > b.samples;
        return a.text < b.text;
    });
    return texts;
}

std::string share_percent(std::uint64_t part, std::uint64_t whole, const numeric::DecimalSeparator& separator) {
    // Tenths of a per cent, rounded half up in whole numbers: (part × 2000 + whole) / (2 × whole).
    // part ≤ whole ≤ 10^9 keeps part × 2000 far inside 64 bits.
    const std::uint64_t tenths = whole == 0 ? 0 : (part * 2000 + whole) / (2 * whole);
    return std::to_string(tenths / 10) + std::string(separator.text()) + std::to_string(tenths % 10) + " %";
}

std::string texts_with_shares(std::span<const TextCount> texts, const numeric::DecimalSeparator& separator) {
    const std::uint64_t whole = total_samples(texts);
    std::string line;
    for (const TextCount& text : texts) {
        if (!line.empty()) line += "; ";
        line += "„" + text.text + "“ " + share_percent(text.samples, whole, separator);
    }
    return line;
}

}  // namespace vorlanex::tolerance
