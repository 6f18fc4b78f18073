// vorlanex-calc in-process: arguments in, JSON Lines and exit status out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ios>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/calc_command.h"
#include "kinematics/braking_page.h"

namespace {

using nlohmann::json;
using vorlanex::cli::kExitCompleted;
using vorlanex::cli::kExitFault;
using vorlanex::cli::kExitUsage;
using vorlanex::cli::run_calc_command;
using vorlanex::numeric::DecimalSeparator;

struct Outcome {
    int exit_status;
    std::string out;
    std::string err;
};

Outcome calc(const std::vector<std::string>& arguments, const std::string& input = {},
             std::string_view regional_separator = ",") {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_calc_command(arguments, DecimalSeparator(regional_separator), in, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) result.push_back(line);
    return result;
}

const std::vector<std::string> kWorkedExample{"kinematika", "I1=20",  "I2=8",   "I3=0,7", "I4=15",
                                              "I5=20",      "I6=0,8", "I7=0,2", "I8=1"};

// The arguments with some fields' texts replaced (a field is given once only).
std::vector<std::string> with(std::vector<std::string> arguments, const std::vector<std::string>& replaced) {
    for (const std::string& field : replaced) {
        const std::string id = field.substr(0, field.find('=') + 1);
        std::erase_if(arguments, [&id](const std::string& argument) { return argument.starts_with(id); });
        arguments.push_back(field);
    }
    return arguments;
}

// clang-format off
constexpr std::string_view kWorkedExampleOutput =
    R"({"set":"R1","text":"6,865"}
{"set":"R2","text":"42,702"}
{"set":"R3","text":"0,919"}
{"set":"R4","text":"45,26"}
{"set":"R5","text":"7,845"}
{"set":"R6","text":"78,201"}
{"set":"R7","text":"0,17052859036965"}
{"set":"R8","text":"1,166"}
{"set":"R9","text":"81,026"}
{"set":"R10","text":"81,03"}
{"set":"R11","text":"22,507"}
{"set":"R12","text":"81,026"}
{"set":"R13","text":"4,423"}
{"set":"R14","text":"22,507"}
{"set":"R15","text":"46,93"}
{"set":"R16","text":"2,366"}
{"set":"R17","text":"19,856"}
{"set":"R18","text":"71,482"}
)";
// clang-format on

TEST(CalcCommandRun, WorkedExamplePrintsEveryWriteInOrder) {
    const Outcome outcome = calc(kWorkedExample);
    EXPECT_EQ(outcome.exit_status, kExitCompleted);
    EXPECT_EQ(outcome.out, kWorkedExampleOutput);
    EXPECT_EQ(outcome.err, "");
}

TEST(CalcCommandRun, SeparatorOptionOverridesTheRegionalSetting) {
    const Outcome outcome = calc(
        {"--separator", ".", "kinematika", "I1=20", "I2=8", "I3=0.7", "I4=15", "I5=20", "I6=0.8", "I7=0.2", "I8=1"});
    EXPECT_EQ(outcome.exit_status, kExitCompleted);
    // The separator inside the number texts, which is the comma after a digit.
    std::string expected(kWorkedExampleOutput);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        if (expected[i] == ',' && expected[i - 1] >= '0' && expected[i - 1] <= '9') expected[i] = '.';
    }
    EXPECT_EQ(outcome.out, expected);
}

TEST(CalcCommandRun, SeparatorsNoReaderTakesForANumberAreAccepted) {
    for (const std::string separator : {".", ",", "\u00b7", "\u066b", "'", "/", "_", "\u2396"}) {
        const Outcome outcome = calc({"--separator", separator, "gev-definice", "I1=30", "I2=50" + separator + "5"});
        EXPECT_EQ(outcome.exit_status, kExitCompleted) << separator << outcome.err;
        EXPECT_NE(outcome.out.find(R"({"set":"R1","text":"14)" + separator + "028\"}"), std::string::npos)
            << separator << outcome.out;
    }
}

TEST(CalcCommandRun, WarningLineCarriesTheLineBreakAsAJsonEscape) {
    const Outcome outcome = calc(with(kWorkedExample, {"I6=0"}));
    EXPECT_EQ(outcome.exit_status, kExitCompleted);
    const std::vector<std::string> printed = lines(outcome.out);
    ASSERT_EQ(printed.size(), 19U);
    EXPECT_EQ(printed[0], R"({"warning":"Pozor, hodnota součinitele adheze musí být > 0 !\rVýpočet nelze provést !"})");
    EXPECT_EQ(outcome.out.find('\r'), std::string::npos) << "a raw carriage return in the output";
    // The substitute 0.8 gives the worked example's results.
    EXPECT_EQ(outcome.out.substr(printed[0].size() + 1), kWorkedExampleOutput);
}

