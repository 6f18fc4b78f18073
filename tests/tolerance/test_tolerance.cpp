// Tolerances: the forms of a distribution and their checks, the generator pinned, nearest-rank
// statistics, and runs of samples (the same outcome on any number of threads, warnings and faults
// counted per sample, a cut normal never piled at its bounds).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "numeric/show_number.h"
#include "registry/page_tree.h"
#include "tolerance/distribution_json.h"
#include "tolerance/distribution_kinds.h"
#include "tolerance/sample_draw.h"
#include "tolerance/sampling.h"
#include "tolerance/statistics.h"
#include "tolerance/sweep.h"

namespace vorlanex::tolerance {
namespace {

const numeric::DecimalSeparator kComma(",");
const numeric::DecimalSeparator kPoint(".");
constexpr double kInf = std::numeric_limits<double>::infinity();

struct ShortForm {
    const char* name;
    const char* text;
    const char* separator;
    Distribution expected;  // compared when `error` is empty
    const char* error;      // a part of the message, or ""
    const char* czech;      // the case window's reason, whole
};

// clang-format off
const ShortForm kShortForms[] = {
    {"uniform", "40..60", ",", {Shape::Uniform, 40, 60}, "", ""},
    {"uniform_of_one_value", "5..5", ",", {Shape::Uniform, 5, 5}, "", ""},
    {"uniform_with_point_separator", "0.5..1.5", ".", {Shape::Uniform, 0.5, 1.5}, "", ""},
    {"uniform_split_at_the_first_dots", "5...6", ".", {Shape::Uniform, 5, 0.6}, "low is above high", "„od“ je větší než „do“"},
    {"triangular", "0,8..1..1,5", ",", {Shape::Triangular, 0.8, 1.5, 1}, "", ""},
    {"normal", "0,8~0,05", ",", {Shape::Normal, -kInf, kInf, 0, 0.8, 0.05}, "", ""},
    {"normal_cut", "0,8~0,05~0,6..1", ",", {Shape::Normal, 0.6, 1, 0, 0.8, 0.05}, "", ""},
    {"low_above_high", "60..40", ",", {}, "low is above high", "„od“ je větší než „do“"},
    {"mode_outside", "0,8..2..1,5", ",", {}, "most likely value", "„nejpravděpodobněji“ neleží mezi „od“ a „do“"},
    {"sd_zero", "0,8~0", ",", {}, "standard deviation must be above 0", "„odchylka“ musí být větší než 0"},
    {"sd_negative", "0,8~-0,1", ",", {}, "standard deviation must be above 0", "„odchylka“ musí být větší než 0"},
    {"cut_reversed", "0,8~0,05~1..0,6", ",", {}, "low must be below high", "„od“ musí být menší než „do“"},
    {"cut_far_in_the_tail", "0~1~10..11", ",", {}, "keeps less than 0.1 %", "useknutí ponechává méně než 0,1 % normálního rozdělení"},
    {"not_a_number", "40..abc", ",", {}, "high 'abc' is not a number", "„do“ není číslo: „abc“ (desetinný oddělovač je „,“)"},
    {"point_with_comma_separator", "0.5..1", ",", {}, "low '0.5' is not a number", "„od“ není číslo: „0.5“ (desetinný oddělovač je „,“)"},
    {"empty_part", "..60", ",", {}, "low '' is not a number", "„od“ chybí"},
    {"no_form", "40", ",", {}, "expected LOW..HIGH, LOW..MODE..HIGH or MEAN~SD, got '40'", "zapište od..do, od..nejpravděpodobněji..do nebo střed~odchylka"},
    {"cut_without_its_range", "0,8~0,05~0,6", ",", {}, "expected MEAN~SD~LOW..HIGH, got '0,8~0,05~0,6'", "zapište střed~odchylka~od..do"},
    {"tilde_makes_it_normal", "1..2~3", ",", {}, "mean '1..2' is not a number", "„střed“ není číslo: „1..2“ (desetinný oddělovač je „,“)"},
    {"normal_with_tilde_separator", "0~8~0~1", "~", {}, "~", "s desetinným oddělovačem „~“ nelze normální rozdělení zapsat zkráceně"},
};
// clang-format on

class ShortFormTest : public ::testing::TestWithParam<ShortForm> {};

TEST_P(ShortFormTest, ParsedOrRefusedNamingTheField) {
    const ShortForm& row = GetParam();
    const auto parsed = parse_short_form("I2", row.text, numeric::DecimalSeparator(row.separator));
    if (std::string(row.error).empty()) {
        ASSERT_TRUE(std::holds_alternative<Distribution>(parsed)) << std::get<InputError>(parsed).message;
        const Distribution& d = std::get<Distribution>(parsed);
        EXPECT_EQ(d.shape, row.expected.shape);
        EXPECT_EQ(d.low, row.expected.low);
        EXPECT_EQ(d.high, row.expected.high);
        EXPECT_EQ(d.mode, row.expected.mode);
        EXPECT_EQ(d.mean, row.expected.mean);
        EXPECT_EQ(d.sd, row.expected.sd);
    } else {
        ASSERT_TRUE(std::holds_alternative<InputError>(parsed));
        const std::string& message = std::get<InputError>(parsed).message;
        EXPECT_NE(message.find("'I2'"), std::string::npos) << message;
        EXPECT_NE(message.find(row.error), std::string::npos) << message;
        EXPECT_EQ(std::get<InputError>(parsed).czech, row.czech);
    }
}

INSTANTIATE_TEST_SUITE_P(Tolerance, ShortFormTest, ::testing::ValuesIn(kShortForms),
                         [](const auto& info) { return std::string(info.param.name); });

struct JsonForm {
    const char* name;
    const char* json;
    const char* error;  // "" when it parses
};

// clang-format off
const JsonForm kJsonForms[] = {
    {"uniform", R"({"distribution":"uniform","low":"40","high":"60"})", ""},
    {"triangular", R"({"distribution":"triangular","low":"0,8","mode":"1","high":"1,5"})", ""},
    {"normal_cut", R"({"distribution":"normal","mean":"0,8","sd":"0,05","low":"0,6","high":"1"})", ""},
    {"normal_cut_below_only", R"({"distribution":"normal","mean":"0,8","sd":"0,05","low":"0,6"})", ""},
    {"number_not_text", R"({"distribution":"uniform","low":40,"high":"60"})", "\"low\" must be a string"},
    {"missing_high", R"({"distribution":"uniform","low":"40"})", "\"high\" is missing"},
    {"foreign_member", R"({"distribution":"uniform","low":"40","high":"60","sd":"1"})", "does not belong"},
    {"unknown_distribution", R"({"distribution":"lognormal","low":"1","high":"2"})", "unknown distribution"},
    {"no_distribution", R"({"low":"1","high":"2"})", "\"distribution\" is missing"},
    {"not_an_object", R"(["uniform"])", "expected an object"},
    {"sd_zero", R"({"distribution":"normal","mean":"1","sd":"0"})", "standard deviation"},
};
// clang-format on

class JsonFormTest : public ::testing::TestWithParam<JsonForm> {};

TEST_P(JsonFormTest, ParsedOrRefusedNamingTheField) {
    const auto parsed = parse_json_form("I3", nlohmann::ordered_json::parse(GetParam().json), kComma);
    const std::string error = GetParam().error;
    if (error.empty()) {
        EXPECT_TRUE(std::holds_alternative<Distribution>(parsed)) << std::get<InputError>(parsed).message;
    } else {
        ASSERT_TRUE(std::holds_alternative<InputError>(parsed));
        EXPECT_NE(std::get<InputError>(parsed).message.find("'I3'"), std::string::npos);
        EXPECT_NE(std::get<InputError>(parsed).message.find(error), std::string::npos)
            << std::get<InputError>(parsed).message;
    }
}

INSTANTIATE_TEST_SUITE_P(Tolerance, JsonFormTest, ::testing::ValuesIn(kJsonForms),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JsonForm, GivesWhatTheShortFormGives) {
    const auto json = parse_json_form(
        "I2", nlohmann::json::parse(R"({"distribution":"normal","mean":"0,8","sd":"0,05","low":"0,6","high":"1"})"),
        kComma);
    const auto short_form = parse_short_form("I2", "0,8~0,05~0,6..1", kComma);
    const Distribution& a = std::get<Distribution>(json);
    const Distribution& b = std::get<Distribution>(short_form);
    EXPECT_EQ(std::tie(a.shape, a.low, a.high, a.mean, a.sd), std::tie(b.shape, b.low, b.high, b.mean, b.sd));
}

// Every kind of distribution is described whole: its name, its Czech words and rules, and at least
// one short form, each with its English and Czech names and examples that are read as the kind and
// written back as typed; every number a pattern names is a parameter, every separator one the
// reading looks for, and no two patterns put the same separators between their numbers.
TEST(DistributionKinds, EveryKindIsDescribedAndItsExamplesReadAsIt) {
    std::vector<std::vector<std::string_view>> separators_of_patterns;
    for (const DistributionKind& kind : distribution_kinds()) {
        SCOPED_TRACE(std::string(kind.name));
        EXPECT_EQ(static_cast<std::size_t>(kind.shape), static_cast<std::size_t>(&kind - distribution_kinds().data()))
            << "a row for every Shape, in its order";
        EXPECT_EQ(&kind_of(kind.shape), &kind);
        EXPECT_EQ(kind_named(kind.name), &kind);
        EXPECT_FALSE(kind.czech.empty());
        EXPECT_FALSE(kind.czech_rules.empty());
        EXPECT_FALSE(kind.patterns.empty());
        for (const ShortPattern& pattern : kind.patterns) {
            SCOPED_TRACE(std::string(pattern.pattern));
            EXPECT_FALSE(pattern.english.empty());
            EXPECT_FALSE(pattern.czech.empty());
            std::vector<std::string_view> separators;
            for (const PatternPart& part : pattern_parts(pattern.pattern)) {
                const Parameter* parameter = find_parameter(part.name);
                ASSERT_NE(parameter, nullptr) << part.name;
                EXPECT_FALSE(parameter->czech.empty());
                if (part.before.empty()) continue;
                EXPECT_NE(std::find(std::begin(kPatternSeparators), std::end(kPatternSeparators), part.before),
                          std::end(kPatternSeparators));
                separators.push_back(part.before);
            }
            EXPECT_EQ(std::count(separators_of_patterns.begin(), separators_of_patterns.end(), separators), 0);
            separators_of_patterns.push_back(separators);
            for (const std::string_view example : {pattern.command_example, pattern.window_example}) {
                const auto parsed = parse_short_form("I2", example, kComma);
                ASSERT_TRUE(std::holds_alternative<Distribution>(parsed)) << std::get<InputError>(parsed).message;
                EXPECT_EQ(std::get<Distribution>(parsed).shape, kind.shape) << example;
                EXPECT_TRUE(czech_words(std::get<Distribution>(parsed), kComma)
                                .starts_with(std::string(kind.czech) + " rozdělení "));
                const auto named = json_form_of_short("I2", example, kComma);
                EXPECT_EQ(short_form_of_json(std::get<nlohmann::ordered_json>(named)), std::string(example));
            }
        }
    }
}

// The case window's words for a refused tolerance, made from the kinds' patterns and rules.
TEST(DistributionKinds, TheRefusalNamesEveryShortForm) {
    EXPECT_EQ(refused_tolerance_text(),
              "Tolerance nepřijata, platí dosavadní. Zapište od..do, od..nejpravděpodobněji..do, "
              "střed~odchylka nebo střed~odchylka~od..do (od nejvýše do, odchylka nad 0).");
}

// Each percentile's Czech caption is its level in percent, the levels rise and have names of their own.
TEST(Statistics, EveryPercentileIsCaptionedByItsLevel) {
    for (std::size_t i = 0; i < kPercentiles.size(); ++i) {
        EXPECT_EQ(kPercentiles[i].czech_percent, czech_percent(kPercentiles[i].per_mille));
        if (i == 0) continue;
        EXPECT_LT(kPercentiles[i - 1].per_mille, kPercentiles[i].per_mille);
        EXPECT_NE(kPercentiles[i - 1].json_name, kPercentiles[i].json_name);
    }
    EXPECT_EQ(kPercentiles[kMedianPercentile].per_mille, 500);
}

// The generator and the draws pinned: a change of either changes every published result.
TEST(SampleDraw, PinnedToTheBit) {
    SampleStream stream(1, 0);
    EXPECT_EQ(stream(), 3998252948558603144ULL);
    const Distribution uniform{Shape::Uniform, 40, 60};
    const Distribution triangular{Shape::Triangular, 0.8, 1.5, 1};
    const Distribution normal{Shape::Normal, 0.6, 1, 0, 0.8, 0.05};
    SampleStream sample(7, 123456);
    EXPECT_EQ(numeric::show_number(draw(uniform, sample), kPoint), "54.2925027011506");
    EXPECT_EQ(numeric::show_number(draw(triangular, sample), kPoint), "1.019657151904");
    EXPECT_EQ(numeric::show_number(draw(normal, sample), kPoint), "0.780579299763145");
}

TEST(SampleDraw, DependsOnlyOnSeedAndSample) {
    SampleStream a(9, 41), b(9, 41), c(9, 42), d(10, 41);
    const auto first = a();
    EXPECT_EQ(first, b());
    EXPECT_NE(first, c());
    EXPECT_NE(first, d());
}

TEST(Statistics, NearestRank) {
    struct Rank {
        int per_mille;
        std::uint64_t n, rank;
    };
    for (const Rank& row : {Rank{25, 1, 1}, Rank{975, 1, 1}, Rank{500, 2, 1}, Rank{500, 3, 2}, Rank{25, 40, 1},
                            Rank{25, 41, 2}, Rank{975, 40, 39}, Rank{975, 41, 40}, Rank{950, 1000000000, 950000000}}) {
        EXPECT_EQ(nearest_rank(row.per_mille, row.n), row.rank) << row.per_mille << " of " << row.n;
    }
}

TEST(Statistics, PercentilesAreNumbersShownAndTheMeanIsRoundedAsTheField) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // 1..40 in a scrambled order, with samples that gave no number between them.
    std::vector<double> values;
    for (int i = 0; i < 40; ++i) {
        values.push_back((i * 17 % 40 + 1) / 1000.0 + 1);
        if (i % 7 == 0) values.push_back(nan);
    }
    const FieldSummary summary = summarise("R1", values, 3, kComma);
    EXPECT_EQ(summary.count, 40u);
    EXPECT_EQ(summary.min, "1,001");
    EXPECT_EQ(summary.max, "1,04");
    EXPECT_EQ(summary.percentiles, (std::array<std::string, 5>{"1,001", "1,002", "1,02", "1,038", "1,039"}));
    EXPECT_EQ(summary.mean, "1,02");  // 1.0205 rounded to 3 places, ties to even
    EXPECT_EQ(summary.histogram.size(), kHistogramBars);
    std::uint64_t total = 0;
    for (const auto bar : summary.histogram) total += bar;
    EXPECT_EQ(total, 40u);
    std::vector<double> none{nan, nan};
    EXPECT_EQ(summarise("R7", none, 0, kComma).count, 0u);
}

// The percentiles found by counting equal those of a full sort, whatever the numbers' spread: few
// distinct values, one value far from the rest, the extremes of the double range, ties at a rank.
TEST(Statistics, PercentilesEqualThoseOfASortedCopy) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    struct Spread {
        const char* name;
        std::function<double(std::size_t)> value;
        std::size_t count;
    };
    const Spread spreads[] = {
        {"uniform", [&](std::size_t) { return unit(random) * 100 - 50; }, 100000},
        {"few distinct", [&](std::size_t) { return std::round(unit(random) * 4) / 1000; }, 50001},
        {"one far away", [&](std::size_t i) { return i == 17 ? 1e300 : 48 + unit(random); }, 80000},
        {"range ends",
         [&](std::size_t i) {
             return i % 2 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max() * unit(random);
         },
         4001},
        {"tiny", [&](std::size_t) { return unit(random) * 1e-300; }, 999},
        {"one", [&](std::size_t) { return 3.5; }, 1},
        {"two", [&](std::size_t i) { return i ? 1.0 : 2.0; }, 2},
    };
    for (const Spread& spread : spreads) {
        std::vector<double> values(spread.count);
        for (std::size_t i = 0; i < spread.count; ++i) values[i] = spread.value(i);
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const FieldSummary summary = summarise("R1", values, 3, kComma);
        for (std::size_t p = 0; p < kPercentiles.size(); ++p) {
            const double expected = sorted[nearest_rank(kPercentiles[p].per_mille, spread.count) - 1];
            EXPECT_EQ(summary.percentiles[p], numeric::show_number(expected, kComma))
                << spread.name << ", per mille " << kPercentiles[p].per_mille;
        }
    }
}

