// vorlanex-calc --tolerance and --sweep in-process: the JSON object, the same bytes for any --jobs,
// the report's facts, and every bad input a usage error naming the field with nothing on stdout.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/calc_command.h"
#include "cli/tolerance_command.h"

namespace {

using vorlanex::cli::kExitCompleted;
using vorlanex::cli::kExitUsage;

struct Outcome {
    int exit_status;
    std::string out;
    std::string err;
};

Outcome calc(std::vector<std::string> arguments) {
    std::istringstream in;
    std::ostringstream out, err;
    const int status =
        vorlanex::cli::run_calc_command(arguments, vorlanex::numeric::DecimalSeparator(","), in, out, err);
    return {status, out.str(), err.str()};
}

const std::vector<std::string> kVaried{"kinematika", "I1=20..25",   "I2=8..10",    "I3=0,7..0,8..0,9", "I4=15~2",
                                       "I5=20..22",  "I6=0,8..0,9", "I7=0,2..0,3", "I8=1~0,1~0,8..1,2"};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ToleranceCommand, OneJsonObjectTheSameForAnyJobs) {
    const Outcome one = calc(std::vector<std::string>{"--tolerance", "3000", "--seed", "11"} + kVaried);
    ASSERT_EQ(one.exit_status, kExitCompleted) << one.err;
    const auto json = nlohmann::ordered_json::parse(one.out);
    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"page", "samples", "seed", "results", "warnings", "faults"}));
    EXPECT_EQ(json["samples"], 3000);
    EXPECT_EQ(json["seed"], 11);
    EXPECT_EQ(json["results"].size(), 18u);
    const auto& r2 = json["results"]["R2"];
    EXPECT_EQ(r2["count"], 3000);
    for (const char* key : {"min", "p2_5", "p5", "p50", "p95", "p97_5", "max", "mean"})
        EXPECT_TRUE(r2[key].is_string()) << key;
    for (const char* jobs : {"2", "5"}) {
        EXPECT_EQ(calc(std::vector<std::string>{"--tolerance", "3000", "--seed", "11", "--jobs", jobs} + kVaried).out,
                  one.out);
    }
    EXPECT_EQ(calc(std::vector<std::string>{"--tolerance=3000", "--seed=11"} + kVaried).out, one.out);
}

TEST(ToleranceCommand, DefaultSeedIsFixedSoTheSameCommandGivesTheSameNumbers) {
    const Outcome a = calc(std::vector<std::string>{"--tolerance", "200"} + kVaried);
    EXPECT_EQ(nlohmann::json::parse(a.out)["seed"], vorlanex::cli::kDefaultSeed);
    EXPECT_EQ(calc(std::vector<std::string>{"--tolerance", "200"} + kVaried).out, a.out);
}

TEST(ToleranceCommand, ReportStatesSeedSamplesAndCommand) {
    const Outcome report = calc(std::vector<std::string>{"--report", "--tolerance", "500", "--seed", "3"} + kVaried);
    ASSERT_EQ(report.exit_status, kExitCompleted) << report.err;
    EXPECT_NE(report.out.find("<td class=\"seed\">3</td>"), std::string::npos);
    EXPECT_NE(report.out.find("<td class=\"samples\">500</td>"), std::string::npos);
    EXPECT_NE(report.out.find("vorlanex-calc --report --tolerance 500 --seed 3 kinematika I1=20..25"),
              std::string::npos);
    EXPECT_NE(report.out.find("<figure data-field=\"R18\">"), std::string::npos);
}

