// The settings of a calculation's kept analyses in its line: read strictly, each fault named with
// its line; a line not edited keeps them as written, an edited one writes them anew in one form;
// what is written reads back as the same settings.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>

#include "casefile/case_file.h"
#include "casefile/case_writer.h"

namespace {

using vorlanex::casefile::Analyses;
using vorlanex::casefile::CaseError;
using vorlanex::casefile::CaseFile;
using vorlanex::casefile::SweepAnalysis;
using vorlanex::casefile::ToleranceAnalysis;

constexpr std::string_view kHeader = R"({"format":1,"separator":","})";
const std::string kKinematics = R"({"page":"kinematika","fields":{"I1":"20"},)";

std::string one_calculation(const std::string& line) { return std::string(kHeader) + "\n" + line + "\n"; }

// The written text of the case's one calculation, its "recorded" outcome cut off.
std::string written_line(const CaseFile& file) {
    const std::string text = vorlanex::casefile::case_file_text(file, "test");
    const std::size_t start = text.find('\n') + 1;
    const std::string line = text.substr(start, text.find('\n', start) - start);
    return line.substr(0, line.find(R"(,"recorded":)")) + "}";
}

struct RoundTrip {
    const char* name;
    std::string line;
    std::function<void(CaseFile&)> edit;
    std::string written;  // the line as written back, outcome cut off
    Analyses read_back;
};
std::ostream& operator<<(std::ostream& out, const RoundTrip& trip) { return out << trip.name; }

const std::string kOddlyWritten = kKinematics +
                                  R"("analyses":{"sweep":{"to":"50","field":"I1","from":"10","steps":100}, )" +
                                  R"("tolerance":{"seed":"18446744073709551615","samples":500}}})";
const Analyses kOddlyWrittenSettings{ToleranceAnalysis{500, 18446744073709551615ULL},
                                     SweepAnalysis{"I1", "10", "50", 100}};

const RoundTrip kRoundTrips[] = {
    {"NotEditedKeepsTheMemberAsWritten", kOddlyWritten, [](CaseFile&) {}, kOddlyWritten, kOddlyWrittenSettings},
    {"EditedWritesItAnewInOneForm", kOddlyWritten, [](CaseFile& file) { file.calculations[0].set_text("I2", "8"); },
     kKinematics.substr(0, kKinematics.size() - 2) +
         R"(,"I2":"8"},"analyses":{"tolerance":{"samples":500,"seed":"18446744073709551615"},)" +
         R"("sweep":{"field":"I1","from":"10","to":"50","steps":100}}})",
     kOddlyWrittenSettings},
    {"SetOnACalculationWithoutAfterItsTolerances",
     kKinematics + R"("tolerances":{"I4":{"distribution":"uniform","low":"14","high":"16"}}})",
     [](CaseFile& file) {
         file.calculations[0].set_analyses(Analyses{std::nullopt, SweepAnalysis{"I3", "0,5", "0,9", 4}});
     },
     kKinematics + R"("tolerances":{"I4":{"distribution":"uniform","low":"14","high":"16"}},)" +
         R"("analyses":{"sweep":{"field":"I3","from":"0,5","to":"0,9","steps":4}}})",
     Analyses{std::nullopt, SweepAnalysis{"I3", "0,5", "0,9", 4}}},
    {"NoneLeftLeavesTheMemberOut", kOddlyWritten, [](CaseFile& file) { file.calculations[0].set_analyses({}); },
     kKinematics.substr(0, kKinematics.size() - 1) + "}", Analyses{}},
    {"AQuotedTextIsWrittenEscaped", kKinematics + R"("note":"x"})",
     [](CaseFile& file) {
         file.calculations[0].set_analyses(Analyses{ToleranceAnalysis{1, 0}, SweepAnalysis{"I1", "1\"0", "2", 1}});
     },
     "", Analyses{}},
};

class AnalysesRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(AnalysesRoundTrip, WritesAndReadsBack) {
    const RoundTrip& trip = GetParam();
    auto read = vorlanex::casefile::read_case_file(one_calculation(trip.line));
    ASSERT_TRUE(std::holds_alternative<CaseFile>(read)) << std::get<CaseError>(read).message;
    CaseFile file = std::get<CaseFile>(std::move(read));
    trip.edit(file);
    const std::string written = written_line(file);
    if (trip.written.empty()) {
        // A text that is no number refuses the line: what the window never writes, the reader never takes.
        auto again = vorlanex::casefile::read_case_file(one_calculation(written));
        ASSERT_TRUE(std::holds_alternative<CaseError>(again));
        EXPECT_EQ(std::get<CaseError>(again).kind, CaseError::Kind::BadAnalyses);
        return;
    }
    EXPECT_EQ(written, trip.written);
    auto again = vorlanex::casefile::read_case_file(vorlanex::casefile::case_file_text(file, "test"));
    ASSERT_TRUE(std::holds_alternative<CaseFile>(again)) << std::get<CaseError>(again).message;
    EXPECT_EQ(std::get<CaseFile>(again).calculations.at(0).analyses, trip.read_back);
}

INSTANTIATE_TEST_SUITE_P(CaseFile, AnalysesRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

struct Refusal {
    const char* name;
    std::string analyses;  // the member's value
    const char* message;   // a part of the message after "line 2: "
};
std::ostream& operator<<(std::ostream& out, const Refusal& refusal) { return out << refusal.name; }

// clang-format off
const Refusal kRefusals[] = {
    {"NotAnObject",          R"([])",                                          "\"analyses\" must be an object"},
    {"Empty",                R"({})",                                          "holding \"tolerance\", \"sweep\" or both"},
    {"UnknownAnalysis",      R"({"tolerances":{}})",                           "unknown member 'tolerances' in \"analyses\""},
    {"ToleranceNotObject",   R"({"tolerance":10000})",                         "\"tolerance\" in \"analyses\" must be an object"},
    {"UnknownSetting",       R"({"tolerance":{"samples":1,"seed":"1","jobs":2}})", "unknown member 'jobs' in \"tolerance\""},
    {"NoSamples",            R"({"tolerance":{"seed":"1"}})",                  "\"samples\" of the tolerance analysis"},
    {"NoSamplesAtAll",       R"({"tolerance":{"samples":0,"seed":"1"}})",      "from 1 to 1000000000"},
    {"TooManySamples",       R"({"tolerance":{"samples":1000000001,"seed":"1"}})", "from 1 to 1000000000"},
    {"SamplesAFraction",     R"({"tolerance":{"samples":1.5,"seed":"1"}})",    "\"samples\" of the tolerance analysis"},
    {"SamplesInExponent",    R"({"tolerance":{"samples":1E4,"seed":"1"}})",    "written in digits"},
    {"SamplesNegative",      R"({"tolerance":{"samples":-1,"seed":"1"}})",     "\"samples\" of the tolerance analysis"},
    {"SamplesAText",         R"({"tolerance":{"samples":"100","seed":"1"}})",  "\"samples\" of the tolerance analysis"},
    {"NoSeed",               R"({"tolerance":{"samples":100}})",               "\"seed\" of the tolerance analysis"},
    {"SeedANumber",          R"({"tolerance":{"samples":100,"seed":1}})",      "\"seed\" of the tolerance analysis"},
    {"SeedNotDigits",        R"({"tolerance":{"samples":100,"seed":"-1"}})",   "\"seed\" of the tolerance analysis"},
    {"SeedBeyond64Bits",     R"({"tolerance":{"samples":100,"seed":"18446744073709551616"}})", "18446744073709551615"},
    {"SweepNotObject",       R"({"sweep":"I1=10..50/100"})",                   "\"sweep\" in \"analyses\" must be an object"},
    {"SweepWithoutField",    R"({"sweep":{"from":"10","to":"50","steps":4}})", "needs \"field\", a string"},
    {"SweepFromANumber",     R"({"sweep":{"field":"I1","from":10,"to":"50","steps":4}})", "needs \"from\", a string"},
    {"SweepOfAResult",       R"({"sweep":{"field":"R1","from":"10","to":"50","steps":4}})", "field 'R1' is no input field of page 'kinematika'"},
    {"SweepOfNoField",       R"({"sweep":{"field":"I99","from":"10","to":"50","steps":4}})", "field 'I99' is no input field"},
    {"SweepFromNoNumber",    R"({"sweep":{"field":"I1","from":"deset","to":"50","steps":4}})", "\"from\" of the sweep analysis is not a number: 'deset'"},
    {"SweepToWithTheDot",    R"({"sweep":{"field":"I1","from":"10","to":"50.5","steps":4}})", "\"to\" of the sweep analysis is not a number: '50.5'"},
    {"SweepNoSteps",         R"({"sweep":{"field":"I1","from":"10","to":"50"}})", "\"steps\" of the sweep analysis"},
    {"SweepZeroSteps",       R"({"sweep":{"field":"I1","from":"10","to":"50","steps":0}})", "from 1 to 100000"},
    {"SweepTooManySteps",    R"({"sweep":{"field":"I1","from":"10","to":"50","steps":100001}})", "from 1 to 100000"},
    {"SweepStepsAText",      R"({"sweep":{"field":"I1","from":"10","to":"50","steps":"4"}})", "\"steps\" of the sweep analysis"},
    {"SweepUnknownSetting",  R"({"sweep":{"field":"I1","from":"10","to":"50","steps":4,"chart":"R1"}})", "unknown member 'chart' in \"sweep\""},
};
// clang-format on

class AnalysesRefused : public ::testing::TestWithParam<Refusal> {};

TEST_P(AnalysesRefused, NamesTheLineAndTheFault) {
    const Refusal& refusal = GetParam();
    auto read =
        vorlanex::casefile::read_case_file(one_calculation(kKinematics + R"("analyses":)" + refusal.analyses + "}"));
    ASSERT_TRUE(std::holds_alternative<CaseError>(read));
    const CaseError& error = std::get<CaseError>(read);
    EXPECT_EQ(error.kind, CaseError::Kind::BadAnalyses) << error.message;
    EXPECT_EQ(error.line, 2);
    EXPECT_TRUE(error.message.starts_with("line 2: ")) << error.message;
    EXPECT_NE(error.message.find(refusal.message), std::string::npos) << error.message;
    EXPECT_EQ(error.detail, error.message.substr(8));
}

INSTANTIATE_TEST_SUITE_P(CaseFile, AnalysesRefused, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