TEST(CalcCommandRun, FaultEndsTheOutputWithTheErrorLineAndStatusOne) {
    const Outcome outcome = calc({"kinematika", "I1=20", "I2=0", "I4=-30", "I5=0", "I6=0,8", "I7=0", "I8=0"});
    EXPECT_EQ(outcome.exit_status, kExitFault);
    EXPECT_EQ(outcome.out,
              R"({"warning":"Pozor, hodnota EES je záporná !\rVozidlo bylo při střetu zrychleno !"}
{"set":"R1","text":"7,845"}
{"set":"R2","text":"20"}
{"set":"R3","text":"0"}
{"error":"Invalid floating point operation."}
)");
    EXPECT_EQ(outcome.err, "");
}

TEST(CalcCommandRun, ConversionFaultAfterAWarningQuotesTheTextAsTyped) {
    const Outcome outcome = calc(with(kWorkedExample, {"I7=-1", "I8=1 0"}));
    EXPECT_EQ(outcome.exit_status, kExitFault);
    EXPECT_EQ(outcome.out, R"({"warning":"Pozor, hodnota času musí být kladná !\rVýpočet nelze provést !"}
{"error":"'1 0' is not a valid floating point value.","field":"I8"}
)");
}

TEST(CalcCommandRun, ErrorNamesTheFieldWhoseTextFailedToConvert) {
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c :
         {Case{"1e5000", "'1e5000' is not a valid floating point value."}, Case{"1e400", "Floating point overflow."}}) {
        const Outcome outcome = calc(with(kWorkedExample, {std::string("I5=") + c.text}));
        EXPECT_EQ(outcome.exit_status, kExitFault);
        EXPECT_EQ(json::parse(lines(outcome.out).back()), (json{{"error", c.error}, {"field", "I5"}})) << c.text;
    }
    // A value that converts but overflows in a later step is no field's fault, nor is a fault
    // after the calculation wrote into the field read last a text that would not convert.
    for (const std::vector<std::string>& later_fault :
         {with(kWorkedExample, {"I1=1e300", "I6=1e-300"}),
          std::vector<std::string>{"--separator", ".", "gev-definice", "I1=1.7976931348623157e308", "I2=91.727"}}) {
        const Outcome outcome = calc(later_fault);
        EXPECT_EQ(outcome.exit_status, kExitFault);
        EXPECT_FALSE(json::parse(lines(outcome.out).back()).contains("field")) << outcome.out;
    }
}

TEST(CalcCommandRun, EmptyTextIsAnEmptyField) {
    const Outcome outcome = calc(with(kWorkedExample, {"I2="}));
    EXPECT_EQ(outcome.exit_status, kExitFault);
    EXPECT_EQ(outcome.out, "{\"error\":\"'' is not a valid floating point value.\",\"field\":\"I2\"}\n");
}

TEST(CalcCommandRun, TextWithBlanksIsPassedWholeToTheField) {
    const Outcome outcome = calc(with(kWorkedExample, {"I1= 20 ", "I3=  0,7"}));
    EXPECT_EQ(outcome.exit_status, kExitCompleted);
    EXPECT_EQ(outcome.out, kWorkedExampleOutput);
}

TEST(CalcCommandRun, FieldsNotNamedKeepTheirDefaultTexts) {
    // I1 defaults to "0" and I3 to "0,8".
    const Outcome implicit = calc({"kinematika", "I2=8", "I4=15", "I5=20", "I6=0,8", "I7=0,2", "I8=1"});
    const Outcome explicit_defaults =
        calc({"kinematika", "I1=0", "I2=8", "I3=0,8", "I4=15", "I5=20", "I6=0,8", "I7=0,2", "I8=1"});
    EXPECT_EQ(implicit.exit_status, kExitCompleted);
    EXPECT_EQ(implicit.out, explicit_defaults.out);
    // Without any field the page is as it opens: the empty braking distance stops the run.
    const Outcome opened = calc({"kinematika"});
    EXPECT_EQ(opened.exit_status, kExitFault);
    EXPECT_EQ(opened.out, "{\"error\":\"'' is not a valid floating point value.\",\"field\":\"I2\"}\n");
}

