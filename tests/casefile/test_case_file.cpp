// The case file through the command, in-process: --case gives the batch's own lines, --record and
// then --verify is all the same, a tampered recorded text is named with both texts, and every
// faulty file is refused whole, naming its line, with nothing printed; the report of a case with kept
// analyses holds them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "casefile/case_file.h"
#include "casefile/file_digest.h"
#include "cli/calc_command.h"
#include "cli/exit_status.h"
#include "tolerance/statistics.h"

namespace {

using vorlanex::numeric::DecimalSeparator;

struct Ran {
    int status;
    std::string out, err;
};

Ran command(std::vector<std::string> arguments, const std::string& in = {}) {
    std::istringstream input(in);
    std::ostringstream out, err;
    // The machine's regional separator is ".": a case runs with its own.
    const int status = vorlanex::cli::run_calc_command(arguments, DecimalSeparator("."), input, out, err);
    return {status, out.str(), err.str()};
}

// A case file written to a temporary file for the test's life.
class TemporaryCase {
public:
    explicit TemporaryCase(const std::string& bytes) {
        char name[] = "/tmp/vorlanex-case-XXXXXX";
        const int descriptor = mkstemp(name);
        path_ = name;
        close(descriptor);
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~TemporaryCase() { std::remove(path_.c_str()); }
    TemporaryCase(const TemporaryCase&) = delete;
    TemporaryCase& operator=(const TemporaryCase&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

const std::string kEveryPage = std::string(VORLANEX_CASES_DIR) + "/every-page.vorlanex";
constexpr std::string_view kHeader = R"({"format":1,"separator":","})";
constexpr std::string_view kGev = R"({"id":"g","page":"gev-definice","fields":{"I1":"30","I2":"50"}})";

TEST(CaseFile, CaseGivesTheBatchsLinesWithTheCasesSeparator) {
    std::string batch_input;
    std::ifstream file(kEveryPage);
    std::string line;
    std::getline(file, line);  // the case's own line
    batch_input += "\n";       // so that the batch counts lines as the case does
    while (std::getline(file, line)) {
        const std::size_t tolerances = line.find(R"(,"tolerances")");
        batch_input += (tolerances == std::string::npos ? line : line.substr(0, tolerances) + "}") + "\n";
    }
    const Ran run_case = command({"--case", kEveryPage});
    EXPECT_EQ(run_case.status, vorlanex::cli::kExitCompleted) << run_case.err;
    // The batch, told the case's separator, and with the "title" and "note" it has no use for.
    std::string plain;
    for (std::istringstream lines(batch_input); std::getline(lines, line);) {
        for (const char* member : {"title", "note"}) {
            const std::size_t at = line.find(std::string(",\"") + member + "\":\"");
            if (at != std::string::npos) line.erase(at, line.find("\",", at + 4) + 1 - at);
        }
        plain += line + "\n";
    }
    const Ran batch = command({"--separator", ",", "--batch"}, plain);
    EXPECT_EQ(run_case.out, batch.out);
    EXPECT_NE(run_case.out.find(R"("R2":"42,702")"), std::string::npos) << "read with the case's comma";
}

// Every member of the case's description is read by its key into its place.
TEST(CaseFile, TheCasesDescriptionIsReadMemberByMember) {
    std::string described;
    for (const vorlanex::casefile::CaseHeaderMember& member : vorlanex::casefile::kCaseHeaderMembers) {
        described +=
            (described.empty() ? "\"" : ",\"") + std::string(member.key) + "\":\"" + std::string(member.key) + "…\"";
    }
    const auto read =
        vorlanex::casefile::read_case_file(R"({"format":1,"separator":",","case":{)" + described + "}}\n");
    ASSERT_TRUE(std::holds_alternative<vorlanex::casefile::CaseFile>(read));
    const vorlanex::casefile::CaseHeader& header = std::get<vorlanex::casefile::CaseFile>(read).header;
    for (const vorlanex::casefile::CaseHeaderMember& member : vorlanex::casefile::kCaseHeaderMembers) {
        EXPECT_EQ(header.*member.text, std::string(member.key) + "…");
    }
}

TEST(CaseFile, RecordThenVerifyIsAllTheSameAndATamperedTextIsNamed) {
    const Ran recorded = command({"--case", kEveryPage, "--record"});
    ASSERT_EQ(recorded.status, vorlanex::cli::kExitCompleted) << recorded.err;
    const TemporaryCase kept(recorded.out);
    EXPECT_EQ(command({"--case", kept.path(), "--record"}).out, recorded.out) << "recording again changes nothing";
    const Ran verified = command({"--verify", kept.path()});
    EXPECT_EQ(verified.status, vorlanex::cli::kExitCompleted);
    EXPECT_EQ(verified.out.find(R"("same":false)"), std::string::npos) << verified.out;

    std::string tampered = recorded.out;
    const std::string field = R"("R2":"42,702")";
    tampered.replace(tampered.find(field), field.size(), R"("R2":"42,703")");
    const TemporaryCase changed(tampered);
    const Ran found = command({"--verify", changed.path()});
    EXPECT_EQ(found.status, vorlanex::cli::kExitFault);
    EXPECT_NE(found.out.find(R"({"line":2,"id":"kinematika","same":false,"program":")"), std::string::npos);
    EXPECT_NE(found.out.find(R"("fields":{"R2":{"recorded":"42,703","now":"42,702"}}})"), std::string::npos)
        << found.out;

    const Ran nothing = command({"--verify", kEveryPage});
    EXPECT_EQ(nothing.status, vorlanex::cli::kExitFault);
    EXPECT_NE(nothing.out.find(R"({"line":2,"id":"kinematika","same":false,"recorded":null})"), std::string::npos);
}

TEST(CaseFile, RecordKeepsEveryMemberAsWrittenAndTheBlankLines) {
    const TemporaryCase written(std::string(kHeader) + "\n\n" +
                                R"({"id":1E2, "page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n"})" + "\n");
    const Ran recorded = command({"--case", written.path(), "--record"});
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    EXPECT_TRUE(recorded.out.starts_with(
        std::string(kHeader) + "\n\n" +
        R"({"id":1E2,"page":"gev-definice","fields":{"I1":"3\u0030"},"note":"n","recorded":{"program":")"))
        << recorded.out;
    EXPECT_TRUE(command({"--case", written.path()}).out.starts_with(R"({"line":3,"id":1E2,"events":)"));
}

struct BadCase {
    std::string name;
    std::string bytes;
    std::string message;  // a part of the usage error
};
std::ostream& operator<<(std::ostream& out, const BadCase& c) { return out << c.name; }

const std::string kLine2 = std::string(kHeader) + "\n";
// A case of format 2 whose line 2 is the calculation "k" of page kinematika.
const std::string kLinked =
    std::string(R"({"format":2,"separator":","})") + "\n" + R"({"id":"k","page":"kinematika"})" + "\n";
// A gev-definice calculation `id` whose I1 takes field I1 of `from`.
std::string takes(const std::string& id, const std::string& from) {
    return R"({"id":")" + id + R"(","page":"gev-definice","links":{"I1":{"from":")" + from + R"(","field":"I1"}}})" +
           "\n";
}

// `levels` values nested each in the one before: "[[[…]]]", "{"a":{"a":…}}".
std::string nested(std::string_view open, std::string_view close, int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i) text += open;
    text += "1";
    for (int i = 0; i < levels; ++i) text += close;
    return text;
}
const std::string kDeepArrays = nested("[", "]", 150000);
const std::string kDeepObjects = nested(R"({"a":)", "}", 150000);
// clang-format off
const BadCase kBadCases[] = {
    {"empty_file", "", "the case file is empty"},
    {"only_blanks", "\n \n", "the case file is empty"},
    {"invalid_utf8", kLine2 + R"({"page":"gev-definice","title":")" + "\xc3\x28" + "\"}\n", "line 2: the text is not valid UTF-8"},
    {"not_json", kLine2 + "{page}\n", "line 2: the line is not valid JSON"},
    {"not_an_object", kLine2 + "[1]\n", "line 2: the line is not a JSON object"},
    {"unknown_page", kLine2 + R"({"page":"kinematic"})" + "\n", "line 2: unknown page 'kinematic'"},
    {"unknown_field", kLine2 + R"({"page":"gev-definice","fields":{"X9":"1"}})" + "\n", "line 2: page 'gev-definice' has no field 'X9'"},
    {"unknown_member", kLine2 + R"({"page":"gev-definice","colour":"red"})" + "\n", "line 2: unknown member 'colour'"},
    {"unknown_member_of_recorded", kLine2 + R"({"page":"gev-definice","recorded":{"program":"1","events":[],"fields":{},"x":1}})" + "\n", "line 2: unknown member 'x' in \"recorded\""},
    {"unknown_member_of_case", R"({"format":1,"separator":",","case":{"judge":"x"}})" "\n", "line 1: unknown member 'judge' in \"case\""},
    {"case_member_not_text", R"({"format":1,"separator":",","case":{"created":20260314}})" "\n", "line 1: \"created\" must be a string"},
    {"newer_format", R"({"format":3,"separator":",","colour":1})" "\n", "line 1: this file is of format 3; this version of Vorlanex reads formats 1 and 2"},
    {"no_format", R"({"separator":","})" "\n", "line 1: the case has no \"format\""},
    {"no_separator", R"({"format":1})" "\n", "line 1: the case needs \"separator\""},
    {"separator_a_digit", R"({"format":1,"separator":"5"})" "\n", "line 1: \"separator\" must be one visible character"},
    {"separator_a_minus_sign", R"({"format":1,"separator":"−"})" "\n", "line 1: \"separator\" must be one visible character"},
    {"first_line_a_calculation", std::string(kGev) + "\n", "line 1: the case has no \"format\""},
    {"second_case_line", kLine2 + std::string(kHeader) + "\n", "line 2: unknown member 'format' (only the first line is the case)"},
    {"duplicated_id", kLine2 + std::string(kGev) + "\n" + std::string(kGev) + "\n", "line 3: the id \"g\" is given to an earlier calculation too"},
    {"key_given_twice", kLine2 + R"({"page":"gev-definice","page":"ees-katalog"})" + "\n", "line 2: 'page' is given twice"},
    {"field_given_twice", kLine2 + R"({"page":"gev-definice","fields":{"I1":"1","I1":"2"}})" + "\n", "line 2: 'I1' is given twice"},
    {"text_not_a_string", kLine2 + R"({"page":"gev-definice","fields":{"I1":1}})" + "\n", "line 2: the text of field 'I1' must be a string"},
    {"no_page", kLine2 + R"({"id":"x"})" + "\n", "line 2: a calculation needs \"page\""},
    {"tolerance_of_a_result", kLine2 + R"({"page":"gev-definice","tolerances":{"R1":{"distribution":"uniform","low":"1","high":"2"}}})" + "\n", "line 2: page 'gev-definice' has no input field 'R1'"},
    {"tolerance_not_read", kLine2 + R"({"page":"gev-definice","tolerances":{"I1":{"distribution":"uniform","low":"2","high":"1"}}})" + "\n", "line 2: "},
    {"recorded_text_not_a_string", kLine2 + R"({"page":"gev-definice","recorded":{"program":"1","events":[],"fields":{"R1":1}}})" + "\n", "line 2: the recorded text of field 'R1' must be a string"},
    {"fault_after_good_lines", kLine2 + std::string(kGev) + "\n" + R"({"page":"x"})" + "\n", "line 3: unknown page 'x'"},
    {"nested_150000_arrays", kLine2 + R"({"x":)" + kDeepArrays + R"(,"page":"gev-definice"})" + "\n", "line 2: the line nests deeper"},
    {"nested_150000_objects", kLine2 + R"({"page":"gev-definice","fields":)" + kDeepObjects + "}\n", "line 2: the line nests deeper"},
    {"nested_in_tolerances", kLine2 + R"({"page":"gev-definice","tolerances":{"I1":{"low":)" + kDeepArrays + "}}}\n", "line 2: the line nests deeper"},
    {"nested_in_the_case_line", R"({"format":1,"separator":",","case":)" + kDeepArrays + "}\n", "line 1: the line nests deeper"},
    {"nested_then_key_twice", kLine2 + R"({"x":)" + kDeepObjects + R"(,"page":"gev-definice","page":"x"})" + "\n", "line 2: the line nests deeper"},
    {"format_past_64_bits", R"({"format":18446744073709551615,"separator":","})" "\n", "line 1: this file is of format 18446744073709551615; this version"},
    {"format_past_any_integer", R"({"format":123456789012345678901234567890,"separator":","})" "\n", "line 1: this file is of format 123456789012345678901234567890;"},
    {"format_negative", R"({"format":-1,"separator":","})" "\n", "line 1: there is no format -1"},
    {"format_below_64_bits", R"({"format":-9223372036854775809,"separator":","})" "\n", "line 1: there is no format -9223372036854775809"},
    {"format_zero", R"({"format":0,"separator":","})" "\n", "line 1: there is no format 0"},
    {"format_fraction", R"({"format":1.5,"separator":","})" "\n", "line 1: \"format\" must be a whole number written in digits; got 1.5"},
    {"format_exponent", R"({"format":1E2,"separator":","})" "\n", "line 1: \"format\" must be a whole number written in digits; got 1E2"},
    {"format_one_with_a_fraction", R"({"format":1.0,"separator":","})" "\n", "line 1: \"format\" must be a whole number written in digits; got 1.0"},
    {"format_a_text", R"({"format":"1","separator":","})" "\n", "line 1: \"format\" must be a whole number"},
    {"separator_private_use", R"({"format":1,"separator":"\ue000"})" "\n", "line 1: \"separator\" must be one visible character"},
    {"separator_combining", R"({"format":1,"separator":"\u0e3a"})" "\n", "line 1: \"separator\" must be one visible character"},
    {"separator_unassigned", R"({"format":1,"separator":"\ud7ff"})" "\n", "line 1: \"separator\" must be one visible character"},
    {"links_in_format_1", kLine2 + R"({"page":"gev-definice","links":{"I1":{"from":"g","field":"I1"}}})" + "\n", "line 2: unknown member 'links' (links need format 2)"},
    {"links_not_an_object", kLinked + R"({"page":"gev-definice","links":"k"})" + "\n", "line 3: \"links\" must be an object of inputs' links"},
    {"link_without_field", kLinked + R"({"page":"gev-definice","links":{"I1":{"from":"k"}}})" + "\n", "line 3: the link of 'I1' must be {\"from\":ID,\"field\":FIELD}"},
    {"link_with_more", kLinked + R"({"page":"gev-definice","links":{"I1":{"from":"k","field":"I1","unit":"m"}}})" + "\n", "line 3: the link of 'I1' must be"},
    {"link_from_a_list", kLinked + R"({"page":"gev-definice","links":{"I1":{"from":["k"],"field":"I1"}}})" + "\n", "line 3: the link of 'I1' must be"},
    {"link_given_twice", kLinked + R"({"page":"gev-definice","links":{"I1":{"from":"k","field":"I1"},"I1":{"from":"k","field":"I4"}}})" + "\n", "line 3: 'I1' is given twice"},
    {"link_to_an_unknown_id", kLinked + R"({"page":"gev-definice","links":{"I1":{"from":"x","field":"I1"}}})" + "\n", "line 3: input 'I1' takes from \"x\", the id of no calculation"},
    {"link_to_a_number_id_of_text", kLinked + R"({"id":"7","page":"gev-definice"})" "\n" R"({"page":"gev-definice","links":{"I1":{"from":7,"field":"I1"}}})" + "\n", "line 4: input 'I1' takes from 7, the id of no calculation"},
    {"link_to_an_unknown_field", kLinked + R"({"page":"gev-definice","links":{"I1":{"from":"k","field":"R99"}}})" + "\n", "line 3: page 'kinematika' of \"k\" has no field 'R99'"},
    {"link_onto_a_result", kLinked + R"({"page":"gev-definice","links":{"R1":{"from":"k","field":"R11"}}})" + "\n", "line 3: page 'gev-definice' has no input field 'R1' to take a text into"},
    {"link_onto_an_unknown_field", kLinked + R"({"page":"gev-definice","links":{"I9":{"from":"k","field":"I1"}}})" + "\n", "line 3: page 'gev-definice' has no input field 'I9' to take a text into"},
    {"link_from_metres_into_km_per_h", kLinked + R"({"page":"gev-definice","links":{"I1":{"from":"k","field":"R15"}}})" + "\n", "line 3: field R15 [m] of \"k\" cannot be taken into input I1 [km/h]: a link takes a text into an input of the same unit"},
    {"link_from_m_per_s_into_km_per_h", kLinked + R"({"page":"gev-definice","links":{"I2":{"from":"k","field":"R11"}}})" + "\n", "line 3: field R11 [m/s] of \"k\" cannot be taken into input I2 [km/h]"},
    {"link_unknown_after_a_good_one", kLinked + takes("a", "k") + R"({"page":"gev-definice","links":{"I1":{"from":"a","field":"I1"},"I2":{"from":"b","field":"I1"}}})" + "\n", "line 4: input 'I2' takes from \"b\""},
    {"link_to_itself", kLinked + takes("a", "a"), "line 3: the links go round in a cycle: a ← a"},
    {"links_round_two", kLinked + takes("a", "b") + takes("b", "a"), "line 3: the links go round in a cycle: a ← b ← a"},
    {"links_round_three", kLinked + takes("a", "b") + takes("b", "c") + takes("c", "a"), "line 3: the links go round in a cycle: a ← b ← c ← a"},
    {"links_round_three_after_a_chain", kLinked + takes("d", "a") + takes("a", "b") + takes("b", "c") + takes("c", "a"), "line 4: the links go round in a cycle: a ← b ← c ← a"},
    {"nested_too_deep", kLine2 + R"({"page":"gev-definice","recorded":{"program":"1","events":[{"set":[[1]]}],"fields":{}}})" + "\n", "line 2: the line nests deeper"},
};
// clang-format on

class CaseFileRefused : public ::testing::TestWithParam<BadCase> {};

TEST_P(CaseFileRefused, NamesTheLineAndPrintsNothing) {
    const BadCase& c = GetParam();
    const TemporaryCase file(c.bytes);
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--case", file.path()},
                                                      {"--case", file.path(), "--record"},
                                                      {"--verify", file.path()},
                                                      {"--case", file.path(), "--report"},
                                                      {"--tolerance", "100", "--case", file.path()}}) {
        const Ran ran = command(arguments);
        EXPECT_EQ(ran.status, vorlanex::cli::kExitUsage) << arguments.back();
        EXPECT_EQ(ran.out, "");
        EXPECT_NE(ran.err.find(file.path() + ": " + c.message), std::string::npos) << ran.err;
    }
}

INSTANTIATE_TEST_SUITE_P(CaseFile, CaseFileRefused, ::testing::ValuesIn(kBadCases),
                         [](const auto& info) { return info.param.name; });

struct BadArguments {
    std::string name;
    std::vector<std::string> arguments;
};
std::ostream& operator<<(std::ostream& out, const BadArguments& c) { return out << c.name; }

// clang-format off
const BadArguments kBadArguments[] = {
    {"missing_file", {"--case", "/nonexistent/case.vorlanex"}},
    {"a_folder", {"--case", "/"}},
    {"separator_given", {"--separator", ",", "--case", kEveryPage}},
    {"with_a_page", {"--case", kEveryPage, "kinematika"}},
    {"with_batch", {"--case", kEveryPage, "--batch"}},
    {"record_alone", {"--record"}},
    {"record_with_verify", {"--verify", kEveryPage, "--record"}},
    {"report_with_verify", {"--verify", kEveryPage, "--report"}},
    {"record_with_report", {"--case", kEveryPage, "--record", "--report"}},
    {"case_and_verify", {"--case", kEveryPage, "--verify", kEveryPage}},
};
// clang-format on

class CaseArgumentsRefused : public ::testing::TestWithParam<BadArguments> {};

TEST_P(CaseArgumentsRefused, IsAUsageError) {
    const Ran ran = command(GetParam().arguments);
    EXPECT_EQ(ran.status, vorlanex::cli::kExitUsage);
    EXPECT_EQ(ran.out, "");
    EXPECT_NE(ran.err, "");
}

INSTANTIATE_TEST_SUITE_P(CaseFile, CaseArgumentsRefused, ::testing::ValuesIn(kBadArguments),
                         [](const auto& info) { return info.param.name; });

const std::string kLinkedFixture = std::string(VORLANEX_CASES_DIR) + "/pedestrian-avoidability.vorlanex";

struct LinkedCommand {
    std::string name;
    std::vector<std::string> arguments;
    int status;
    std::vector<std::string> shown;  // each in the output, or the error output when refused
};
std::ostream& operator<<(std::ostream& out, const LinkedCommand& c) { return out << c.name; }

// clang-format off
const LinkedCommand kLinkedCommands[] = {
    {"case_runs_the_linked_calculation", {"--case", kLinkedFixture}, vorlanex::cli::kExitCompleted,
     {R"({"line":3,"id":"zastaveni-50","events":[{"set":"R1")", R"("I2":"0,8","I3":"1","I4":"0,2","I5":"46,93")"}},
    {"record_writes_format_2", {"--case", kLinkedFixture, "--record"}, vorlanex::cli::kExitCompleted,
     {R"({"format":2,"separator":",")", R"("links":{"I2":{"from":"kinematika","field":"I6"})"}},
    {"report_says_where_each_text_came_from", {"--case", kLinkedFixture, "--report"}, vorlanex::cli::kExitCompleted,
     {"převzato z: <bdi>Rekonstrukce brzdění před střetem</bdi>, R15", "převzato z: <bdi>Rekonstrukce brzdění před střetem</bdi>, I6",
      "převzato z: <bdi>Rekonstrukce brzdění před střetem</bdi>, I8", "převzato z: <bdi>Rekonstrukce brzdění před střetem</bdi>, I7"}},
    {"tolerance_samples_the_source", {"--tolerance", "200", "--case", kLinkedFixture}, vorlanex::cli::kExitCompleted,
     {R"({"line":2,"id":"kinematika")", R"({"line":3,"id":"zastaveni-50","through":["kinematika"])"}},
};
// clang-format on

class LinkedCaseCommand : public ::testing::TestWithParam<LinkedCommand> {};

TEST_P(LinkedCaseCommand, FollowsTheLinks) {
    const Ran ran = command(GetParam().arguments);
    EXPECT_EQ(ran.status, GetParam().status) << ran.err;
    for (const std::string& shown : GetParam().shown) {
        EXPECT_NE((ran.status == vorlanex::cli::kExitUsage ? ran.err : ran.out).find(shown), std::string::npos)
            << shown << "\n"
            << ran.out.substr(0, 2000) << ran.err;
    }
}

INSTANTIATE_TEST_SUITE_P(CaseFile, LinkedCaseCommand, ::testing::ValuesIn(kLinkedCommands),
                         [](const auto& info) { return info.param.name; });

// A linked case recorded verifies as the same; a source changed by hand makes the calculation that
// takes from it differ too; a linked calculation with tolerances is sampled with its source.
TEST(CaseFile, ALinkedCaseRecordedVerifiesAndFollowsAChangedSource) {
    const Ran recorded = command({"--case", kLinkedFixture, "--record"});
    ASSERT_EQ(recorded.status, vorlanex::cli::kExitCompleted) << recorded.err;
    const TemporaryCase file(recorded.out);
    const Ran verified = command({"--verify", file.path()});
    EXPECT_EQ(verified.status, vorlanex::cli::kExitCompleted) << verified.out << verified.err;

    std::string changed = recorded.out;
    changed.replace(changed.find(R"("I2":"8")"), 8, R"("I2":"9")");
    const TemporaryCase changed_file(changed);
    const Ran differs = command({"--verify", changed_file.path()});
    EXPECT_EQ(differs.status, vorlanex::cli::kExitFault);
    EXPECT_NE(differs.out.find(R"({"line":3,"id":"zastaveni-50","same":false)"), std::string::npos) << differs.out;

    std::string sampled = recorded.out;
    sampled.replace(sampled.find(R"("fields":{"I1":"50"})"), 20,
                    R"("fields":{"I1":"50"},"tolerances":{"I1":{"distribution":"uniform","low":"45","high":"55"}})");
    const TemporaryCase sampled_file(sampled);
    const Ran sampled_run = command({"--tolerance", "100", "--case", sampled_file.path()});
    EXPECT_EQ(sampled_run.status, vorlanex::cli::kExitCompleted) << sampled_run.err;
    EXPECT_NE(sampled_run.out.find(
                  R"({"line":3,"id":"zastaveni-50","through":["kinematika"],"page":"draha-zastaveni","samples":100,)"),
              std::string::npos)
        << sampled_run.out;

    // A tolerance on a linked input would be overwritten by its source's text in every sample.
    std::string on_linked = recorded.out;
    on_linked.replace(on_linked.find(R"("fields":{"I1":"50"})"), 20,
                      R"("fields":{"I1":"50"},"tolerances":{"I5":{"distribution":"uniform","low":"45","high":"55"}})");
    const TemporaryCase on_linked_file(on_linked);
    const Ran refused = command({"--tolerance", "100", "--case", on_linked_file.path()});
    EXPECT_EQ(refused.status, vorlanex::cli::kExitUsage);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("line 3: tolerance of field 'I5': the input takes its text from kinematika.R15"),
              std::string::npos)
        << refused.err;
}

// The fixture's chain sampled: its source alone, then the linked calculation through it, the same
// bytes on any number of threads; the linked calculation's C1 counts every sample.
TEST(CaseFile, AChainIsSampledThroughItsSourceTheSameOnAnyNumberOfThreads) {
    const Ran one = command({"--tolerance", "1000", "--jobs", "1", "--case", kLinkedFixture});
    ASSERT_EQ(one.status, vorlanex::cli::kExitCompleted) << one.err;
    for (const char* jobs : {"2", "3"}) {
        const Ran again = command({"--tolerance", "1000", "--jobs", jobs, "--case", kLinkedFixture});
        EXPECT_EQ(again.out, one.out) << jobs;
    }
    const std::size_t second_line = one.out.find('\n') + 1;
    EXPECT_EQ(one.out.rfind(R"({"line":2,"id":"kinematika","page":"kinematika","samples":1000,)", 0), 0u) << one.out;
    const std::string linked = one.out.substr(second_line);
    EXPECT_EQ(linked.rfind(R"({"line":3,"id":"zastaveni-50","through":["kinematika"],"page":"draha-zastaveni",)", 0),
              0u)
        << linked;
    const auto parsed = nlohmann::json::parse(linked);
    const auto& texts = parsed["results"]["C1"]["texts"];
    std::uint64_t counted = 0;
    for (const auto& [text, samples] : texts.items()) counted += samples.get<std::uint64_t>();
    EXPECT_EQ(parsed["results"]["C1"]["count"], 1000);
    EXPECT_EQ(counted, 1000u);
    EXPECT_TRUE(texts.contains("Nedojde ke střetu ! ")) << texts.dump();
    EXPECT_EQ(parsed["faults"].size(), 0u);
}

TEST(CaseFile, AHundredThousandCalculationsAreRead) {
    std::string bytes = std::string(kHeader) + "\n";
    for (int i = 0; i < 100000; ++i) {
        bytes += R"({"id":)" + std::to_string(i) +
                 R"(,"page":"gev-definice","fields":{"I1":"30","I2":"50"}})"
                 "\n";
    }
    const TemporaryCase file(bytes);
    const Ran ran = command({"--case", file.path()});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_TRUE(ran.out.ends_with(
        R"({"line":100001,"id":99999,"events":[{"set":"R1","text":"13,889"},{"set":"R2","text":"0,333"}],"fields":{"I1":"30","I2":"50","R1":"13,889","R2":"0,333"}})"
        "\n"));
}

TEST(CaseFile, Sha256OfKnownTexts) {
    EXPECT_EQ(vorlanex::casefile::sha256_hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(vorlanex::casefile::sha256_hex("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// The case's report with kept analyses: each calculation that keeps them gets its percentile table,
// its histograms and its sweep charts, with the very numbers `--case FILE --tolerance N --seed S`
// gives for the same settings; a calculation that keeps none gets no analysis.
std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

struct KeptCase {
    const char* name;
    const char* samples;
    const char* seed;
    bool sweep;  // the calculation keeps a sweep of I1 too
};
std::ostream& operator<<(std::ostream& out, const KeptCase& kept) { return out << kept.name; }

class ReportOfKeptAnalyses : public ::testing::TestWithParam<KeptCase> {};

TEST_P(ReportOfKeptAnalyses, HoldsTheTablesChartsAndNumbersOfTheCommand) {
    const KeptCase& kept = GetParam();
    const std::string tolerances = R"("tolerances":{"I4":{"distribution":"uniform","low":"14","high":"16"},)"
                                   R"("I3":{"distribution":"normal","mean":"0,7","sd":"0,03"}})";
    std::string analyses =
        R"("analyses":{"tolerance":{"samples":)" + std::string(kept.samples) + R"(,"seed":")" + kept.seed + "\"}";
    if (kept.sweep) analyses += R"(,"sweep":{"field":"I1","from":"10","to":"30","steps":20})";
    const TemporaryCase file(
        std::string(R"({"format":1,"separator":","})") + "\n" +
        R"({"id":"bez","page":"gev-definice","fields":{"I1":"30","I2":"50"}})" + "\n" +
        R"({"id":"s","page":"kinematika","fields":{"I1":"20","I2":"8","I3":"0,7","I4":"15","I5":"20","I6":"0,8",)"
        R"("I7":"0,2","I8":"1"},)" +
        tolerances + "," + analyses + "}}\n");
    const Ran report = command({"--case", file.path(), "--report"});
    ASSERT_EQ(report.status, vorlanex::cli::kExitCompleted) << report.err;
    const std::string& html = report.out;
    EXPECT_EQ(occurrences(html, "class=\"analysis tolerance-analysis\""), 1U);
    EXPECT_EQ(occurrences(html, "class=\"analysis sweep-analysis\""), kept.sweep ? 1U : 0U);
    EXPECT_NE(html.find("<table class=\"percentiles\">"), std::string::npos);
    EXPECT_NE(html.find("<section class=\"histograms\">"), std::string::npos);
    EXPECT_NE(html.find("<rect class=\"bar\""), std::string::npos);
    EXPECT_EQ(html.find("<path class=\"curve\"") != std::string::npos, kept.sweep);
    // The settings said, and the inputs' distributions beside the inputs.
    EXPECT_NE(html.find("<span class=\"samples\">" + std::string(kept.samples) + "</span>"), std::string::npos);
    EXPECT_NE(html.find("<span class=\"seed\">" + std::string(kept.seed) + "</span>"), std::string::npos);
    EXPECT_NE(html.find("<span class=\"mark\">rovnoměrné rozdělení od 14 do 16</span>"), std::string::npos);

    // Every result's numbers in the percentile table are those of the command's own tolerance run.
    const Ran sampled = command({"--case", file.path(), "--tolerance", kept.samples, "--seed", kept.seed});
    ASSERT_EQ(sampled.status, vorlanex::cli::kExitCompleted) << sampled.err;
    const std::string& json = sampled.out;
    const auto summary = nlohmann::json::parse(json);
    ASSERT_EQ(summary.at("line").get<int>(), 3);
    EXPECT_EQ(std::to_string(summary.at("seed").get<std::uint64_t>()), kept.seed);
    std::size_t compared = 0;
    for (const auto& [field, numbers] : summary.at("results").items()) {
        std::string row = "<tr data-field=\"" + field + "\"><td class=\"id\">" + field + "</td>";
        const std::size_t start = html.find(row, html.find("<table class=\"percentiles\">"));
        ASSERT_NE(start, std::string::npos) << field;
        const std::string shown = html.substr(start, html.find("</tr>", start) - start);
        std::string expected = "<td class=\"number\">" + std::to_string(numbers.at("count").get<int>()) + "</td>";
        if (numbers.at("count").get<int>() > 0) {
            std::vector<std::string> texts{numbers.at("min").get<std::string>()};
            for (const auto& level : vorlanex::tolerance::kPercentiles)
                texts.push_back(numbers.at(std::string(level.json_name)).get<std::string>());
            texts.push_back(numbers.at("max").get<std::string>());
            texts.push_back(numbers.at("mean").get<std::string>());
            for (const std::string& text : texts) expected += "<td class=\"number\">" + text + "</td>";
            ++compared;
        }
        EXPECT_NE(shown.find(expected), std::string::npos) << field << ": " << shown;
    }
    EXPECT_GT(compared, 5U);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseFile, ReportOfKeptAnalyses, ::testing::Values(
    KeptCase{"ToleranceAlone",        "200",  "1",                    false},
    KeptCase{"ToleranceAndSweep",     "1000", "7",                    true},
    KeptCase{"TheLargestSeed",        "50",   "18446744073709551615", true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