const page::PageDefinition& kinematika() { return *registry::find_page("kinematika"); }

std::vector<Tolerance> tolerances(const std::vector<std::pair<std::string, std::string>>& short_forms) {
    std::vector<Tolerance> result;
    for (const auto& [field, text] : short_forms)
        result.push_back({field, std::get<Distribution>(parse_short_form(field, text, kComma))});
    return result;
}

const std::vector<std::pair<std::string, std::string>> kTyped{{"I1", "20"}, {"I2", "8"},   {"I3", "0,7"}, {"I4", "15"},
                                                              {"I5", "20"}, {"I6", "0,8"}, {"I7", "0,2"}, {"I8", "1"}};

bool same(const SamplingSummary& a, const SamplingSummary& b) {
    if (a.results.size() != b.results.size() || a.warnings.size() != b.warnings.size() ||
        a.faults.size() != b.faults.size())
        return false;
    for (std::size_t i = 0; i < a.results.size(); ++i) {
        const FieldSummary &x = a.results[i], &y = b.results[i];
        if (std::tie(x.count, x.min, x.max, x.mean, x.percentiles, x.histogram) !=
            std::tie(y.count, y.min, y.max, y.mean, y.percentiles, y.histogram))
            return false;
    }
    for (std::size_t i = 0; i < a.warnings.size(); ++i) {
        if (a.warnings[i].text != b.warnings[i].text || a.warnings[i].samples != b.warnings[i].samples) return false;
    }
    return true;
}

