// Links between a case's calculations: a linked input holds exactly the text its source's field
// shows, so a chain gives what the same page typed by hand gives; the calculations run sources
// first whatever the file's order; a source that faults or leaves the field empty stops the
// calculation that takes from it and nothing else; a link given by hand is checked as the reader
// checks one.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/case_links.h"
#include "casefile/case_writer.h"
#include "casefile/linked_run.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::casefile::Calculation;
using vorlanex::casefile::CaseError;
using vorlanex::casefile::CaseFile;
using vorlanex::casefile::Link;
using vorlanex::casefile::RecordedRun;
using vorlanex::page::FieldRole;
using vorlanex::page::PageDefinition;

CaseFile read(const std::string& text) {
    auto file = vorlanex::casefile::read_case_file(text);
    if (const auto* error = std::get_if<CaseError>(&file)) ADD_FAILURE() << error->message;
    return std::get<CaseFile>(std::move(file));
}

CaseFile read_fixture(const std::string& name) {
    std::ifstream in(std::string(VORLANEX_CASES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return read(bytes.str());
}

// Each calculation's outcome by its id as written.
std::map<std::string, std::string> outcomes_by_id(const CaseFile& file) {
    const std::vector<RecordedRun> runs = vorlanex::casefile::run_case(file);
    std::map<std::string, std::string> outcomes;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        outcomes[file.calculations[i].id.value_or("")] = runs[i].outcome();
        // One calculation run with only the sources it needs gives the same, as the case window shows it.
        EXPECT_EQ(vorlanex::casefile::run_in_case(file, i).outcome(), runs[i].outcome()) << i;
    }
    return outcomes;
}

// A source for `input` among the case's runs: a field of the same unit showing a text, on another
// page where one has it, else the same input of the calculation on the same page.
std::optional<Link> source_for(const CaseFile& file, const std::vector<RecordedRun>& runs, const PageDefinition& page,
                               const vorlanex::page::Field& input) {
    std::optional<Link> same_page;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        for (const vorlanex::page::Field& field : runs[i].page().layout.fields) {
            if (field.unit != input.unit || vorlanex::casefile::taken_text(runs[i], field.id).empty()) continue;
            const Link link{std::string(input.id), *file.calculations[i].id, std::string(field.id)};
            if (&runs[i].page() != &page) return link;
            if (!same_page && field.id == input.id) same_page = link;
        }
    }
    return same_page;
}

class EveryTarget : public ::testing::TestWithParam<const PageDefinition*> {};

// Every input of the page taken from the every-page case: the run equals the page typed with the
// copied texts; the case written has format 2 and reads back with the same links and outcomes.
TEST_P(EveryTarget, LinkedInputsGiveWhatTheCopiedTextsTypedByHandGive) {
    const PageDefinition& page = *GetParam();
    CaseFile file = read_fixture("every-page.vorlanex");
    const std::vector<RecordedRun> sources = vorlanex::casefile::run_case(file);
    Calculation target = vorlanex::casefile::new_calculation(page);
    std::vector<std::pair<std::string, std::string>> copied;
    for (const vorlanex::page::Field& input : page.layout.fields) {
        if (input.role != FieldRole::Input) continue;
        const std::optional<Link> link = source_for(file, sources, page, input);
        ASSERT_TRUE(link) << input.id;
        file.calculations.push_back(target);
        EXPECT_EQ(vorlanex::casefile::check_link(file, file.calculations.size() - 1, *link), std::nullopt) << input.id;
        file.calculations.pop_back();
        target.set_link(link->input, link->from, link->field);
        const std::size_t source = *vorlanex::casefile::IdIndex(file).find(link->from);
        copied.emplace_back(link->input, vorlanex::casefile::taken_text(sources[source], link->field));
    }
    ASSERT_FALSE(copied.empty());
    file.calculations.push_back(target);

    const RecordedRun by_hand(page, copied, file.separator);
    EXPECT_EQ(vorlanex::casefile::run_case(file).back().outcome(), by_hand.outcome());

    const std::string written = vorlanex::casefile::case_file_text(file, "test");
    EXPECT_TRUE(written.starts_with(R"({"format":2,)")) << written.substr(0, 40);
    const CaseFile again = read(written);
    EXPECT_EQ(again.calculations.back().links, target.links);
    EXPECT_EQ(vorlanex::casefile::run_case(again).back().outcome(), by_hand.outcome());
}

std::vector<const PageDefinition*> pages_with_an_input() {
    std::vector<const PageDefinition*> pages;
    for (const PageDefinition* page : vorlanex::registry::calculation_pages()) {
        for (const vorlanex::page::Field& field : page->layout.fields) {
            if (field.role == FieldRole::Input) {
                pages.push_back(page);
                break;
            }
        }
    }
    return pages;
}

