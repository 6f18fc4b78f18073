// Results whose texts are words: the counts of each text equal a count made by running the page
// sample by sample with the same draws, in a stable order, the same on any number of threads; the
// shares in per cent; and the memory a run needs.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "numeric/show_number.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"
#include "tolerance/distribution_kinds.h"
#include "tolerance/sample_draw.h"
#include "tolerance/sampling.h"
#include "tolerance/text_counts.h"

namespace vorlanex::tolerance {
namespace {

const numeric::DecimalSeparator kComma(",");
const numeric::DecimalSeparator kPoint(".");

const page::PageDefinition& draha() { return *registry::find_page("draha-zastaveni"); }

using Texts = std::vector<std::pair<std::string, std::string>>;

std::vector<Tolerance> tolerances(const Texts& short_forms) {
    std::vector<Tolerance> result;
    for (const auto& [field, text] : short_forms)
        result.push_back({field, std::get<Distribution>(parse_short_form(field, text, kComma))});
    return result;
}

// The counts of a field's texts made directly: sample i drawn from the seed and i, every varied
// input in the order of the page's fields, typed into a fresh page, "Výpočet" pressed; a sample that
// faulted is not counted.
std::map<std::string, std::uint64_t> counted_directly(const page::PageDefinition& page, const Texts& typed,
                                                      const std::vector<Tolerance>& varied, std::uint64_t samples,
                                                      std::uint64_t seed, std::string_view field) {
    std::map<std::string, std::uint64_t> counts;
    for (std::uint64_t i = 0; i < samples; ++i) {
        page::FieldMapPort port(page, kComma);
        for (const auto& [id, text] : typed) port.preset(id, text);
        SampleStream stream(seed, i);
        for (const page::Field& input : page.layout.fields) {
            for (const Tolerance& tolerance : varied) {
                if (tolerance.field == input.id)
                    port.preset(input.id, numeric::show_number(draw(tolerance.distribution, stream), kComma));
            }
        }
        if (!page::press_calculate(page, port)) ++counts[std::string(port.current_text(field))];
    }
    return counts;
}

std::map<std::string, std::uint64_t> as_map(const std::vector<TextCount>& texts) {
    std::map<std::string, std::uint64_t> counts;
    for (const TextCount& text : texts) counts[text.text] = text.samples;
    return counts;
}

const FieldSummary& result_named(const SamplingSummary& summary, std::string_view field) {
    for (const FieldSummary& result : summary.results) {
        if (result.field == field) return result;
    }
    throw std::out_of_range(std::string(field));
}

struct WordRun {
    const char* name;
    Texts typed;
    Texts varied;
    std::set<std::string> c1_texts;  // the texts C1 shows in the samples that run without a fault
};

const std::string kNoCollision = "Nedojde ke střetu ! ";
const std::string kCollides = "Vozidlo se střetne";

// clang-format off
const WordRun kWordRuns[] = {
    {"obstacle_far_never_reached", {{"I2", "0,7"}, {"I3", "1"}, {"I4", "0,2"}, {"I5", "1000"}},
     {{"I1", "40..60"}}, {kNoCollision}},
    {"obstacle_close_always_reached", {{"I2", "0,7"}, {"I3", "1"}, {"I4", "0,2"}, {"I5", "5"}},
     {{"I1", "40..60"}}, {kCollides}},
    {"obstacle_within_reach_of_some", {{"I2", "0,7"}, {"I3", "1"}, {"I4", "0,2"}, {"I5", "30"}},
     {{"I1", "40..60"}}, {kCollides, kNoCollision}},
    // An adhesion next to 0 divides by zero in some samples.
    {"some_samples_fault", {{"I3", "1"}, {"I4", "0,2"}, {"I5", "30"}},
     {{"I1", "40..60"}, {"I2", "0..0,001"}}, {kCollides}},
    {"every_sample_faults", {{"I2", "0,7"}, {"I3", "1"}, {"I4", "0,2"}, {"I5", "30"}},
     {{"I1", "1e300..1e301"}}, {}},
};
// clang-format on

class WordCounts : public ::testing::TestWithParam<WordRun> {};

TEST_P(WordCounts, EqualACountOverTheSamplesInAStableOrderOnAnyThreads) {
    const WordRun& run = GetParam();
    const auto varied = tolerances(run.varied);
    constexpr std::uint64_t kSamples = 2000, kSeed = 7;
    const SamplingSummary summary = run_samples(draha(), run.typed, kComma, varied, {kSamples, kSeed, 2});
    std::uint64_t faulted = 0;
    for (const TextCount& fault : summary.faults) faulted += fault.samples;

    // The message lines the page declares text, and a unit's field that never shows a number (when
    // a sample collided; else it shows nothing but a blank, as the speed's field beside it).
    const bool some_ran = faulted < kSamples;
    const bool collided = run.c1_texts.count(kCollides) > 0;
    for (const char* field : {"C1", "C2", "C4", "C7"}) {
        const FieldSummary& result = result_named(summary, field);
        EXPECT_EQ(result.words, std::string_view(field) != "C4" || collided) << field;
        EXPECT_EQ(result.count, 0u) << field;
        if (!result.words) {
            EXPECT_TRUE(result.texts.empty()) << field;
            continue;
        }
        EXPECT_EQ(as_map(result.texts), counted_directly(draha(), run.typed, varied, kSamples, kSeed, field)) << field;
        EXPECT_EQ(total_samples(result.texts), kSamples - faulted) << field;
        for (std::size_t i = 1; i < result.texts.size(); ++i) {
            const TextCount &before = result.texts[i - 1], &after = result.texts[i];
            EXPECT_TRUE(before.samples > after.samples || (before.samples == after.samples && before.text < after.text))
                << field << ": '" << before.text << "' before '" << after.text << "'";
        }
    }
    std::set<std::string> c1;
    for (const TextCount& text : result_named(summary, "C1").texts) c1.insert(text.text);
    EXPECT_EQ(c1, run.c1_texts);
    // A result that shows numbers keeps its numbers, even where some samples show a blank in it.
    EXPECT_FALSE(result_named(summary, "R2").words);
    EXPECT_EQ(result_named(summary, "R2").count > 0, some_ran);
    EXPECT_FALSE(result_named(summary, "C3").words);

    for (const unsigned jobs : {1u, 3u}) {
        const SamplingSummary other = run_samples(draha(), run.typed, kComma, varied, {kSamples, kSeed, jobs});
        for (std::size_t r = 0; r < summary.results.size(); ++r) {
            const FieldSummary &a = summary.results[r], &b = other.results[r];
            EXPECT_EQ(a.words, b.words) << a.field << " on " << jobs;
            ASSERT_EQ(a.texts.size(), b.texts.size()) << a.field << " on " << jobs;
            for (std::size_t i = 0; i < a.texts.size(); ++i) {
                EXPECT_EQ(a.texts[i].text, b.texts[i].text) << a.field << " on " << jobs;
                EXPECT_EQ(a.texts[i].samples, b.texts[i].samples) << a.field << " on " << jobs;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tolerance, WordCounts, ::testing::ValuesIn(kWordRuns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextCounts, MostFrequentFirstThenByBytesTheEmptyTextCounted) {
    struct Row {
        const char* name;
        std::vector<std::vector<std::string>> per_thread;  // the texts each thread counted
        std::vector<std::pair<std::string, std::uint64_t>> expected;
        const char* line;  // texts_with_shares
        bool words;        // a text with more than spaces
    };
    // clang-format off
    const Row rows[] = {
        {"one_thread", {{"b", "a", "b", "", "c"}}, {{"b", 2}, {"", 1}, {"a", 1}, {"c", 1}},
         "„b“ 40,0 %; „“ 20,0 %; „a“ 20,0 %; „c“ 20,0 %", true},
        {"threads_merged", {{"b", "a"}, {"a", ""}, {"", ""}}, {{"", 3}, {"a", 2}, {"b", 1}},
         "„“ 50,0 %; „a“ 33,3 %; „b“ 16,7 %", true},
        {"bytes_not_letters", {{"é", "z", "Z", " "}}, {{" ", 1}, {"Z", 1}, {"z", 1}, {"é", 1}},
         "„ “ 25,0 %; „Z“ 25,0 %; „z“ 25,0 %; „é“ 25,0 %", true},
        {"spaces_kept_apart", {{"x ", "x", "x "}}, {{"x ", 2}, {"x", 1}}, "„x “ 66,7 %; „x“ 33,3 %", true},
        {"only_blanks", {{" ", ""}, {"  "}}, {{"", 1}, {" ", 1}, {"  ", 1}}, "„“ 33,3 %; „ “ 33,3 %; „  “ 33,3 %", false},
        {"nothing", {{}}, {}, "", false},
    };
    // clang-format on
    for (const Row& row : rows) {
        // Merged in either order, the outcome is the same.
        for (const bool reversed : {false, true}) {
            TextCounts all;
            for (std::size_t t = 0; t < row.per_thread.size(); ++t) {
                const auto& texts = row.per_thread[reversed ? row.per_thread.size() - 1 - t : t];
                TextCounts thread;
                for (const std::string& text : texts) thread.add(text);
                all.merge(thread);
            }
            std::vector<std::pair<std::string, std::uint64_t>> got;
            for (const TextCount& text : all.by_count()) got.emplace_back(text.text, text.samples);
            EXPECT_EQ(got, row.expected) << row.name << (reversed ? " reversed" : "");
            EXPECT_EQ(all.total(), total_samples(all.by_count())) << row.name;
            EXPECT_EQ(texts_with_shares(all.by_count(), kComma), row.line) << row.name;
            EXPECT_EQ(all.has_words(), row.words) << row.name;
        }
    }
}

TEST(TextCounts, ShareInPerCentToOneDecimalWithTheRunsSeparator) {
    struct Row {
        std::uint64_t part, whole;
        const numeric::DecimalSeparator& separator;
        const char* expected;
    };
    // clang-format off
    const Row rows[] = {
        {8740, 10000, kComma, "87,4 %"},
        {1260, 10000, kComma, "12,6 %"},
        {1, 3, kComma, "33,3 %"},
        {2, 3, kComma, "66,7 %"},
        {1, 2000, kComma, "0,1 %"},         // 0.05 % rounds half up
        {1, 2001, kComma, "0,0 %"},         // just below half a tenth
        {19999, 20000, kComma, "100,0 %"},  // 99.995 %
        {0, 5, kComma, "0,0 %"},
        {5, 5, kComma, "100,0 %"},
        {0, 0, kComma, "0,0 %"},
        {1, 3, kPoint, "33.3 %"},
        {999'999'999, 1'000'000'000, kComma, "100,0 %"},
        {1, 1'000'000'000, kComma, "0,0 %"},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(share_percent(row.part, row.whole, row.separator), row.expected) << row.part << " of " << row.whole;
}

TEST(Sampling, MemoryBoundKeepsNoNumbersForTheDeclaredTextFields) {
    // "Dráha na zastavení" has 22 result fields, 3 of them text lines that keep only their counts.
    std::uint64_t results = 0, declared = 0;
    for (const page::Field& field : draha().layout.fields) {
        results += field.role == page::FieldRole::Result;
        declared += field.role == page::FieldRole::Result && declares_words(field);
    }
    ASSERT_EQ(declared, 3u);
    struct Row {
        std::uint64_t samples;
        unsigned jobs;
    };
    for (const Row row : {Row{1000, 1}, Row{10'000'000, 2}, Row{1'000'000'000, 8}}) {
        const std::uint64_t numbers = 8 * row.samples * (results - declared + row.jobs);
        EXPECT_EQ(most_sampling_memory(draha(), row.samples, row.jobs),
                  numbers + 16 * 1024 * results * row.jobs + 20'000'000)
            << row.samples;
    }
}

}  // namespace
}  // namespace vorlanex::tolerance