TEST(Sampling, AStoppedRunTakesNoSamplesAndGivesAnEmptySummary) {
    const std::atomic<bool> stopped{true};
    for (const unsigned jobs : {1u, 3u}) {
        SamplingSettings settings{1'000'000, 42, jobs};
        settings.stop = &stopped;
        const SamplingSummary summary =
            run_samples(kinematika(), kTyped, kComma, tolerances({{"I4", "14..16"}}), settings);
        EXPECT_EQ(summary.samples, 0u) << jobs;
        EXPECT_TRUE(summary.results.empty()) << jobs;
    }
    const std::atomic<bool> going{false};
    SamplingSettings settings{500, 42, 2};
    settings.stop = &going;
    EXPECT_TRUE(same(run_samples(kinematika(), kTyped, kComma, tolerances({{"I4", "14..16"}}), settings),
                     run_samples(kinematika(), kTyped, kComma, tolerances({{"I4", "14..16"}}), {500, 42, 2})));
}

TEST(Sampling, SameOutcomeOnAnyNumberOfThreads) {
    // A braking distance around 0 warns in about half the samples; a negative EES can fault.
    const auto varied =
        tolerances({{"I2", "-5..5"}, {"I4", "-50..15"}, {"I6", "0,7..0,8..0,9"}, {"I8", "1~0,2~0,5..1,5"}});
    const SamplingSummary one = run_samples(kinematika(), kTyped, kComma, varied, {5000, 42, 1});
    for (const unsigned jobs : {2u, 3u, 7u})
        EXPECT_TRUE(same(one, run_samples(kinematika(), kTyped, kComma, varied, {5000, 42, jobs}))) << jobs;
    EXPECT_FALSE(same(one, run_samples(kinematika(), kTyped, kComma, varied, {5000, 43, 1})));
    ASSERT_EQ(one.warnings.size(), 2u);
    const auto distance = std::find_if(one.warnings.begin(), one.warnings.end(), [](const TextCount& warning) {
        return warning.text == "Pozor, dráha musí být nejméně 0 !\rVýpočet nelze provést !";
    });
    ASSERT_NE(distance, one.warnings.end());
    EXPECT_NEAR(static_cast<double>(distance->samples), 2500, 200);
    ASSERT_EQ(one.faults.size(), 1u);
    EXPECT_EQ(one.faults[0].text, "Invalid floating point operation.");
    // A sample that faulted at R4 gave R1 to R3 but none of the others.
    EXPECT_EQ(one.results[0].count, 5000u);
    EXPECT_EQ(one.results[3].count, 5000u - one.faults[0].samples);
}

