// A linked calculation sampled with its sources: every sample gives what the chain gives when its
// drawn texts are typed and run one calculation after another (run_with_sources), so the counts of
// a word field's texts and the faults of a source match a count made sample by sample; the same
// seed gives the same outcome on any number of threads.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "casefile/calculation_sampling.h"
#include "casefile/case_file.h"
#include "casefile/linked_run.h"
#include "numeric/show_number.h"
#include "tolerance/sample_draw.h"
#include "tolerance/sampling.h"

namespace {

using vorlanex::casefile::Calculation;
using vorlanex::casefile::CaseFile;
using vorlanex::casefile::ChainSampling;
using vorlanex::casefile::Link;
using vorlanex::casefile::RecordedRun;
using vorlanex::tolerance::SamplingSummary;

constexpr std::string_view kNoCollision = "Nedojde ke střetu ! ";

std::string fixture_text() {
    std::ifstream in(std::string(VORLANEX_CASES_DIR) + "/pedestrian-avoidability.vorlanex", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The fixture with the source's tolerances and the linked calculation's speed replaced.
CaseFile chain_case(const std::string& source_tolerances, const std::string& speed) {
    std::string text = fixture_text();
    const std::size_t from = text.find(R"("tolerances":{"I2")");
    const std::size_t to = text.find("}}}", from) + 3;
    text.replace(from, to - from, R"("tolerances":)" + source_tolerances + "}");
    text.replace(text.find(R"("fields":{"I1":"50"})"), 20, R"("fields":{"I1":")" + speed + R"("})");
    auto file = vorlanex::casefile::read_case_file(text);
    if (const auto* error = std::get_if<vorlanex::casefile::CaseError>(&file)) ADD_FAILURE() << error->message;
    return std::get<CaseFile>(std::move(file));
}

// The calculation with `field` holding `text`, as if typed.
void type(Calculation& calculation, const std::string& field, const std::string& text) {
    for (auto& [id, typed] : calculation.scenario.fields) {
        if (id == field) {
            typed = text;
            return;
        }
    }
    calculation.scenario.fields.emplace_back(field, text);
}

struct Counted {
    std::map<std::string, std::uint64_t> texts;  // of C1 of the linked calculation
    std::map<std::string, std::uint64_t> faults;
};

// The chain run sample by sample: each calculation's tolerances drawn from its own stream in its
// page's field order, written as the field shows a number, then the calculations run in turn.
Counted count_directly(const ChainSampling& chain, const CaseFile& file, std::uint64_t samples, std::uint64_t seed) {
    Counted counted;
    for (std::uint64_t sample = 0; sample < samples; ++sample) {
        std::vector<RecordedRun> runs;
        std::vector<std::string> ids;
        for (std::size_t position = 0; position < chain.calculations.size(); ++position) {
            Calculation drawn = *chain.calculations[position];
            vorlanex::tolerance::SampleStream stream(seed, sample, position);
            for (const auto& field : drawn.scenario.page->layout.fields) {
                for (const auto& tolerance : chain.samplings[position].tolerances) {
                    if (tolerance.field != field.id) continue;
                    const double value = vorlanex::tolerance::draw(tolerance.distribution, stream);
                    type(drawn, tolerance.field,
                         std::string(vorlanex::numeric::show_number_text(value, file.separator).view()));
                }
            }
            const auto source_run = [&](const Link& link) -> const RecordedRun* {
                for (std::size_t i = 0; i < ids.size(); ++i) {
                    if (ids[i] == link.from) return &runs[i];
                }
                return nullptr;
            };
            runs.push_back(vorlanex::casefile::run_with_sources(drawn, file.separator, source_run));
            ids.push_back(drawn.id.value_or(""));
        }
        // A word field counts the texts of the samples that ran without a fault.
        if (runs.back().fault()) {
            ++counted.faults[*runs.back().fault()];
        } else {
            ++counted.texts[runs.back().text_after("C1")];
        }
    }
    return counted;
}

Counted counted_by_sampling(const SamplingSummary& summary) {
    Counted counted;
    for (const auto& field : summary.results) {
        if (field.field != "C1") continue;
        for (const auto& text : field.texts) counted.texts[text.text] = text.samples;
    }
    for (const auto& fault : summary.faults) counted.faults[fault.text] = fault.samples;
    return counted;
}

enum class Stops { Always, Never, Sometimes };

struct ChainRow {
    const char* name;
    std::string source_tolerances;  // of "kinematika"
    std::string speed;              // I1 of "zastaveni-50", km/h
    Stops stops;
    bool faults;  // whether the source faults in some samples
};

// clang-format off
const ChainRow kChains[] = {
    {"crawling_stops_always", R"({"I4":{"distribution":"uniform","low":"14","high":"16"}})", "5", Stops::Always, false},
    {"racing_never_stops", R"({"I4":{"distribution":"uniform","low":"14","high":"16"}})", "150", Stops::Never, false},
    {"fixture_at_70_sometimes", R"({"I2":{"distribution":"uniform","low":"7,5","high":"8,5"},"I4":{"distribution":"uniform","low":"14","high":"16"},"I5":{"distribution":"uniform","low":"19,5","high":"20,5"},"I6":{"distribution":"triangular","low":"0,75","mode":"0,8","high":"0,85"}})", "70", Stops::Sometimes, false},
    {"source_faults_sometimes", R"({"I4":{"distribution":"uniform","low":"-50","high":"15"}})", "50", Stops::Sometimes, true},
};
// clang-format on

class ChainSamplingTest : public ::testing::TestWithParam<ChainRow> {};

TEST_P(ChainSamplingTest, CountsWhatTheChainRunSampleBySampleGives) {
    const ChainRow& row = GetParam();
    constexpr std::uint64_t kSamples = 600;
    constexpr std::uint64_t kSeed = 7;
    const CaseFile file = chain_case(row.source_tolerances, row.speed);
    auto made = vorlanex::casefile::chain_sampling_of(file, 1, kSamples);
    ASSERT_TRUE(std::holds_alternative<ChainSampling>(made));
    const ChainSampling& chain = std::get<ChainSampling>(made);
    ASSERT_EQ(chain.calculations.size(), 2u);
    EXPECT_EQ(chain.through, std::vector<std::string>{"kinematika"});
    EXPECT_TRUE(chain.sampled());

    const SamplingSummary one =
        vorlanex::tolerance::run_chain_samples(chain.chain, file.separator, {kSamples, kSeed, 1});
    const Counted sampled = counted_by_sampling(one);
    const Counted direct = count_directly(chain, file, kSamples, kSeed);
    EXPECT_EQ(sampled.texts, direct.texts);
    EXPECT_EQ(sampled.faults, direct.faults);
    for (const unsigned jobs : {2u, 3u}) {
        const Counted again = counted_by_sampling(
            vorlanex::tolerance::run_chain_samples(chain.chain, file.separator, {kSamples, kSeed, jobs}));
        EXPECT_EQ(again.texts, sampled.texts) << jobs;
        EXPECT_EQ(again.faults, sampled.faults) << jobs;
    }

    const auto stopped = sampled.texts.find(std::string(kNoCollision));
    const std::uint64_t stops = stopped == sampled.texts.end() ? 0 : stopped->second;
    switch (row.stops) {
        case Stops::Always: EXPECT_EQ(stops, kSamples); break;
        case Stops::Never: EXPECT_EQ(stops, 0u); break;
        case Stops::Sometimes:
            EXPECT_GT(stops, 0u);
            EXPECT_LT(stops, kSamples);
            break;
    }
    EXPECT_EQ(!sampled.faults.empty(), row.faults);
    // A source's fault is the chain's, named by the linked input that could not be had.
    for (const auto& [text, samples] : sampled.faults) EXPECT_EQ(text.rfind("vstup I", 0), 0u) << text;
}

INSTANTIATE_TEST_SUITE_P(CaseFile, ChainSamplingTest, ::testing::ValuesIn(kChains),
                         [](const auto& info) { return info.param.name; });

}  // namespace