TEST(CalcCommandRun, InvalidUtf8InAFieldTextIsReportedNotThrown) {
    Outcome outcome;
    ASSERT_NO_THROW(outcome = calc(with(kWorkedExample, {"I4=\xff\xfe"
                                                         "5"})));
    EXPECT_EQ(outcome.exit_status, kExitFault);
    const std::vector<std::string> printed = lines(outcome.out);
    ASSERT_EQ(printed.size(), 1U);
    json line;
    ASSERT_NO_THROW(line = json::parse(printed[0])) << printed[0];
    ASSERT_TRUE(line.contains("error"));
    const std::string message = line["error"].get<std::string>();
    EXPECT_TRUE(message.ends_with("5' is not a valid floating point value.")) << message;
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* mentioned;  // what the message must name so the user can fix it
};

std::ostream& operator<<(std::ostream& out, const UsageCase& c) { return out << c.name; }

class CalcCommandUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CalcCommandUsage, StatusTwoNothingOnStdoutMessageOnStderr) {
    const Outcome outcome = calc(GetParam().arguments);
    EXPECT_EQ(outcome.exit_status, kExitUsage);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find(GetParam().mentioned), std::string::npos) << outcome.err;
    // Nothing from the arguments reaches the terminal as a control character.
    EXPECT_TRUE(std::ranges::none_of(outcome.err, [](char c) {
        return (c >= 0 && c < 0x20 && c != '\n') || c == 0x7f;
    })) << testing::PrintToString(outcome.err);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    BadArguments, CalcCommandUsage,
    ::testing::Values(UsageCase{"unknown_page", {"kinematics", "I1=1"}, "kinematics"},
                      UsageCase{"unknown_field", {"kinematika", "I1=20", "X9=1"}, "X9"},
                      UsageCase{"field_name_in_wrong_case", {"kinematika", "i1=20"}, "i1"},
                      UsageCase{"empty_field_name", {"kinematika", "=20"}, "''"},
                      UsageCase{"argument_without_equals_sign", {"kinematika", "I1"}, "I1"},
                      UsageCase{"unknown_option", {"--precise", "kinematika"}, "--precise"},
                      UsageCase{"separator_of_two_characters", {"--separator", ",,", "kinematika"}, "--separator"},
                      UsageCase{"separator_empty", {"--separator", "", "kinematika"}, "--separator"},
                      UsageCase{"separator_missing_its_character", {"--separator"}, "--separator"},
                      UsageCase{"missing_page", {}, "PAGE"},
                      UsageCase{"missing_page_after_separator", {"--separator", ","}, "PAGE"},
                      UsageCase{"page_and_batch", {"kinematika", "--batch"}, "--batch"},
                      UsageCase{"batch_and_list", {"--batch", "--list"}, "--list"},
                      UsageCase{"field_given_twice", {"kinematika", "I1=20", "I2=8", "I1=30"}, "I1"},
                      // A separator that is part of a number's syntax would make "558.979" read "5585979".
                      UsageCase{"separator_digit", {"--separator", "5", "kinematika"}, "'5'"},
                      UsageCase{"separator_capital_exponent", {"--separator", "E", "kinematika"}, "'E'"},
                      UsageCase{"separator_small_exponent", {"--separator=e", "kinematika"}, "'e'"},
                      UsageCase{"separator_plus", {"--separator", "+", "kinematika"}, "'+'"},
                      UsageCase{"separator_minus", {"--separator", "-", "kinematika"}, "'-'"},
                      UsageCase{"separator_space", {"--separator", " ", "kinematika"}, "--separator"},
                      UsageCase{"separator_tab", {"--separator", "\t", "kinematika"}, "--separator"},
                      UsageCase{"separator_zero_width_space", {"--separator", "\u200b", "kinematika"}, "--separator"},
                      UsageCase{"separator_equals_empty", {"--separator=", "kinematika"}, "--separator"},
                      // Whatever a reader could take for a digit, a sign or an exponent.
                      UsageCase{"separator_arabic_indic_digit", {"--separator", "\u0661", "kinematika"}, "'\u0661'"},
                      UsageCase{"separator_fullwidth_digit", {"--separator", "\uff15", "kinematika"}, "'\uff15'"},
                      UsageCase{"separator_superscript_two", {"--separator", "\u00b2", "kinematika"}, "'\u00b2'"},
                      UsageCase{"separator_roman_numeral", {"--separator", "\u2160", "kinematika"}, "'\u2160'"},
                      UsageCase{"separator_letter_o_as_zero", {"--separator", "O", "kinematika"}, "'O'"},
                      UsageCase{"separator_letter_l_as_one", {"--separator", "l", "kinematika"}, "'l'"},
                      UsageCase{"separator_minus_sign", {"--separator", "\u2212", "kinematika"}, "'\u2212'"},
                      UsageCase{"separator_hyphen", {"--separator", "\u2010", "kinematika"}, "'\u2010'"},
                      UsageCase{"separator_non_breaking_hyphen", {"--separator", "\u2011", "kinematika"}, "'\u2011'"},
                      UsageCase{"separator_en_dash", {"--separator", "\u2013", "kinematika"}, "'\u2013'"},
                      UsageCase{"separator_small_hyphen_minus", {"--separator", "\ufe63", "kinematika"}, "'\ufe63'"},
                      UsageCase{"separator_fullwidth_hyphen_minus", {"--separator", "\uff0d", "kinematika"}, "'\uff0d'"},
                      UsageCase{"separator_superscript_minus", {"--separator", "\u207b", "kinematika"}, "'\u207b'"},
                      UsageCase{"separator_heavy_minus", {"--separator", "\u2796", "kinematika"}, "'\u2796'"},
                      UsageCase{"separator_fullwidth_plus", {"--separator", "\uff0b", "kinematika"}, "'\uff0b'"},
                      UsageCase{"separator_superscript_plus", {"--separator", "\u207a", "kinematika"}, "'\u207a'"},
                      UsageCase{"separator_cyrillic_capital_ie", {"--separator", "\u0415", "kinematika"}, "'\u0415'"},
                      UsageCase{"separator_cyrillic_small_ie", {"--separator", "\u0435", "kinematika"}, "'\u0435'"},
                      UsageCase{"separator_greek_capital_epsilon", {"--separator", "\u0395", "kinematika"}, "'\u0395'"},
                      UsageCase{"separator_script_small_e", {"--separator", "\u212f", "kinematika"}, "'\u212f'"},
                      UsageCase{"separator_fullwidth_capital_e", {"--separator", "\uff25", "kinematika"}, "'\uff25'"},
                      // What does not show on its own: "13<U+E000>889" displays as "13889".
                      UsageCase{"separator_private_use", {"--separator", "\ue000", "kinematika"}, "'\ue000'"},
                      UsageCase{"separator_combining_thai_mark", {"--separator", "\u0e3a", "kinematika"}, "'\u0e3a'"},
                      UsageCase{"separator_enclosing_mark", {"--separator", "\u0488", "kinematika"}, "'\u0488'"},
                      UsageCase{"separator_spacing_mark", {"--separator", "\u0903", "kinematika"}, "'\u0903'"},
                      UsageCase{"separator_unassigned", {"--separator", "\ud7ff", "kinematika"}, "'\ud7ff'"},
                      UsageCase{"separator_unassigned_plane_3", {"--separator", "\U0003fffd", "kinematika"}, "'\U0003fffd'"},
                      UsageCase{"separator_supplementary_private_use", {"--separator", "\U000f0000", "kinematika"}, "'\U000f0000'"},
                      // Control characters are shown escaped.
                      UsageCase{"separator_escape", {"--separator", "\x1b", "kinematika"}, "'\\x1b'"},
                      UsageCase{"page_with_a_terminal_title", {"\x1b]0;pwned\x07"}, "'\\x1b]0;pwned\\x07'"},
                      UsageCase{"field_with_a_c1_control", {"kinematika", "I1\u009b2J"}, "'I1\\xc2\\x9b2J'"},
                      UsageCase{"option_with_a_delete", {"--sep\x7f"}, "'--sep\\x7f'"},
                      UsageCase{"value_for_a_flag", {"--batch=yes"}, "--batch"},
                      UsageCase{"jobs_zero", {"--jobs=0", "--batch"}, "--jobs"},
                      UsageCase{"jobs_not_a_number", {"--jobs", "two", "--batch"}, "'two'"},
                      UsageCase{"jobs_too_many", {"--jobs", "257", "--batch"}, "'257'"},
                      UsageCase{"jobs_missing_its_number", {"--batch", "--jobs"}, "--jobs"},
                      UsageCase{"jobs_without_batch", {"--jobs", "2", "kinematika"}, "--batch"},
                      UsageCase{"unknown_short_option", {"-x", "kinematika"}, "-x"},
                      UsageCase{"option_after_double_dash_is_a_page", {"--", "--list"}, "'--list'"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });
// clang-format on

// --batch

std::vector<json> batch(const std::string& input, int* status = nullptr) {
    const Outcome outcome = calc({"--batch"}, input);
    if (status) *status = outcome.exit_status;
    EXPECT_EQ(outcome.err, "");
    std::vector<json> result;
    for (const std::string& line : lines(outcome.out)) result.push_back(json::parse(line));
    return result;
}

TEST(CalcCommandBatch, OneOutputLinePerInputLineAndAMalformedLineDoesNotStopTheBatch) {
    const std::string input =
        R"({"page":"kinematika","fields":{"I1":"20","I2":"8","I3":"0,7","I4":"15","I5":"20","I6":"0,8","I7":"0,2","I8":"1"}})"
        "\n"
        R"({"page":"kinematika","fields":{"I1":"20")"
        "\n"
        R"({"page":"kinematika","fields":{"I2":"8","I4":"15","I5":"20","I6":"0,8","I7":"-1","I8":"x"}})"
        "\n";
    int status = -1;
    const std::vector<json> out = batch(input, &status);
    EXPECT_EQ(status, kExitUsage) << "a line that is no scenario makes the batch's status 2";
    ASSERT_EQ(out.size(), 3U);
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i]["line"], i + 1);

    // A completed run: its 18 writes, and every field's text after it.
    ASSERT_TRUE(out[0].contains("events"));
    EXPECT_EQ(out[0]["events"].size(), 18U);
    EXPECT_EQ(out[0]["events"][6], (json{{"set", "R7"}, {"text", "0,17052859036965"}}));
    EXPECT_EQ(out[0]["fields"]["R18"], "71,482");
    EXPECT_EQ(out[0]["fields"]["I3"], "0,7");

    ASSERT_TRUE(out[1].contains("usage_error")) << out[1];
    EXPECT_TRUE(out[1]["usage_error"].is_string());
    EXPECT_FALSE(out[1].contains("events"));

    // A fault: the warning, then the error; nothing was written, and untouched fields keep the
    // page's default texts.
    EXPECT_EQ(out[2]["events"],
              (json::array({{{"warning", "Pozor, hodnota času musí být kladná !\rVýpočet nelze provést !"}},
                            {{"error", "'x' is not a valid floating point value."}, {"field", "I8"}}})));
    EXPECT_EQ(out[2]["fields"]["I1"], "0");
    EXPECT_EQ(out[2]["fields"]["I3"], "0,8");
    EXPECT_EQ(out[2]["fields"]["I7"], "-1");
    EXPECT_EQ(out[2]["fields"]["R1"], "");
}