TEST(Sampling, EverySampleRunsAsTypedAndAFaultyTextFaultsEverySample) {
    const auto varied = tolerances({{"I3", "0,7..0,9"}});
    auto typed = kTyped;
    typed[4].second = "x";  // I5
    const SamplingSummary summary = run_samples(kinematika(), typed, kComma, varied, {300, 1, 2});
    ASSERT_EQ(summary.faults.size(), 1u);
    EXPECT_EQ(summary.faults[0].text, "'x' is not a valid floating point value.");
    EXPECT_EQ(summary.faults[0].samples, 300u);
    for (const FieldSummary& result : summary.results) EXPECT_EQ(result.count, 0u) << result.field;
}

TEST(Sampling, CutNormalIsRedrawnNotPiledAtItsBounds) {
    // a1 = mu1 x 9.80665: mu1 normal around 0.8, cut at 0.78 and 0.9 (most draws fall outside).
    const SamplingSummary summary =
        run_samples(kinematika(), kTyped, kComma, tolerances({{"I3", "0,8~0,05~0,78..0,9"}}), {4000, 3, 2});
    const FieldSummary& a1 = summary.results[0];
    EXPECT_EQ(a1.count, 4000u);
    EXPECT_GE(a1.low, 0.78 * 9.80665 - 0.0005);
    EXPECT_LE(a1.high, 0.9 * 9.80665 + 0.0005);
    EXPECT_LT(a1.histogram.front(), 4000u / 20);  // a pile at the bound would hold about a third
}