TEST(ToleranceCommand, SweepTabulatesEveryResultForEachValue) {
    const Outcome sweep =
        calc({"--sweep", "I1=0..40/4", "kinematika", "I2=8", "I3=0,7", "I4=15", "I5=20", "I6=0,8", "I7=0,2", "I8=1"});
    ASSERT_EQ(sweep.exit_status, kExitCompleted) << sweep.err;
    const auto json = nlohmann::json::parse(sweep.out);
    EXPECT_EQ(json["sweep"], "I1");
    ASSERT_EQ(json["rows"].size(), 5u);
    EXPECT_EQ(json["rows"][2]["input"], "20");
    EXPECT_EQ(json["rows"][2]["results"]["R2"], "42,702");
    EXPECT_EQ(json["rows"][2]["results"].size(), 18u);
    const Outcome report = calc({"--report", "--sweep", "I1=0..40/4", "kinematika", "I2=8", "I3=0,7", "I4=15", "I5=20",
                                 "I6=0,8", "I7=0,2", "I8=1"});
    EXPECT_NE(report.out.find("<figure data-field=\"R10\">"), std::string::npos);
}

// A case's calculations with tolerances are sampled as the same page given on the command line
// would be, each result line carrying the calculation's line number and its id as written; a
// calculation without tolerances is passed over, and a bad tolerance is a usage error naming its line.
// A fault quoting a typed text that holds a bidirectional control: the report shows the control as
// its code point and holds none raw, so the text around it keeps its order.
TEST(ToleranceCommand, ReportShowsTheBidiControlOfAQuotedText) {
    const Outcome outcome = calc({"--tolerance", "10", "--report", "kinematika", "I1=20..25", "I2=8\u202e1"});
    ASSERT_EQ(outcome.exit_status, kExitCompleted) << outcome.err;
    EXPECT_NE(outcome.out.find("<bdi>&#39;8<span class=\"code-point\">U+202E</span>1&#39; is not"), std::string::npos);
    EXPECT_EQ(outcome.out.find("\u202e"), std::string::npos);
}

// What the command hands its standard output, piece by piece, and where it flushed: "|" for a flush.
class PiecesSeen final : public std::streambuf {
public:
    std::vector<std::string> pieces;

private:
    std::streamsize xsputn(const char* text, std::streamsize size) override {
        pieces.emplace_back(text, static_cast<std::size_t>(size));
        return size;
    }
    int_type overflow(int_type character) override {
        if (!traits_type::eq_int_type(character, traits_type::eof()))
            pieces.emplace_back(1, traits_type::to_char_type(character));
        return traits_type::not_eof(character);
    }
    int sync() override {
        pieces.emplace_back("|");
        return 0;
    }
};

// A result whose texts are words counts the samples per text, the most frequent first, the same
// bytes for any --jobs and from a case file; the report gives each text's share instead of a
// histogram. The stopping page with its obstacle far away, close by, and within reach of some.
struct WordCase {
    const char* name;
    const char* obstacle;                 // I5
    std::vector<std::string> c1_texts;    // in the order expected
    std::vector<std::string> report_has;  // parts of the report of the same run
};

const WordCase kWordCases[] = {
    {"never_reached", "1000", {"Nedojde ke střetu ! "}, {"100,0 %"}},
    {"always_reached", "5", {"Vozidlo se střetne"}, {"100,0 %"}},
    // 1000 samples from seed 1: a speed of 40 to 60 km/h reaches an obstacle at 30 m in 449 of them.
    {"reached_by_some", "30", {"Nedojde ke střetu ! ", "Vozidlo se střetne"}, {"55,1 %", "44,9 %"}},
};

class WordResults : public ::testing::TestWithParam<WordCase> {};