TEST(CalcCommandBatch, FieldsListEveryFieldOfThePage) {
    const std::vector<json> out = batch(R"({"page":"kinematika"})"
                                        "\n");
    ASSERT_EQ(out.size(), 1U);
    std::set<std::string> ids;
    for (const auto& [id, text] : out[0]["fields"].items()) ids.insert(id);
    std::set<std::string> expected;
    for (const auto& field : vorlanex::kinematics::braking_page().layout.fields) expected.emplace(field.id);
    EXPECT_EQ(ids, expected);
}

TEST(CalcCommandBatch, StartingTextOfAResultFieldStaysVisibleAfterAFault) {
    const std::vector<json> out = batch(
        R"({"page":"kinematika","fields":{"I1":"20","I2":"0","I4":"-30","I5":"0","I6":"0,8","I7":"0","I8":"0","R3":"stará doba","R5":"staré zpomalení"}})"
        "\n");
    ASSERT_EQ(out.size(), 1U);
    const json& fields = out[0]["fields"];
    EXPECT_EQ(out[0]["events"].back(), (json{{"error", "Invalid floating point operation."}}));
    EXPECT_EQ(fields["R3"], "0");                // written before the fault
    EXPECT_EQ(fields["R5"], "staré zpomalení");  // after the fault: as it started
    EXPECT_EQ(fields["R4"], "");
}

struct MalformedLine {
    const char* name;
    std::string line;
};

std::ostream& operator<<(std::ostream& out, const MalformedLine& c) { return out << c.name; }

class CalcCommandBatchMalformed : public ::testing::TestWithParam<MalformedLine> {};