TEST(Sampling, RefusesWhatCannotBeRun) {
    const auto one = tolerances({{"I1", "1..2"}});
    struct Row {
        std::vector<Tolerance> tolerances;
        std::uint64_t samples;
        const char* message;
    };
    const Row rows[] = {{one, 0, "from 1 to 1000000000"},
                        {one, kMostSamples + 1, "from 1 to 1000000000"},
                        {{{"R4", {}}}, 10, "'R4': a result field"},
                        {{{"X9", {}}}, 10, "'X9': page 'kinematika' has no such field"},
                        {{{"I1", {}}, {"I1", {}}}, 10, "'I1' is given twice"}};
    for (const Row& row : rows) {
        const auto error = check_sampling(kinematika(), row.tolerances, row.samples);
        ASSERT_TRUE(error.has_value()) << row.message;
        EXPECT_NE(error->message.find(row.message), std::string::npos) << error->message;
    }
    EXPECT_FALSE(check_sampling(kinematika(), one, kMostSamples).has_value());
}

TEST(Sweep, EvenlySpacedBothEndsExactAndEachRunAsTyped) {
    const auto range = parse_sweep("I1=0..30/3", kinematika(), kComma);
    ASSERT_TRUE(std::holds_alternative<SweepRange>(range));
    const auto rows = run_sweep(kinematika(), kTyped, kComma, std::get<SweepRange>(range));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].input, "0");
    EXPECT_EQ(rows[3].input, "30");
    EXPECT_EQ(rows[2].input, "20");
    EXPECT_EQ(rows[2].results[1], (std::pair<std::string, std::string>{"R2", "42,702"}));  // the worked example
    EXPECT_EQ(sweep_value({"I3", 0.1, 0.7, 6}, 6), 0.7);
    EXPECT_EQ(numeric::show_number(sweep_value({"I3", 0.1, 0.7, 6}, 3), kComma), "0,4");
    for (const char* bad : {"I1=0..30", "I1=0..30/0", "I1=0..30/x", "R1=0..1/2", "Z1=0..1/2", "I1=0~1/2"}) {
        EXPECT_TRUE(std::holds_alternative<InputError>(parse_sweep(bad, kinematika(), kComma))) << bad;
    }
}