TEST_P(WordResults, CountEachTextTheSameForAnyJobsAndFromACase) {
    const WordCase& word = GetParam();
    const std::vector<std::string> inputs{"I2=0,7", "I3=1", "I4=0,2", std::string("I5=") + word.obstacle};
    const std::vector<std::string> page = std::vector<std::string>{"draha-zastaveni", "I1=40..60"} + inputs;
    const Outcome one = calc(std::vector<std::string>{"--tolerance", "1000", "--jobs", "1"} + page);
    ASSERT_EQ(one.exit_status, kExitCompleted) << one.err;
    EXPECT_EQ(calc(std::vector<std::string>{"--tolerance", "1000", "--jobs", "2"} + page).out, one.out);

    const auto json = nlohmann::ordered_json::parse(one.out);
    const auto& c1 = json["results"]["C1"];
    std::vector<std::string> keys;
    for (const auto& [key, value] : c1.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"count", "texts"}));
    EXPECT_EQ(c1["count"], 1000);
    std::vector<std::string> texts;
    std::uint64_t counted = 0;
    for (const auto& [text, samples] : c1["texts"].items()) {
        texts.push_back(text);
        counted += samples.get<std::uint64_t>();
    }
    EXPECT_EQ(texts, word.c1_texts);
    EXPECT_EQ(counted, 1000u);
    // A number stays a number.
    EXPECT_TRUE(json["results"]["R2"]["min"].is_string());

    // The case with the same inputs and tolerance gives the same members.
    const std::string path = ::testing::TempDir() + "word-case-" + word.name + ".vorlanex";
    std::ofstream(path) << R"({"format":1,"separator":","})"
                        << "\n"
                        << R"({"page":"draha-zastaveni","fields":{"I2":"0,7","I3":"1","I4":"0,2","I5":")"
                        << word.obstacle
                        << R"("},"tolerances":{"I1":{"distribution":"uniform","low":"40","high":"60"}}})"
                        << "\n";
    const Outcome from_case = calc({"--tolerance", "1000", "--jobs", "2", "--case", path});
    ASSERT_EQ(from_case.exit_status, kExitCompleted) << from_case.err;
    EXPECT_EQ(from_case.out, R"({"line":2,)" + one.out.substr(1));

    const Outcome report = calc(std::vector<std::string>{"--report", "--tolerance", "1000"} + page);
    ASSERT_EQ(report.exit_status, kExitCompleted) << report.err;
    const std::size_t table = report.out.find("<figure class=\"texts\" data-field=\"C1\">");
    ASSERT_NE(table, std::string::npos);
    const std::string c1_table = report.out.substr(table, report.out.find("</figure>", table) - table);
    for (const std::string& part : word.report_has) EXPECT_NE(c1_table.find(part), std::string::npos) << part;
    EXPECT_EQ(report.out.find("<figure data-field=\"C1\">"), std::string::npos);  // no histogram
    EXPECT_NE(report.out.find("<h2>Histogramy a četnosti textů</h2>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(ToleranceCommand, WordResults, ::testing::ValuesIn(kWordCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A case's result lines are each handed over whole, newline included, and flushed at once: a run
// stopped while sampling the next calculation leaves whole lines behind, never a cut one.
TEST(ToleranceCommand, CaseLinesAreWrittenWholeAndFlushedEach) {
    const std::string calculation =
        R"({"page":"kinematika","fields":{"I1":"20","I2":"8","I3":"0,7","I5":"20","I6":"0,8","I7":"0,2","I8":"1"},)"
        R"("tolerances":{"I4":{"distribution":"uniform","low":"14","high":"16"}}})";
    const std::string path = ::testing::TempDir() + "tolerance-case-lines.vorlanex";
    std::ofstream(path) << R"({"format":1,"separator":","})"
                        << "\n"
                        << calculation << "\n"
                        << calculation << "\n"
                        << calculation << "\n";
    PiecesSeen seen;
    std::ostream out(&seen);
    std::istringstream in;
    std::ostringstream err;
    const std::vector<std::string> arguments{"--tolerance", "50", "--case", path};
    ASSERT_EQ(vorlanex::cli::run_calc_command(arguments, vorlanex::numeric::DecimalSeparator(","), in, out, err),
              kExitCompleted)
        << err.str();
    ASSERT_EQ(seen.pieces.size(), 7u);  // three lines, each flushed, and the command's flush at its end
    for (std::size_t i = 0; i + 1 < seen.pieces.size(); i += 2) {
        const std::string& line = seen.pieces[i];
        EXPECT_TRUE(line.starts_with("{\"line\":" + std::to_string(i / 2 + 2) + ",") && line.ends_with("}\n") &&
                    line.find('\n') == line.size() - 1)
            << line;
        EXPECT_EQ(seen.pieces[i + 1], "|");
    }
}

TEST(ToleranceCommand, CaseSamplesEveryCalculationWithTolerancesAsTheCommandLineWould) {
    const std::string header = R"({"format":1,"separator":",","case":{"title":"T"}})";
    const std::string fields = R"("fields":{"I1":"20","I2":"8","I3":"0,7","I5":"20","I6":"0,8","I7":"0,2","I8":"1"})";
    const std::string path = ::testing::TempDir() + "tolerance-case.vorlanex";
    std::ofstream(path) << header << "\n"
                        << R"({"page":"gev-definice","fields":{"I1":"30","I2":"50"}})"
                        << "\n"
                        << R"({"id":1E2,"page":"kinematika",)" << fields
                        << R"(,"tolerances":{"I4":{"distribution":"uniform","low":"14","high":"16"}}})"
                        << "\n";
    const Outcome from_case = calc({"--tolerance", "200", "--jobs", "2", "--case", path});
    const Outcome direct = calc({"--tolerance", "200", "kinematika", "I1=20", "I2=8", "I3=0,7", "I4=14..16", "I5=20",
                                 "I6=0,8", "I7=0,2", "I8=1"});
    ASSERT_EQ(from_case.exit_status, kExitCompleted) << from_case.err;
    ASSERT_EQ(direct.exit_status, kExitCompleted) << direct.err;
    EXPECT_EQ(from_case.out, R"({"line":3,"id":1E2,)" + direct.out.substr(1));

    const std::string bad = ::testing::TempDir() + "tolerance-case-bad.vorlanex";
    std::ofstream(bad) << header << "\n"
                       << R"({"page":"kinematika",)" << fields
                       << R"(,"tolerances":{"I4":{"distribution":"uniform","low":"16","high":"14"}}})"
                       << "\n";
    const Outcome refused = calc({"--tolerance", "200", "--case", bad});
    EXPECT_EQ(refused.exit_status, kExitUsage);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("line 2: "), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("'I4'"), std::string::npos) << refused.err;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--sweep", "I1=0..1/2", "--case", path},
          std::vector<std::string>{"--tolerance", "5", "--case", path + ".missing"}}) {
        const Outcome outcome = calc(arguments);
        EXPECT_EQ(outcome.exit_status, kExitUsage) << arguments[2];
        EXPECT_EQ(outcome.out, "");
    }

    // The case's report: the sampled calculation's section holds what the report of the same run
    // from the command line holds below its header; the cover states the samples, the seed and the
    // file's digest; the calculation without tolerances is not listed.
    const Outcome case_report = calc({"--tolerance", "200", "--seed", "9", "--report", "--case", path});
    const Outcome direct_report = calc({"--tolerance", "200", "--seed", "9", "--report", "kinematika", "I1=20", "I2=8",
                                        "I3=0,7", "I4=14..16", "I5=20", "I6=0,8", "I7=0,2", "I8=1"});
    ASSERT_EQ(case_report.exit_status, kExitCompleted) << case_report.err;
    const auto body = [](const std::string& html) {
        const std::size_t from = html.find("<p>Pro každý vzorek");
        return html.substr(
            from, html.find("<footer>") == std::string::npos ? std::string::npos : html.find("<footer>") - from);
    };
    const std::string section = case_report.out.substr(case_report.out.find("<section class=\"calculation\""));
    EXPECT_EQ(section.substr(section.find("<p>Pro každý vzorek"), body(direct_report.out).size()),
              body(direct_report.out));
    for (const char* expected : {"<td class=\"samples\">200</td>", "<td class=\"seed\">9</td>", "SHA-256",
                                 "ROZBOR TOLERANCÍ · ŘÁDEK 3", "--tolerance 200 --seed 9 --report --case"}) {
        EXPECT_NE(case_report.out.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(case_report.out.find("ŘÁDEK 2"), std::string::npos);
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* mentioned;
};

class ToleranceUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(ToleranceUsage, StatusTwoNothingOnStdoutMessageNamesIt) {
    const Outcome outcome = calc(GetParam().arguments);
    EXPECT_EQ(outcome.exit_status, kExitUsage);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find(GetParam().mentioned), std::string::npos) << outcome.err;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    BadInput, ToleranceUsage,
    ::testing::Values(
        UsageCase{"low_above_high", {"--tolerance", "10", "kinematika", "I1=60..40"}, "'I1': low is above high"},
        UsageCase{"sd_zero", {"--tolerance", "10", "kinematika", "I2=0,8~0"}, "'I2': the standard deviation"},
        UsageCase{"sd_negative", {"--tolerance", "10", "kinematika", "I2=0,8~-1"}, "'I2': the standard deviation"},
        UsageCase{"no_samples", {"--tolerance", "0", "kinematika", "I1=1..2"}, "--tolerance takes"},
        UsageCase{"too_many_samples", {"--tolerance", "1000000001", "kinematika", "I1=1..2"}, "--tolerance takes"},
        // 8 bytes per sample for each of 18 result fields, and once more for the field summarised: 152 GB.
        UsageCase{"more_samples_than_memory", {"--tolerance", "1000000000", "kinematika", "I1=1..2"}, "needs up to 152.0 GB of memory"},
        UsageCase{"more_samples_than_memory_on_two_threads", {"--tolerance", "1000000000", "--jobs", "2", "kinematika", "I1=1..2"}, "needs up to 160.0 GB of memory"},
        UsageCase{"samples_not_a_number", {"--tolerance", "1e6", "kinematika", "I1=1..2"}, "'1e6'"},
        UsageCase{"tolerance_on_a_result", {"--tolerance", "10", "kinematika", "R4=1..2"}, "'R4': a result field"},
        UsageCase{"tolerance_on_an_unknown_field", {"--tolerance", "10", "kinematika", "Z1=1..2"}, "Z1"},
        UsageCase{"text_not_a_number", {"--tolerance", "10", "kinematika", "I3=0,7..x"}, "'I3': high 'x'"},
        UsageCase{"point_under_comma", {"--tolerance", "10", "kinematika", "I3=0.7..0.9"}, "'I3': low '0.7'"},
        UsageCase{"field_twice", {"--tolerance", "10", "kinematika", "I1=1..2", "I1=3"}, "'I1' is given twice"},
        UsageCase{"seed_not_a_number", {"--tolerance", "10", "--seed", "-1", "kinematika"}, "--seed takes"},
        UsageCase{"seed_alone", {"--seed", "5", "kinematika"}, "--seed goes with --tolerance"},
        UsageCase{"tolerance_and_sweep", {"--tolerance", "5", "--sweep", "I1=0..1/2", "kinematika"}, "one of"},
        UsageCase{"no_page", {"--tolerance", "5"}, "PAGE"},
        UsageCase{"with_batch", {"--tolerance", "5", "--batch"}, "one of"},
        UsageCase{"sweep_of_a_result", {"--sweep", "R1=0..1/2", "kinematika"}, "'R1'"},
        UsageCase{"sweep_without_steps", {"--sweep", "I1=0..1", "kinematika"}, "FIELD=FROM..TO/STEPS"},
        UsageCase{"sweep_reversed_is_fine_but_zero_steps_not", {"--sweep", "I1=1..0/0", "kinematika"}, "STEPS"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace

namespace {

// --seed and --sweep came after --separator: its beginnings "--s" and "--se" keep their meaning.
TEST(ToleranceCommand, NewOptionsLeaveTheBeginningsOfSeparatorAlone) {
    for (const char* beginning : {"--s=.", "--se=."}) {
        const Outcome outcome =
            calc({beginning, "kinematika", "I1=20", "I2=8", "I3=0.7", "I4=15", "I5=20", "I6=0.8", "I7=0.2", "I8=1"});
        EXPECT_EQ(outcome.exit_status, kExitCompleted) << beginning << outcome.err;
    }
    EXPECT_EQ(calc({"--tol", "10", "--seed", "2", "kinematika", "I1=1..2"}).exit_status, kExitCompleted);
    EXPECT_EQ(calc({"--see", "2", "kinematika"}).exit_status, kExitUsage);
}

}  // namespace