TEST_P(CalcCommandBatchMalformed, GivesAUsageErrorLineAndTheNextLineStillRuns) {
    const std::vector<json> out = batch(GetParam().line + "\n" + R"({"page":"kinematika","fields":{"I2":""}})" + "\n");
    ASSERT_EQ(out.size(), 2U);
    EXPECT_TRUE(out[0].contains("usage_error")) << out[0];
    EXPECT_EQ(out[1]["events"],
              (json::array({{{"error", "'' is not a valid floating point value."}, {"field", "I2"}}})));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Lines, CalcCommandBatchMalformed,
    ::testing::Values(MalformedLine{"not_json", "page=kinematika"},
                      MalformedLine{"not_an_object", R"(["kinematika"])"},
                      MalformedLine{"page_missing", R"({"fields":{"I1":"1"}})"},
                      MalformedLine{"unknown_page", R"({"page":"kinematic"})"},
                      MalformedLine{"unknown_field", R"({"page":"kinematika","fields":{"I9":"1"}})"},
                      MalformedLine{"number_instead_of_text", R"({"page":"kinematika","fields":{"I1":20}})"},
                      MalformedLine{"invalid_utf8_in_a_text", "{\"page\":\"kinematika\",\"fields\":{\"I1\":\"\xc3\x28\"}}"},
                      MalformedLine{"field_given_twice", R"({"page":"kinematika","fields":{"I1":"1","I2":"2","I1":"3"}})"},
                      MalformedLine{"page_given_twice", R"({"page":"kinematika","page":"kinematika-meze"})"},
                      MalformedLine{"id_as_an_object", R"({"page":"kinematika","id":{"n":1}})"},
                      MalformedLine{"id_as_true", R"({"page":"kinematika","id":true})"},
                      MalformedLine{"deep_nesting", std::string(300000, '[') + std::string(300000, ']')},
                      MalformedLine{"deep_nesting_in_fields", R"({"page":"kinematika","fields":{"I1":)" + std::string(150000, '[') + std::string(150000, ']') + "}}"},
                      MalformedLine{"deep_objects", [] {
                                        std::string line = R"({"page":"kinematika","x":)";
                                        for (int i = 0; i < 150000; ++i) line += R"({"a":)";
                                        return line + "1" + std::string(150001, '}');
                                    }()},
                      MalformedLine{"text_as_an_object", R"({"page":"kinematika","fields":{"I1":{"a":"1"}}})"},
                      MalformedLine{"a_hundred_thousand_fields",
                                    [] {
                                        std::string line = R"({"page":"kinematika","fields":{"I1":"1")";
                          // clang-format on
                          for (int i = 0; i < 100000; ++i) line += ",\"X" + std::to_string(i) + "\":\"1\"";
                          return line + "}}";
                      }()},
        MalformedLine{"longer_than_a_mebibyte",
                      R"({"page":"kinematika","fields":{"I1":")" + std::string(1 << 20, '1') + R"("}})"}),
    [](const ::testing::TestParamInfo<MalformedLine>& info) { return std::string(info.param.name); });

TEST(CalcCommandBatch, LinesAreNumberedAsReadBlankLinesSkippedAndIdsEchoed) {
    const std::string input =
        "\n"
        R"({"id":"a-1","page":"kinematika","fields":{"I2":"8"}})"
        "\n \t\r\n"
        R"({"id":7,"page":"kinematic"})"
        "\n"
        R"({"page":"kinematika","fields":{"I2":"x"}})";  // no newline at the end
    int status = -1;
    const std::vector<json> out = batch(input, &status);
    EXPECT_EQ(status, kExitUsage);
    ASSERT_EQ(out.size(), 3U);
    for (const std::string& line : lines(calc({"--batch"}, input).out))
        EXPECT_TRUE(line.starts_with(R"({"line":)")) << line;
    EXPECT_EQ(out[0]["line"], 2);
    EXPECT_EQ(out[0]["id"], "a-1");
    EXPECT_TRUE(out[0].contains("events"));
    EXPECT_EQ(out[1]["line"], 4);
    EXPECT_EQ(out[1]["id"], 7);
    EXPECT_TRUE(out[1].contains("usage_error"));
    EXPECT_EQ(out[2]["line"], 5);
    EXPECT_FALSE(out[2].contains("id"));
    EXPECT_EQ(out[2]["events"].back(), (json{{"error", "'x' is not a valid floating point value."}, {"field", "I2"}}));
}