struct SweepCheck {
    const char *field, *from, *to, *steps;
    std::optional<SweepError::Kind> kind;  // none: a sweep
    const char* message_part;              // of the command line's message for FIELD=FROM..TO/STEPS
};

// The parts checked one by one, and the command line's FIELD=FROM..TO/STEPS made of them: each fault
// of its kind and with the command line's message; a sweep may run down as well as up.
TEST(Sweep, EachFaultOfItsKindWithTheCommandLinesMessage) {
    using Kind = SweepError::Kind;
    // clang-format off
    const SweepCheck checks[] = {
        {"I1", "30",   "0",    "3",      std::nullopt,      ""},
        {"I1", "-1,5", "2E1",  "100000", std::nullopt,      ""},
        {"X9", "0",    "1",    "2",      Kind::NoSuchField, "--sweep of field 'X9': page 'kinematika' has no such field"},
        {"R1", "0",    "1",    "2",      Kind::ResultField, "a result field cannot be swept"},
        {"I1", "0",    "1",    "0",      Kind::Steps,       "STEPS must be a whole number from 1 to 100000, got '0'"},
        {"I1", "0",    "1",    "100001", Kind::Steps,       "got '100001'"},
        {"I1", "0",    "1",    "2,5",    Kind::Steps,       "got '2,5'"},
        {"I1", "x",    "1",    "2",      Kind::From,        "FROM 'x' is not a number"},
        {"I1", "0,5",  "1.5",  "2",      Kind::To,          "TO '1.5' is not a number"},
        {"I1", "0",    "1..2", "2",      Kind::To,          "expected FROM..TO before the '/'"},
    };
    // clang-format on
    for (const SweepCheck& check : checks) {
        const std::string text = std::string(check.field) + "=" + check.from + ".." + check.to + "/" + check.steps;
        const auto checked = check_sweep(kinematika(), check.field, check.from, check.to, check.steps, kComma);
        const auto parsed = parse_sweep(text, kinematika(), kComma);
        if (!check.kind) {
            EXPECT_TRUE(std::holds_alternative<SweepRange>(checked)) << text;
            EXPECT_TRUE(std::holds_alternative<SweepRange>(parsed)) << text;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<SweepError>(checked)) << text;
        EXPECT_EQ(std::get<SweepError>(checked).kind, *check.kind) << text;
        ASSERT_TRUE(std::holds_alternative<InputError>(parsed)) << text;
        EXPECT_NE(std::get<InputError>(parsed).message.find(check.message_part), std::string::npos)
            << std::get<InputError>(parsed).message;
    }
    const auto down = std::get<SweepRange>(parse_sweep("I1=30..0/3", kinematika(), kComma));
    EXPECT_EQ(run_sweep(kinematika(), kTyped, kComma, down).back().input, "0");
    // A window's own bound on the steps, said in the same message.
    const auto capped = check_sweep(kinematika(), "I1", "0", "1", "1001", kComma, 1000);
    ASSERT_TRUE(std::holds_alternative<SweepError>(capped));
    EXPECT_NE(std::get<SweepError>(capped).message.find("from 1 to 1000,"), std::string::npos);
}

}  // namespace
}  // namespace vorlanex::tolerance
