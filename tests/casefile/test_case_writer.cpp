// The case as the window edits it, written back: a calculation not edited keeps its line as
// written (and the blank lines before it), an edited one is written anew, and whatever is written
// reads back as the same case with the lines number_lines gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/case_writer.h"
#include "casefile/recorded_run.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::casefile::CaseFile;

constexpr std::string_view kHeader = R"({"format":1,"separator":","})";
const std::string kWritten = std::string(kHeader) + "\n\n" +
                             R"({"id":1E2, "page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n" +
                             R"({"page":"ees-katalog","fields":{}})" + "\n";

CaseFile read(const std::string& text) {
    auto file = vorlanex::casefile::read_case_file(text);
    EXPECT_TRUE(std::holds_alternative<CaseFile>(file));
    return std::get<CaseFile>(std::move(file));
}

// The written text with each "recorded" outcome cut off, which the outcome tests check elsewhere.
std::string without_outcomes(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        std::string line = text.substr(at, end - at);
        if (const std::size_t recorded = line.find(R"(,"recorded":)"); recorded != std::string::npos) {
            line = line.substr(0, recorded) + "}";
        }
        out += line + "\n";
        at = end + 1;
    }
    return out;
}

struct Edit {
    const char* name;
    std::function<void(CaseFile&)> edit;
    std::string expected;  // the text written, outcomes cut off
};
std::ostream& operator<<(std::ostream& out, const Edit& edit) { return out << edit.name; }

// The case written once the ees-katalog calculation's I3 takes `field` of the calculation 1E2.
std::string linked_ees(const std::string& field) {
    return std::string(R"({"format":2,"separator":","})") + "\n" +
           R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n" +
           R"({"page":"ees-katalog","fields":{},"links":{"I3":{"from":1E2,"field":")" + field + R"("}}})" + "\n";
}