// The "id" is the line's own token, so no two different ids come back the same.
TEST(CalcCommandBatch, IdsComeBackExactlyAsWritten) {
    for (const std::string id : {"7", "-0", "0", "1E2", "1e2", "100", "1.50", "-2.5e-3", "12345678901234567890123",
                                 "123456789012345678901234567890.5E+270", "1e-400", R"("a-1")", R"("p\u0159\u00edpad")",
                                 R"("\"7\"")", R"("\/")"}) {
        for (const std::string& line :
             {R"({"id":)" + id + R"(,"page":"kinematika"})", R"({ "page" : "nic" , "id" : )" + id + " }",
              R"({"id":)" + id + R"(,"page":"kinematika","fields":{"I1":20}})"}) {
            const std::string out = calc({"--batch"}, line + "\n").out;
            EXPECT_TRUE(out.starts_with(R"({"line":1,"id":)" + id + ",")) << line << "\n" << out;
            EXPECT_TRUE(json::accept(out)) << out;
        }
    }
}

// An input that cannot be read is said so, after the results of the lines read before it.
class FailingInput : public std::streambuf {
public:
    explicit FailingInput(std::string first) : first_(std::move(first)) {
        setg(first_.data(), first_.data(), first_.data() + first_.size());
    }

protected:
    int_type underflow() override {
        errno = EISDIR;
        throw std::ios_base::failure("read error");
    }

private:
    std::string first_;
};

TEST(CalcCommandBatch, AnInputThatCannotBeReadIsSaidSoWithStatusFour) {
    for (const std::string jobs : {"1", "2"}) {
        FailingInput failing(R"({"page":"kinematika","id":1})"
                             "\n"
                             R"({"page":"kinematika","id":2})"
                             "\n");
        std::istream in(&failing);
        std::ostringstream out;
        std::ostringstream err;
        const std::vector<std::string> arguments{"--jobs", jobs, "--batch"};
        const int status = run_calc_command(arguments, DecimalSeparator(","), in, out, err);
        EXPECT_EQ(status, vorlanex::cli::kExitInputFailed) << jobs;
        EXPECT_EQ(lines(out.str()).size(), 2U) << jobs << out.str();
        EXPECT_EQ(err.str(), "vorlanex-calc: the input could not be read (Is a directory); stopped\n") << jobs;
    }
}

TEST(CalcCommandBatch, FaultsAreResultsSoTheStatusStaysZero) {
    int status = -1;
    batch(R"({"page":"kinematika"})"
          "\n"
          R"({"page":"kinematika","fields":{"I1":"20","I2":"0","I4":"-30","I5":"0","I7":"0","I8":"0"}})"
          "\n",
          &status);
    EXPECT_EQ(status, kExitCompleted);
}

TEST(CalcCommandBatch, ALineOfExactlyOneMebibyteIsStillAScenario) {
    const std::string head = R"({"page":"kinematika","fields":{"I2":")";
    const std::string tail = R"("}})";
    for (const std::size_t length : {std::size_t{1} << 20, (std::size_t{1} << 20) + 1}) {
        const std::string line = head + std::string(length - head.size() - tail.size(), '7') + tail;
        const std::vector<json> out = batch(line + "\n");
        ASSERT_EQ(out.size(), 1U);
        EXPECT_EQ(out[0].contains("events"), length == std::size_t{1} << 20) << length;
    }
}

// The same run written with the option forms getopt_long accepts.
TEST(CalcCommandOptions, LongOptionFormsGiveTheSameRun) {
    const std::vector<std::string> fields{"I1=20", "I2=8", "I3=0.7", "I4=15", "I5=20", "I6=0.8", "I7=0.2", "I8=1"};
    const Outcome plain = calc(with({"--separator", ".", "kinematika"}, fields));
    ASSERT_EQ(plain.exit_status, kExitCompleted);
    const std::vector<std::vector<std::string>> forms{
        with({"--separator=.", "kinematika"}, fields),
        with({"--sep", ".", "kinematika"}, fields),
        with({"--s=.", "kinematika"}, fields),
        [&fields] {
            std::vector<std::string> options_last{"kinematika"};
            options_last.insert(options_last.end(), fields.begin(), fields.end());
            options_last.insert(options_last.end(), {"--separator", "."});
            return options_last;
        }(),
        with({"--separator", ".", "--", "kinematika"}, fields),
    };
    for (const auto& form : forms) {
        const Outcome outcome = calc(form);
        EXPECT_EQ(outcome.exit_status, kExitCompleted) << outcome.err;
        EXPECT_EQ(outcome.out, plain.out) << form[0] << " " << form[1];
    }
    EXPECT_EQ(calc({"--li"}).out, calc({"--list"}).out);
}

