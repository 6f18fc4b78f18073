// vorlanex-calc once for every page of the registry: the page is listed with every field of its
// layout, and its worked example prints exactly the transcript of the headless run.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/calc_command.h"
#include "registry/page_tree.h"
#include "tests/support/page_runs.h"

namespace {

using nlohmann::json;
namespace page = vorlanex::page;
using namespace vorlanex::testing;

std::vector<json> run(const std::vector<std::string>& arguments, int expected_status) {
    std::istringstream in;
    std::ostringstream out, err;
    const int status =
        vorlanex::cli::run_calc_command(arguments, vorlanex::numeric::DecimalSeparator(","), in, out, err);
    EXPECT_EQ(status, expected_status) << err.str();
    std::vector<json> lines;
    std::istringstream printed(out.str());
    for (std::string line; std::getline(printed, line);) lines.push_back(json::parse(line));
    return lines;
}

class EveryPageCommand : public ::testing::TestWithParam<const page::PageDefinition*> {};

TEST_P(EveryPageCommand, WorkedExamplePrintsTheTranscriptOfTheHeadlessRun) {
    const page::PageDefinition& definition = *GetParam();
    RecordingPort headless(definition);
    std::vector<std::string> arguments{std::string(definition.key)};
    for (const page::FieldText& typed : definition.worked_example) {
        headless.type(typed.id, typed.text);
        arguments.push_back(std::string(typed.id) + "=" + std::string(typed.text));
    }
    std::vector<json> expected;
    for (const Event& event : headless.press_calculate()) {
        if (event.kind == "set") expected.push_back(json{{"set", event.field}, {"text", event.text}});
        if (event.kind == "warning") expected.push_back(json{{"warning", event.text}});
        if (event.kind == "error") expected.push_back(json{{"error", event.text}});
    }
    EXPECT_EQ(run(arguments, vorlanex::cli::kExitCompleted), expected);
}

TEST_P(EveryPageCommand, ListShowsEveryFieldOnceWithItsNameAndUnit) {
    const page::PageDefinition& definition = *GetParam();
    for (const json& listed : run({"--list"}, vorlanex::cli::kExitCompleted)) {
        if (listed["page"] != definition.key) continue;
        ASSERT_EQ(listed["fields"].size(), definition.layout.fields.size());
        std::set<std::string> ids, names;
        for (const json& field : listed["fields"]) {
            EXPECT_TRUE(ids.insert(field["id"].get<std::string>()).second) << field["id"];
            EXPECT_TRUE(names.insert(field["name"].get<std::string>()).second) << field["name"];
            EXPECT_FALSE(field["unit"].get<std::string>().empty()) << field["id"];
        }
        json example = json::object();
        for (const page::FieldText& typed : definition.worked_example) example[std::string(typed.id)] = typed.text;
        EXPECT_EQ(listed["worked_example"], example);
        return;
    }
    ADD_FAILURE() << "--list does not show " << definition.key;
}

TEST_P(EveryPageCommand, HelpNamesThePage) {
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(vorlanex::cli::run_calc_command(std::vector<std::string>{"--help"},
                                              vorlanex::numeric::DecimalSeparator(","), in, out, err),
              vorlanex::cli::kExitCompleted);
    // "a, b, ... y or z"
    const std::string key(GetParam()->key);
    const std::string help = out.str();
    EXPECT_TRUE(help.find(" " + key + ",") != std::string::npos || help.find(" " + key + " or ") != std::string::npos ||
                help.find(" or " + key + "\n") != std::string::npos)
        << key;
}

std::string page_name(const ::testing::TestParamInfo<const page::PageDefinition*>& info) {
    std::string name(info.param->key);
    for (char& c : name) {
        if (c == '-') c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryPageCommand, ::testing::ValuesIn(vorlanex::registry::calculation_pages()),
                         page_name);

}  // namespace