const Edit kEdits[] = {
    {"NothingEditedKeepsEveryLineAsWritten", [](CaseFile&) {},
     std::string(kHeader) + "\n\n" + R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n" +
         R"({"page":"ees-katalog","fields":{}})" + "\n"},
    {"ATypedTextWritesTheLineAnew", [](CaseFile& file) { file.calculations[0].set_text("I2", "50"); },
     std::string(kHeader) + "\n" + R"({"id":1E2,"note":"n","page":"gev-definice","fields":{"I1":"30","I2":"50"}})" +
         "\n" + R"({"page":"ees-katalog","fields":{}})" + "\n"},
    {"AnEmptyTitleIsNone",
     [](CaseFile& file) { file.calculations[1].set_description(&vorlanex::casefile::Calculation::title, ""); },
     std::string(kHeader) + "\n" + R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n" +
         R"({"page":"ees-katalog","fields":{}})" + "\n"},
    {"ACopyHasNoIdAndIsWrittenAnew",
     [](CaseFile& file) { file.calculations.push_back(vorlanex::casefile::copy_of(file.calculations[0])); },
     std::string(kHeader) + "\n" + R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n" +
         R"({"page":"ees-katalog","fields":{}})" + "\n" + R"({"note":"n","page":"gev-definice","fields":{"I1":"30"}})" +
         "\n"},
    {"MovedLinesLoseTheBlankLines", [](CaseFile& file) { std::swap(file.calculations[0], file.calculations[1]); },
     std::string(kHeader) + "\n" + R"({"page":"ees-katalog","fields":{}})" + "\n" +
         R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n"},
    {"ATypedToleranceInNamedForm",
     [](CaseFile& file) { EXPECT_FALSE(file.calculations[1].set_tolerance("I1", "45..55", file.separator)); },
     std::string(kHeader) + "\n" + R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n" +
         R"({"page":"ees-katalog","fields":{},"tolerances":{"I1":{"distribution":"uniform","low":"45","high":"55"}}})" +
         "\n"},
    {"TheDescriptionWritesTheCasesLineAnew",
     [](CaseFile& file) {
         vorlanex::casefile::CaseHeader header;
         header.reference = "ZP 1/2026";
         EXPECT_TRUE(vorlanex::casefile::set_case_header(file, header));
         EXPECT_FALSE(vorlanex::casefile::set_case_header(file, header));
     },
     std::string(R"({"format":1,"separator":",","case":{"reference":"ZP 1/2026"}})") + "\n\n" +
         R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n" +
         R"({"page":"ees-katalog","fields":{}})" + "\n"},
    {"ALinkWritesFormatTwoAndTheLinkedInputKeepsNoTypedText",
     [](CaseFile& file) {
         file.calculations[1].set_text("I3", "40");
         file.calculations[1].set_link("I3", "1E2", "I1");
     },
     linked_ees("I1")},
    {"ALinkSetAgainReplacesTheFirst",
     [](CaseFile& file) {
         file.calculations[1].set_link("I3", "1E2", "I1");
         file.calculations[1].set_link("I3", "1E2", "I2");
     },
     linked_ees("I2")},
    {"TheLastLinkRemovedWritesFormatOneAgain",
     [](CaseFile& file) {
         file.calculations[1].set_link("I3", "1E2", "I1");
         file.calculations[1].remove_link("I3");
     },
     std::string(kHeader) + "\n" + R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n" +
         R"({"page":"ees-katalog","fields":{}})" + "\n"},
};

class CaseEdited : public ::testing::TestWithParam<Edit> {};

TEST_P(CaseEdited, IsWrittenAsEditedAndReadsBackWithItsLines) {
    CaseFile file = read(kWritten);
    GetParam().edit(file);
    const std::string text = vorlanex::casefile::case_file_text(file, "test");
    EXPECT_EQ(without_outcomes(text), GetParam().expected);
    const CaseFile again = read(text);
    vorlanex::casefile::number_lines(file);
    ASSERT_EQ(again.calculations.size(), file.calculations.size());
    for (std::size_t i = 0; i < file.calculations.size(); ++i) {
        EXPECT_EQ(again.calculations[i].line, file.calculations[i].line) << i;
        EXPECT_EQ(again.calculations[i].scenario.fields, file.calculations[i].scenario.fields) << i;
        EXPECT_EQ(again.calculations[i].links, file.calculations[i].links) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(CaseWriter, CaseEdited, ::testing::ValuesIn(kEdits),
                         [](const ::testing::TestParamInfo<Edit>& info) { return std::string(info.param.name); });

TEST(CaseWriter, ANewCaseOfEveryPageRunsOnceAndRecordsWhatItsRunsShowed) {
    CaseFile file = vorlanex::casefile::new_case(vorlanex::numeric::DecimalSeparator(","));
    for (const vorlanex::page::PageDefinition* page : vorlanex::registry::calculation_pages()) {
        file.calculations.push_back(vorlanex::casefile::new_calculation(*page));
    }
    const auto runs = vorlanex::casefile::run_case(file);
    const CaseFile saved = read(vorlanex::casefile::case_file_text(file, "test", runs));
    ASSERT_EQ(saved.calculations.size(), runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const auto& recorded = *saved.calculations[i].recorded;
        EXPECT_EQ(R"("events":)" + recorded.events + R"(,"fields":)" + recorded.fields, runs[i].outcome()) << i;
    }
}

// The outcomes a caller kept from its runs, given to the writer instead of running: none where the
// calculation's line as written is the very line the writer writes.
std::vector<std::optional<std::string>> kept_outcomes(const CaseFile& file, std::string_view program) {
    std::vector<std::optional<std::string>> outcomes;
    for (const auto& run : vorlanex::casefile::run_case(file)) {
        const auto& calculation = file.calculations[outcomes.size()];
        const bool as_written =
            !calculation.written.empty() &&
            calculation.written == vorlanex::casefile::calculation_line(calculation, program, run.outcome());
        outcomes.push_back(as_written ? std::nullopt : std::optional<std::string>(run.outcome()));
    }
    return outcomes;
}

struct KeptCase {
    const char* name;
    std::string program;                  // the program that writes the case again
    std::function<void(CaseFile&)> edit;  // after the case was written once by "1.0" and read back
    std::size_t kept_as_written;          // the calculations that need no outcome of their own
};
std::ostream& operator<<(std::ostream& out, const KeptCase& kept) { return out << kept.name; }

// clang-format off
const KeptCase kKeptCases[] = {
    {"RecordedByThisProgram",    "1.0", [](CaseFile&) {},                                                      2},
    {"OneEdited",                "1.0", [](CaseFile& file) { file.calculations[0].set_text("I2", "60"); },     1},
    {"RecordedByAnotherProgram", "1.1", [](CaseFile&) {},                                                      0},
    {"LineWrittenWithSpaces",    "1.0", [](CaseFile& file) { file.calculations[1].written.insert(1, " "); },   1},
    {"OneAddedAndOneMoved",      "1.0", [](CaseFile& file) {
         file.calculations.insert(file.calculations.begin(), vorlanex::casefile::copy_of(file.calculations[1]));
     }, 2},
};
// clang-format on

class OutcomesKept : public ::testing::TestWithParam<KeptCase> {};

TEST_P(OutcomesKept, GiveTheTextTheRunsGiveWithoutRunning) {
    const KeptCase& kept = GetParam();
    CaseFile file = read(vorlanex::casefile::case_file_text(read(kWritten), "1.0"));
    kept.edit(file);
    const auto outcomes = kept_outcomes(file, kept.program);
    EXPECT_EQ(static_cast<std::size_t>(std::count(outcomes.begin(), outcomes.end(), std::nullopt)),
              kept.kept_as_written);
    const long long runs_before = vorlanex::casefile::RecordedRun::made();
    EXPECT_EQ(vorlanex::casefile::case_file_text(file, kept.program, outcomes),
              vorlanex::casefile::case_file_text(file, kept.program));
    EXPECT_EQ(vorlanex::casefile::RecordedRun::made() - runs_before, static_cast<long long>(file.calculations.size()));
}

INSTANTIATE_TEST_SUITE_P(CaseWriter, OutcomesKept, ::testing::ValuesIn(kKeptCases),
                         [](const ::testing::TestParamInfo<KeptCase>& info) { return std::string(info.param.name); });

TEST(CaseWriter, ACalculationWithNeitherOutcomeNorLineAsWrittenIsRunAsItIsWritten) {
    CaseFile file = read(kWritten);
    file.calculations[0].set_text("I2", "60");
    file.calculations[1].set_text("I1", "1000");
    const std::vector<std::optional<std::string>> none(file.calculations.size());
    EXPECT_EQ(vorlanex::casefile::case_file_text(file, "1.0", none), vorlanex::casefile::case_file_text(file, "1.0"));
}

// The outcome recorded before is replaced, however its key is written.
TEST(CaseWriter, AnOutcomeRecordedBeforeIsReplacedWhateverItsKeysSpelling) {
    for (const std::string key : {R"("recorded")", R"("recor\u0064ed")"}) {
        SCOPED_TRACE(key);
        const std::string text = std::string(kHeader) + "\n" + R"({"page":"gev-definice","fields":{"I1":"30"},)" + key +
                                 R"(:{"program":"0.9","events":[],"fields":{}}})" + "\n";
        const std::string written = vorlanex::casefile::case_file_text(read(text), "2.0");
        EXPECT_EQ(written.find("0.9"), std::string::npos) << written;
        EXPECT_EQ(read(written).calculations.at(0).recorded->program, "2.0");
    }
}

}  // namespace