// An output that takes `capacity` bytes and refuses every byte after them, as a full disk or a
// pipe whose reader has gone does.
class RefusingOutput : public std::streambuf {
public:
    explicit RefusingOutput(std::size_t capacity) : capacity_(capacity) {}
    const std::string& taken() const { return taken_; }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()) || taken_.size() >= capacity_) return traits_type::eof();
        taken_ += traits_type::to_char_type(c);
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        const auto room = static_cast<std::streamsize>(capacity_ - taken_.size());
        const std::streamsize accepted = std::min(count, room);
        taken_.append(text, static_cast<std::size_t>(accepted));
        return accepted;
    }

private:
    std::size_t capacity_;
    std::string taken_;
};

struct RefusedCase {
    const char* name;
    std::vector<std::string> arguments;
    std::size_t capacity;
};

std::ostream& operator<<(std::ostream& out, const RefusedCase& c) { return out << c.name; }

constexpr std::string_view kThreeScenarios =
    "{\"page\":\"kinematika\"}\n{\"page\":\"kinematika\",\"id\":2}\n{\"page\":\"kinematika\",\"id\":3}\n";

class CalcCommandRefusedOutput : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(CalcCommandRefusedOutput, StopsAtOnceWithStatusThreeAndAMessage) {
    std::istringstream in{std::string(kThreeScenarios)};
    RefusingOutput refusing(GetParam().capacity);
    std::ostream out(&refusing);
    std::ostringstream err;
    const int status = run_calc_command(GetParam().arguments, DecimalSeparator(","), in, out, err);
    EXPECT_EQ(status, vorlanex::cli::kExitOutputFailed);
    EXPECT_NE(err.str().find("could not be written"), std::string::npos) << err.str();
    EXPECT_EQ(refusing.taken().size(), GetParam().capacity) << "nothing was written after the refusal";
    if (GetParam().arguments.front() == "--batch") {
        // The batch read no line after the one whose result was refused.
        const std::size_t lines_read = GetParam().capacity == 0 ? 1 : 2;
        std::string rest;
        std::getline(in, rest, '\0');
        std::string expected_rest(kThreeScenarios);
        for (std::size_t i = 0; i < lines_read; ++i) expected_rest.erase(0, expected_rest.find('\n') + 1);
        EXPECT_EQ(rest, expected_rest);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Everywhere, CalcCommandRefusedOutput,
    ::testing::Values(RefusedCase{"run_first_line", kWorkedExample, 0},
                      RefusedCase{"run_within_a_line", kWorkedExample, 10},
                      RefusedCase{"run_later_line", kWorkedExample, 28},  // after the first write
                      RefusedCase{"batch_first_line", {"--batch"}, 0},
                      RefusedCase{"batch_second_line", {"--batch"}, 319},  // the first result is 319 bytes
                      RefusedCase{"list", {"--list"}, 0},
                      RefusedCase{"help", {"--help"}, 5}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });
// clang-format on

// --list

TEST(CalcCommandList, NamesEveryFieldOfKinematikaWithItsAccessibleNameAndDefaultText) {
    const Outcome outcome = calc({"--list"});
    EXPECT_EQ(outcome.exit_status, kExitCompleted);
    json kinematika;
    for (const std::string& line : lines(outcome.out)) {
        const json page = json::parse(line);
        if (page["page"] == "kinematika") kinematika = page;
    }
    ASSERT_TRUE(kinematika.is_object()) << outcome.out;
    const json& fields = kinematika["fields"];
    const auto& layout = vorlanex::kinematics::braking_page().layout.fields;
    ASSERT_EQ(fields.size(), layout.size());
    ASSERT_EQ(fields.size(), 26U);
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const std::string id = i < 8 ? "I" + std::to_string(i + 1) : "R" + std::to_string(i - 7);
        EXPECT_EQ(fields[i]["id"], id);
        EXPECT_EQ(fields[i]["role"], i < 8 ? "input" : "result");
        EXPECT_EQ(fields[i]["name"], std::string(layout[i].accessible_name));
        EXPECT_FALSE(fields[i]["name"].get<std::string>().empty());
        const std::string expected_default = id == "I1" ? "0" : id == "I3" ? "0,8" : "";
        EXPECT_EQ(fields[i]["default"], expected_default) << id;
    }
}

TEST(CalcCommandList, DefaultTextsUseTheChosenSeparator) {
    const Outcome outcome = calc({"--separator", ".", "--list"});
    EXPECT_NE(outcome.out.find(
                  R"({"id":"I3","role":"input","name":"Součinitel adheze po střetu [1]","unit":"1","default":"0.8"})"),
              std::string::npos)
        << outcome.out;
}

}  // namespace