INSTANTIATE_TEST_SUITE_P(CaseLinks, EveryTarget, ::testing::ValuesIn(pages_with_an_input()), [](const auto& info) {
    std::string name(info.param->key);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

const std::string kFormat2 = R"({"format":2,"separator":","})"
                             "\n";
const std::string kBraking =
    R"({"id":"k","page":"kinematika","fields":{"I1":"20","I2":"8","I3":"0,7","I4":"15","I5":"20","I6":"0,8","I7":"0,2","I8":"1"}})"
    "\n";
const std::string kBrakingFaults = R"({"id":"k","page":"kinematika","fields":{"I2":"osm","I6":"0,8"}})"
                                   "\n";
const std::string kStopping =
    R"({"id":"z","page":"draha-zastaveni","fields":{"I1":"50"},"links":{"I2":{"from":"k","field":"I6"},"I3":{"from":"k","field":"I8"},"I4":{"from":"k","field":"I7"},"I5":{"from":"k","field":"R15"}}})"
    "\n";
const std::string kSpeedOfStopping =
    R"({"id":"g","page":"gev-definice","fields":{"I1":"30"},"links":{"I2":{"from":"z","field":"R1"}}})"
    "\n";
const std::string kUnlinked = R"({"id":"u","page":"gev-definice","fields":{"I1":"30","I2":"50"}})"
                              "\n";

struct NotRun {
    const char* name;
    std::string text;
    std::string id;       // the calculation that does not run, as written
    std::string outcome;  // its "events" member
};
std::ostream& operator<<(std::ostream& out, const NotRun& c) { return out << c.name; }

// clang-format off
const NotRun kNotRun[] = {
    {"AnEmptyResultOfAFaultedSource", kFormat2 + kBrakingFaults + R"({"id":"z","page":"draha-zastaveni","fields":{"I1":"50","I3":"1","I4":"0,2"},"links":{"I5":{"from":"k","field":"R15"}}})" "\n" + kUnlinked, "\"z\"", R"("events":[{"error":"vstup I5 převzatý z k.R15 je prázdný","field":"I5"}])"},
    {"AnInputOfAFaultedSource", kFormat2 + kBrakingFaults + kStopping + kUnlinked, "\"z\"", R"("events":[{"error":"vstup I2 převzatý z k.I6 nelze převzít: výpočet k skončil chybou","field":"I2"}])"},
    {"ABlankResultOfACompletedSource", kFormat2 + R"({"id":"z","page":"draha-zastaveni","fields":{"I1":"50","I3":"1","I4":"0,2"}})" "\n" + R"({"id":"g","page":"gev-definice","fields":{"I1":"30"},"links":{"I2":{"from":"z","field":"C3"}}})" "\n" + kUnlinked, "\"g\"", R"("events":[{"error":"vstup I2 převzatý z z.C3 je prázdný","field":"I2"}])"},
    {"AnEmptyTypedInputOfASource", kFormat2 + R"({"id":"u","page":"gev-definice","fields":{"I1":"","I2":"50"}})" "\n" + R"({"id":"g","page":"gev-definice","fields":{"I2":"50"},"links":{"I1":{"from":"u","field":"I1"}}})" "\n", "\"g\"", R"("events":[{"error":"vstup I1 převzatý z u.I1 je prázdný","field":"I1"}])"},
    {"ASourceNotRunStopsTheNext", kFormat2 + kBrakingFaults + kStopping + kSpeedOfStopping + kUnlinked, "\"g\"", R"("events":[{"error":"vstup I2 převzatý z z.R1 je prázdný","field":"I2"}])"},
};
// clang-format on

class SourceNotUsable : public ::testing::TestWithParam<NotRun> {};

// The calculation is not run and says why; every calculation without links runs as if alone.
TEST_P(SourceNotUsable, StopsTheLinkedCalculationAndNothingElse) {
    const CaseFile file = read(GetParam().text);
    const std::vector<RecordedRun> runs = vorlanex::casefile::run_case(file);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Calculation& calculation = file.calculations[i];
        if (calculation.id == GetParam().id) {
            EXPECT_TRUE(runs[i].outcome().starts_with(GetParam().outcome + ",\"fields\":{")) << runs[i].outcome();
            EXPECT_TRUE(runs[i].fault());
            EXPECT_TRUE(runs[i].warnings().empty());
        } else if (calculation.links.empty()) {
            const RecordedRun alone(*calculation.scenario.page, calculation.scenario.fields, file.separator);
            EXPECT_EQ(runs[i].outcome(), alone.outcome()) << *calculation.id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(CaseLinks, SourceNotUsable, ::testing::ValuesIn(kNotRun),
                         [](const auto& info) { return std::string(info.param.name); });

// The same chain in every order of its lines gives every calculation the same outcome.
TEST(CaseLinks, TheOrderOfTheLinesChangesNoOutcome) {
    const std::string k = kBraking, z = kStopping, g = kSpeedOfStopping, u = kUnlinked;
    const std::map<std::string, std::string> expected = outcomes_by_id(read(kFormat2 + k + z + g + u));
    for (const std::string& order : {g + z + k + u, z + g + u + k, g + k + z + u, u + z + k + g}) {
        EXPECT_EQ(outcomes_by_id(read(kFormat2 + order)), expected) << order;
    }
    EXPECT_EQ(expected.at("\"g\"").find("error"), std::string::npos) << "the chain runs through";
}

// A chain of 10^5 calculations written last source last: read and ordered without recursion.
TEST(CaseLinks, AChainOfAHundredThousandIsOrderedSourcesFirst) {
    constexpr int kLength = 100000;
    std::string text = kFormat2;
    for (int i = kLength - 1; i > 0; --i) {
        text += R"({"id":)" + std::to_string(i) + R"(,"page":"gev-definice","links":{"I1":{"from":)" +
                std::to_string(i - 1) + R"(,"field":"I1"}}})" + "\n";
    }
    text += R"({"id":0,"page":"gev-definice","fields":{"I1":"30"}})"
            "\n";
    const CaseFile file = read(text);
    const std::vector<std::size_t> order = vorlanex::casefile::run_order(file);
    ASSERT_EQ(order.size(), static_cast<std::size_t>(kLength));
    for (std::size_t i = 0; i < order.size(); ++i) ASSERT_EQ(order[i], order.size() - 1 - i) << i;
}

struct HandLink {
    const char* name;
    std::size_t target;
    Link link;
    std::optional<CaseError::Kind> refused;
    std::string message;
    bool writable = true;  // a link check_link refuses only because its id is no token is never written
};
std::ostream& operator<<(std::ostream& out, const HandLink& c) { return out << c.name; }

// clang-format off
const HandLink kHandLinks[] = {
    {"ASecondLinkOfTheLast", 2, {"I1", "\"z\"", "R9"}, std::nullopt, ""},
    {"AFirstLinkOfTheFirst", 0, {"I1", "\"u\"", "I2"}, std::nullopt, ""},
    {"ReplacingItsOwnLink", 1, {"I5", "\"k\"", "R14"}, std::nullopt, ""},
    {"RoundTwo", 1, {"I1", "\"g\"", "I1"}, CaseError::Kind::LinkCycle, "line 3: the links go round in a cycle: z ← g ← z"},
    {"RoundThree", 0, {"I1", "\"g\"", "I2"}, CaseError::Kind::LinkCycle, "line 2: the links go round in a cycle: k ← g ← z ← k"},
    {"ToItself", 3, {"I1", "\"u\"", "I2"}, CaseError::Kind::LinkCycle, "line 5: the links go round in a cycle: u ← u"},
    {"UnknownId", 2, {"I1", "\"x\"", "R1"}, CaseError::Kind::LinkToUnknownId, "line 4: input 'I1' takes from \"x\", the id of no calculation"},
    {"IdNotAToken", 2, {"I1", "\"k", "R1"}, CaseError::Kind::LinkToUnknownId, "line 4: input 'I1' takes from \"k, the id of no calculation", false},
    {"UnknownField", 2, {"I1", "\"k\"", "R99"}, CaseError::Kind::LinkFromUnknownField, "line 4: page 'kinematika' of \"k\" has no field 'R99'"},
    {"OntoAResult", 2, {"R1", "\"k\"", "R11"}, CaseError::Kind::LinkOntoNoInput, "line 4: page 'gev-definice' has no input field 'R1' to take a text into"},
    {"MetresIntoKmPerHour", 2, {"I1", "\"k\"", "R15"}, CaseError::Kind::LinkUnitsDiffer, "line 4: field R15 [m] of \"k\" cannot be taken into input I1 [km/h]"},
};
// clang-format on

class LinkByHand : public ::testing::TestWithParam<HandLink> {};

TEST_P(LinkByHand, IsCheckedAsTheReaderChecksALink) {
    const CaseFile file = read(kFormat2 + kBraking + kStopping + kSpeedOfStopping + kUnlinked);
    const std::optional<CaseError> error = vorlanex::casefile::check_link(file, GetParam().target, GetParam().link);
    ASSERT_EQ(error.has_value(), GetParam().refused.has_value()) << (error ? error->message : "");
    if (!error) return;
    EXPECT_EQ(error->kind, *GetParam().refused);
    EXPECT_TRUE(error->message.starts_with(GetParam().message)) << error->message;
    if (!GetParam().writable) return;
    // The same link written into the file is refused by the reader with the same words.
    CaseFile linked = file;
    linked.calculations[GetParam().target].set_link(GetParam().link.input, GetParam().link.from, GetParam().link.field);
    auto reread = vorlanex::casefile::read_case_file(vorlanex::casefile::case_file_text(linked, "test"));
    ASSERT_TRUE(std::holds_alternative<CaseError>(reread));
    EXPECT_EQ(std::get<CaseError>(reread).message, error->message);
}

INSTANTIATE_TEST_SUITE_P(CaseLinks, LinkByHand, ::testing::ValuesIn(kHandLinks),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
