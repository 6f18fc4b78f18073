// The report of a run (vorlanex-calc --report): the page is well-formed markup (read by libxml2 as
// XML), self-contained, and every text it shows is the text the same run leaves in the field on a
// page without a window; the path–time diagram puts its points where the fields' values put them,
// read back through the diagram's own axis ticks.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/case_writer.h"
#include "casefile/linked_run.h"
#include "cli/calc_command.h"
#include "numeric/parse_number.h"
#include "numeric/show_number.h"
#include "registry/page_tree.h"
#include "report/avoidability_report.h"
#include "report/case_report.h"
#include "report/report.h"
#include "tests/support/page_runs.h"

namespace {

using namespace vorlanex::testing;
namespace page = vorlanex::page;
using vorlanex::numeric::DecimalSeparator;

constexpr std::chrono::year_month_day kDate{std::chrono::year{2025}, std::chrono::month{3}, std::chrono::day{7}};
const vorlanex::report::Provenance kProvenance{"vorlanex-calc --report kinematika", std::nullopt};

// A report read as XML, with XPath look-ups: "h:" is the XHTML namespace, "svg:" the SVG one.
class Document {
public:
    explicit Document(const std::string& markup) {
        xmlParserCtxtPtr context = xmlNewParserCtxt();
        document_ = xmlCtxtReadMemory(context, markup.data(), static_cast<int>(markup.size()), "report.html", "UTF-8",
                                      XML_PARSE_NONET);
        well_formed_ = document_ && context->wellFormed && context->nsWellFormed;
        xmlFreeParserCtxt(context);
        if (document_) {
            xpath_ = xmlXPathNewContext(document_);
            xmlXPathRegisterNs(xpath_, BAD_CAST "h", BAD_CAST "http://www.w3.org/1999/xhtml");
            xmlXPathRegisterNs(xpath_, BAD_CAST "svg", BAD_CAST "http://www.w3.org/2000/svg");
        }
    }
    ~Document() {
        if (xpath_) xmlXPathFreeContext(xpath_);
        if (document_) xmlFreeDoc(document_);
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    bool well_formed() const { return well_formed_; }

    std::vector<xmlNodePtr> nodes(const std::string& path, xmlNodePtr from = nullptr) const {
        std::vector<xmlNodePtr> found;
        if (!xpath_) return found;
        xpath_->node = from ? from : xmlDocGetRootElement(document_);
        xmlXPathObjectPtr result = xmlXPathEvalExpression(BAD_CAST path.c_str(), xpath_);
        if (result && result->nodesetval) {
            for (int i = 0; i < result->nodesetval->nodeNr; ++i) found.push_back(result->nodesetval->nodeTab[i]);
        }
        xmlXPathFreeObject(result);
        return found;
    }
    // The text of the one node the path finds; "<none>" or "<several>" otherwise.
    std::string text(const std::string& path, xmlNodePtr from = nullptr) const {
        const std::vector<xmlNodePtr> found = nodes(path, from);
        if (found.size() != 1) return found.empty() ? "<none>" : "<several>";
        return content(found.front());
    }

    static std::string content(xmlNodePtr node) {
        xmlChar* text = xmlNodeGetContent(node);
        std::string result = text ? reinterpret_cast<const char*>(text) : "";
        xmlFree(text);
        return result;
    }
    static std::string attribute(xmlNodePtr node, const char* name) {
        xmlChar* value = xmlGetProp(node, BAD_CAST name);
        std::string result = value ? reinterpret_cast<const char*>(value) : "";
        xmlFree(value);
        return result;
    }

private:
    xmlDocPtr document_ = nullptr;
    xmlXPathContextPtr xpath_ = nullptr;
    bool well_formed_ = false;
};

// A warning's list item as the message text: its line breaks back as "\r".
std::string warning_message(xmlNodePtr item) {
    std::string message;
    for (xmlNodePtr child = item->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            message += "\r";
        } else {
            message += Document::content(child);
        }
    }
    return message;
}

// The same run on the recording page: the texts before and after, and the transcript.
struct HeadlessRun {
    std::map<std::string, std::string> before, after;
    std::set<std::string> written;
    std::vector<std::string> warnings;
    std::string error;
};

HeadlessRun run_headless(const page::PageDefinition& definition, const Texts& typed, const std::string& separator) {
    RecordingPort port(definition, separator);
    for (const auto& [id, text] : typed) port.type(id, text);
    HeadlessRun run;
    for (const page::Field& field : definition.layout.fields) run.before[std::string(field.id)] = port.field(field.id);
    for (const Event& event : port.press_calculate()) {
        if (event.kind == "set") run.written.insert(event.field);
        if (event.kind == "warning") run.warnings.push_back(event.text);
        if (event.kind == "error") run.error = event.text;
    }
    for (const page::Field& field : definition.layout.fields) run.after[std::string(field.id)] = port.field(field.id);
    return run;
}

struct Made {
    vorlanex::report::Report report;
    HeadlessRun headless;
};

Made make(const page::PageDefinition& definition, const Texts& typed, const std::string& separator) {
    return {vorlanex::report::make_report(definition, typed, DecimalSeparator(separator), kDate, kProvenance),
            run_headless(definition, typed, separator)};
}

const page::PageDefinition& page_named(const std::string& key) {
    const page::PageDefinition* found = vorlanex::registry::find_page(key);
    if (!found) throw std::runtime_error("no page " + key);
    return *found;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? ""
                                           : std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// ---------------------------------------------------------------------------------------------
// Every text of the report against the headless run.

struct ReportCase {
    std::string name;
    std::string page;
    Texts typed;
    std::string separator = ",";
};
std::ostream& operator<<(std::ostream& out, const ReportCase& c) { return out << c.name; }

std::vector<ReportCase> report_cases() {
    std::vector<ReportCase> cases;
    for (const page::PageDefinition* definition : vorlanex::registry::calculation_pages()) {
        std::string name = std::string(definition->key) + "_worked_example";
        for (char& c : name) c = c == '-' ? '_' : c;
        cases.push_back({name, std::string(definition->key), worked_example(*definition)});
    }
    const Texts kinematika = worked_example(page_named("kinematika"));
    cases.push_back({"substitute_used_but_not_shown", "kinematika", with(kinematika, {{"I6", "0"}, {"I7", "-1"}})});
    cases.push_back({"fault_keeps_old_texts",
                     "kinematika",
                     {{"I1", "20"},
                      {"I2", "0"},
                      {"I4", "-30"},
                      {"I5", "0"},
                      {"I6", "0,8"},
                      {"I7", "0"},
                      {"I8", "0"},
                      {"R4", "45,26"},
                      {"R18", "71,482"}}});
    cases.push_back({"conversion_fault_before_any_result", "kinematika", with(kinematika, {{"I4", "x"}})});
    cases.push_back({"point_separator", "kinematika", with_point(kinematika), "."});
    cases.push_back(
        {"markup_in_a_field_is_text", "kinematika", with(kinematika, {{"I8", "<b>&amp;\"'</b>"}, {"R1", "a b  <i>"}})});
    cases.push_back({"bounds_put_in_order", "kinematika-meze",
                     with(worked_example(page_named("kinematika-meze")), {{"J3.lo", "0,9"}, {"J3.hi", "0,7"}})});
    cases.push_back(
        {"substitutes_written_back", "rychlost-rozhledu", {{"I1", "50"}, {"I2", "-1"}, {"I3", "-2"}, {"I4", "0,15"}}});
    return cases;
}

class ReportOfRun : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportOfRun, ShowsEveryTextOfTheHeadlessRun) {
    const ReportCase& c = GetParam();
    const page::PageDefinition& definition = page_named(c.page);
    const Made made = make(definition, c.typed, c.separator);
    const HeadlessRun& run = made.headless;
    const Document document(made.report.html);
    ASSERT_TRUE(document.well_formed()) << made.report.html;
    EXPECT_EQ(made.report.completed, run.error.empty());

    // Self-contained: nothing fetched, nothing run.
    EXPECT_TRUE(document.nodes("//h:script | //h:link | //h:img | //h:iframe | //h:object | //@src | //@href").empty());
    EXPECT_NE(document.text("/h:html/h:head/h:style").find("size: A4"), std::string::npos);

    // The page's name as its tab shows it, and the date.
    std::string tab;
    for (const auto& top : vorlanex::registry::page_tree()) {
        if (top.page == &definition) tab = trimmed(top.caption);
        for (const auto& sub : top.sub_pages) {
            if (sub.page == &definition) tab = trimmed(top.caption) + " – " + trimmed(sub.caption);
        }
    }
    EXPECT_EQ(document.text("//h:h1"), tab);
    EXPECT_EQ(document.text("//h:td[@class='date']"), "7. 3. 2025");

    for (const page::Field& field : definition.layout.fields) {
        const std::string id(field.id);
        const std::vector<xmlNodePtr> rows = document.nodes("//h:tr[@data-field='" + id + "']");
        ASSERT_EQ(rows.size(), 1U) << id;
        const xmlNodePtr row = rows.front();
        EXPECT_EQ(document.text("h:td[@class='unit']", row), field.unit) << id;
        EXPECT_NE(std::string(field.accessible_name).find(document.text("h:td[@class='caption']", row)),
                  std::string::npos)
            << id;
        const bool written = run.written.count(id) == 1;
        if (field.role == page::FieldRole::Input) {
            EXPECT_EQ(document.text("h:td[@class='typed']/h:span[@class='text']", row), run.before.at(id)) << id;
            EXPECT_EQ(document.text("h:td[@class='used']/h:span[@class='text']", row), run.after.at(id)) << id;
            EXPECT_EQ(Document::attribute(row, "class") == "changed", written) << id << " marked as overwritten";
        } else {
            EXPECT_EQ(document.text("h:td[@class='shown']/h:span[@class='text']", row), run.after.at(id)) << id;
            EXPECT_EQ(Document::attribute(row, "class") == "kept", !written) << id << " marked as not written";
        }
    }

    std::vector<std::string> warnings;
    for (xmlNodePtr item : document.nodes("//h:ol[@class='warnings']/h:li")) warnings.push_back(warning_message(item));
    EXPECT_EQ(warnings, run.warnings);

    if (run.error.empty()) {
        EXPECT_TRUE(document.nodes("//h:section[@class='fault']").empty());
    } else {
        EXPECT_EQ(document.text("//h:section[@class='fault']//h:span[contains(@class,'fault-text')]"), run.error);
        std::set<std::string> kept_listed, kept_expected;
        for (xmlNodePtr item : document.nodes("//h:ul[@class='kept']/h:li"))
            kept_listed.insert(Document::attribute(item, "data-field"));
        for (const page::Field& field : definition.layout.fields) {
            if (field.role == page::FieldRole::Result && !run.written.count(std::string(field.id))) {
                kept_expected.insert(std::string(field.id));
            }
        }
        EXPECT_EQ(kept_listed, kept_expected);
    }

    const std::string rules = document.text("//h:section[@class='rules']/h:p");
    EXPECT_NE(rules.find(c.separator == "," ? "desetinnou čárkou" : "desetinnou tečkou"), std::string::npos) << rules;
}

INSTANTIATE_TEST_SUITE_P(Report, ReportOfRun, ::testing::ValuesIn(report_cases()),
                         [](const auto& info) { return info.param.name; });

// A field's text as typed, and as the report shows it: a character that an HTML page cannot carry
// (or that would pass for a blank) is shown as its code point in a box, bytes that are no UTF-8 as
// U+FFFD; the page holds none of them raw.
struct ShownText {
    std::string name;
    std::string typed;
    std::string shown;
};
std::ostream& operator<<(std::ostream& out, const ShownText& c) { return out << c.name; }

// clang-format off
const ShownText kShownTexts[] = {
    {"c0_control_and_bytes_that_are_no_utf8", std::string("1\x01\xff\xc3", 4), "1U+0001\uFFFD\uFFFD"},
    {"carriage_return_tab_and_line_feed", "1\r2\t3\n", "1U+000D2U+00093U+000A"},
    {"delete_and_c1_control", "5\x7f\xc2\x85", "5U+007FU+0085"},
    {"noncharacters_of_the_first_and_other_planes", "\xef\xbf\xbf\xef\xb7\x90\xf0\x9f\xbf\xbe", "U+FFFFU+FDD0U+1FFFE"},
    {"markup_characters_stay_text", "<b>&\"'", "<b>&\"'"},
    {"czech_letters_and_symbols_stay_as_they_are", "čas µ ÷ \xe2\x82\x81", "čas µ ÷ \xe2\x82\x81"},
    {"bidirectional_override", "1\u202e2/3", "1U+202E2/3"},
};
// clang-format on

class ReportOfTypedText : public ::testing::TestWithParam<ShownText> {};

TEST_P(ReportOfTypedText, ShowsEveryCharacterAndStaysConforming) {
    const ShownText& c = GetParam();
    const vorlanex::report::Report report = vorlanex::report::make_report(
        page_named("kinematika"), Texts{{"I1", c.typed}}, DecimalSeparator(","), kDate, kProvenance);
    const Document document(report.html);
    ASSERT_TRUE(document.well_formed());
    EXPECT_EQ(document.text("//h:tr[@data-field='I1']/h:td[@class='typed']/h:span[@class='text']"), c.shown);
    for (std::size_t i = 0; i < report.html.size(); ++i) {
        const auto byte = static_cast<unsigned char>(report.html[i]);
        EXPECT_FALSE(byte < 0x20 && byte != '\n' && byte != '\t') << "a raw control at byte " << i;
        EXPECT_NE(report.html.substr(i, 2), "\xc2\x85") << "a raw C1 control at byte " << i;
    }
    EXPECT_EQ(report.html.find("&#13;"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Report, ReportOfTypedText, ::testing::ValuesIn(kShownTexts),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// The path–time diagram.

// A point expected in the diagram: its caption, and the fields whose values add up to its time
// and to its distance (none: 0).
struct ExpectedPoint {
    std::string title;
    std::vector<std::string> time;
    std::vector<std::string> distance;
};

struct DiagramCase {
    std::string name;
    std::string page;
    Texts typed;
    std::vector<ExpectedPoint> points;   // every event point, or none when it is not drawn
    std::vector<std::string> obstacles;  // fields of the obstacle lines drawn
    std::string not_drawn = {};          // part of the reason given instead of the drawing
};
std::ostream& operator<<(std::ostream& out, const DiagramCase& c) { return out << c.name; }

// One axis read from its ticks: pixel = offset + value × scale.
struct AxisMap {
    double offset = 0, scale = 0, span = 0;
    double value(double pixel) const { return (pixel - offset) / scale; }
};

AxisMap axis_from_ticks(const Document& document, const std::string& tick_class, const char* coordinate,
                        const DecimalSeparator& separator) {
    std::vector<std::pair<double, double>> ticks;  // value, pixel
    for (xmlNodePtr tick : document.nodes("//svg:g[contains(@class,'" + tick_class + "')]")) {
        const double value = vorlanex::numeric::parse_number(document.text("svg:text", tick), separator);
        ticks.emplace_back(value, std::stod(Document::attribute(document.nodes("svg:line", tick).front(), coordinate)));
    }
    EXPECT_GE(ticks.size(), 2U) << tick_class;
    if (ticks.size() < 2) return {};
    const auto& [v0, p0] = ticks.front();
    const auto& [v1, p1] = ticks.back();
    AxisMap map;
    map.scale = (p1 - p0) / (v1 - v0);
    map.offset = p0 - v0 * map.scale;
    map.span = v1 - v0;
    EXPECT_DOUBLE_EQ(v0, 0) << tick_class << " starts at 0";
    return map;
}

const ExpectedPoint kReactionStart{"začátek reakce", {}, {}};

std::vector<DiagramCase> diagram_cases() {
    const Texts kinematika = worked_example(page_named("kinematika"));
    const Texts bounds = worked_example(page_named("kinematika-meze"));
    const std::vector<ExpectedPoint> kinematika_points{
        kReactionStart,
        {"sešlápnutí pedálu brzdy", {"I8"}, {"R14"}},
        {"začátek blokovací stopy", {"I8", "I7"}, {"R14", "R13"}},
        {"střet", {"R16"}, {"R15"}},
    };
    std::vector<ExpectedPoint> bounds_points;
    for (const std::string bound : {"lo", "hi"}) {
        const std::string name = bound == "lo" ? " (dolní mez)" : " (horní mez)";
        bounds_points.push_back({"začátek reakce" + name, {}, {}});
        bounds_points.push_back({"sešlápnutí pedálu brzdy" + name, {"J8." + bound}, {"Q14." + bound}});
        bounds_points.push_back(
            {"začátek blokovací stopy" + name, {"J8." + bound, "J7." + bound}, {"Q14." + bound, "Q13." + bound}});
        bounds_points.push_back({"střet" + name, {"Q16." + bound}, {"Q15." + bound}});
    }
    std::vector<DiagramCase> cases{
        {"kinematika_worked_example", "kinematika", kinematika, kinematika_points, {"R15"}},
        {"kinematika_without_build_up_or_skid",
         "kinematika",
         with(kinematika, {{"I5", "0"}, {"I7", "0"}}),
         kinematika_points,
         {"R15"}},
        {"kinematika_fault_before_the_results",
         "kinematika",
         with(kinematika, {{"I4", "-100"}}),
         {},
         {},
         "výpočet nezapsal pole „Reakční dráha [m]“"},
        {"kinematika_substitute_not_in_the_field",
         "kinematika",
         with(kinematika, {{"I7", "-1"}}),
         {},
         {},
         "pole „Doba náběhu brzd [s]“ ukazuje zápornou hodnotu -1"},
        {"kinematika_no_time_at_all",
         "kinematika",
         {{"I1", "0"}, {"I2", "0"}, {"I4", "0"}, {"I5", "0"}, {"I6", "0,8"}, {"I7", "0"}, {"I8", "0"}},
         {},
         {},
         "neuplynul od začátku reakce žádný čas"},
        {"bounds_worked_example", "kinematika-meze", bounds, bounds_points, {"Q15.lo", "Q15.hi"}},
        // Phases so short that their events lie almost on one spot: the captions still part.
        {"kinematika_very_short_reaction_and_build_up",
         "kinematika",
         with(kinematika, {{"I7", "0,001"}, {"I8", "0,001"}}),
         kinematika_points,
         {"R15"}},
        {"bounds_very_short_reaction_and_build_up",
         "kinematika-meze",
         with(bounds, {{"J7.lo", "0,001"}, {"J7.hi", "0,002"}, {"J8.lo", "0,001"}, {"J8.hi", "0,002"}}),
         bounds_points,
         {"Q15.lo", "Q15.hi"}},
    };
    // "Dráha na zastavení": to the stop, or to the obstacle in each phase.
    const Texts stopping{{"I1", "50"}, {"I2", "0,8"}, {"I3", "1"}, {"I4", "0,2"}, {"I5", "1000"}};
    const ExpectedPoint pedal{"sešlápnutí pedálu brzdy", {"I3"}, {"R4"}};
    const ExpectedPoint skid{"začátek blokovací stopy", {"I3", "I4"}, {"R4", "R5"}};
    const ExpectedPoint obstacle{"střet s překážkou", {"C8"}, {"I5"}};
    cases.push_back({"stopping_before_the_obstacle",
                     "draha-zastaveni",
                     stopping,
                     {kReactionStart, pedal, skid, {"zastavení", {"R13"}, {"R11"}}},
                     {}});
    cases.push_back({"stopping_very_short_reaction_and_build_up",
                     "draha-zastaveni",
                     with(stopping, {{"I3", "0,001"}, {"I4", "0,001"}}),
                     {kReactionStart, pedal, skid, {"zastavení", {"R13"}, {"R11"}}},
                     {}});
    cases.push_back({"stopping_obstacle_in_full_braking",
                     "draha-zastaveni",
                     with(stopping, {{"I5", "20"}}),
                     {kReactionStart, pedal, skid, obstacle},
                     {"I5"}});
    cases.push_back({"stopping_obstacle_in_build_up",
                     "draha-zastaveni",
                     with(stopping, {{"I5", "15"}}),
                     {kReactionStart, pedal, obstacle},
                     {"I5"}});
    cases.push_back({"stopping_obstacle_while_reacting",
                     "draha-zastaveni",
                     with(stopping, {{"I5", "10"}}),
                     {kReactionStart, obstacle},
                     {"I5"}});
    cases.push_back({"stopping_speed_below_zero_after_build_up",
                     "draha-zastaveni",
                     {{"I1", "10"}, {"I2", "0,8"}, {"I3", "1"}, {"I4", "1"}, {"I5", "1000"}},
                     {},
                     {},
                     "ukazuje zápornou hodnotu -1,145"});
    return cases;
}

std::size_t utf8_characters(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A text of the drawing as the space it covers, estimated from its characters generously small
// (half the font size a character, 0.75 of it above the baseline and 0.2 below), so that only
// texts that really cover each other are found.
struct TextBox {
    std::string text;
    double left, top, right, bottom;
};
TextBox text_box(xmlNodePtr node) {
    const std::string text = Document::content(node);
    const double size =
        std::stod(Document::attribute(node, "font-size").empty() ? "11" : Document::attribute(node, "font-size"));
    const double width = 0.5 * size * static_cast<double>(utf8_characters(text));
    const double x = std::stod(Document::attribute(node, "x"));
    const double y = std::stod(Document::attribute(node, "y"));
    const std::string anchor = Document::attribute(node, "text-anchor");
    const double left = anchor == "end" ? x - width : anchor == "middle" ? x - width / 2 : x;
    return {text, left, y - 0.75 * size, left + width, y + 0.2 * size};
}

// No caption covers another or the axes' numbers, however close the points lie.
void expect_captions_apart(const Document& document) {
    std::vector<TextBox> captions;
    for (xmlNodePtr node : document.nodes("//svg:text[contains(@class,'event-') or contains(@class,'obstacle-')]"))
        captions.push_back(text_box(node));
    std::vector<TextBox> numbers;
    for (xmlNodePtr node : document.nodes("//svg:g[contains(@class,'tick')]/svg:text"))
        numbers.push_back(text_box(node));
    EXPECT_FALSE(captions.empty());
    const auto overlap = [](const TextBox& a, const TextBox& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    };
    for (std::size_t i = 0; i < captions.size(); ++i) {
        for (std::size_t j = i + 1; j < captions.size(); ++j)
            EXPECT_FALSE(overlap(captions[i], captions[j])) << captions[i].text << " / " << captions[j].text;
        for (const TextBox& number : numbers)
            EXPECT_FALSE(overlap(captions[i], number)) << captions[i].text << " / axis number " << number.text;
    }
}

class PathTimeDiagram : public ::testing::TestWithParam<DiagramCase> {};

TEST_P(PathTimeDiagram, PointsSitWhereTheFieldValuesPutThem) {
    const DiagramCase& c = GetParam();
    if (!vorlanex::registry::find_page(c.page)) GTEST_SKIP() << "the page " << c.page << " is not in the registry";
    const page::PageDefinition& definition = page_named(c.page);
    const DecimalSeparator separator(",");
    const Made made = make(definition, c.typed, ",");
    const Document document(made.report.html);
    ASSERT_TRUE(document.well_formed());

    if (!c.not_drawn.empty()) {
        EXPECT_TRUE(document.nodes("//svg:svg").empty());
        const std::string reason = document.text("//h:p[@class='not-drawn']");
        EXPECT_NE(reason.find(c.not_drawn), std::string::npos) << reason;
        return;
    }
    ASSERT_EQ(document.nodes("//svg:svg").size(), 1U);
    const AxisMap time = axis_from_ticks(document, "t-tick", "x1", separator);
    const AxisMap distance = axis_from_ticks(document, "s-tick", "y1", separator);
    // The coordinates are written to 0.01 of a unit of the drawing.
    const double time_tolerance = 0.006 / std::abs(time.scale);
    const double distance_tolerance = 0.006 / std::abs(distance.scale);

    const auto value_of = [&](const std::vector<std::string>& fields) {
        double sum = 0;
        for (const std::string& field : fields)
            sum += vorlanex::numeric::parse_number(made.headless.after.at(field), separator);
        return sum;
    };
    std::map<std::string, std::pair<double, double>> drawn;
    for (xmlNodePtr circle : document.nodes("//svg:circle[contains(@class,'event')]")) {
        drawn[document.text("svg:title", circle)] = {std::stod(Document::attribute(circle, "cx")),
                                                     std::stod(Document::attribute(circle, "cy"))};
    }
    EXPECT_EQ(drawn.size(), c.points.size());
    for (const ExpectedPoint& point : c.points) {
        const auto found = drawn.find(point.title);
        ASSERT_NE(found, drawn.end()) << point.title;
        EXPECT_NEAR(time.value(found->second.first), value_of(point.time), time_tolerance) << point.title;
        EXPECT_NEAR(distance.value(found->second.second), value_of(point.distance), distance_tolerance) << point.title;
    }
    const std::vector<xmlNodePtr> lines = document.nodes("//svg:line[@class='obstacle']");
    ASSERT_EQ(lines.size(), c.obstacles.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NEAR(distance.value(std::stod(Document::attribute(lines[i], "y1"))), value_of({c.obstacles[i]}),
                    distance_tolerance)
            << c.obstacles[i];
    }
    expect_captions_apart(document);
}

INSTANTIATE_TEST_SUITE_P(Report, PathTimeDiagram, ::testing::ValuesIn(diagram_cases()),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// The command's option: the report on standard output, the run's exit status.

struct CommandCase {
    std::string name;
    std::vector<std::string> arguments;
    int exit_status;
    bool report;  // the output is a report; otherwise a usage message on standard error
};
std::ostream& operator<<(std::ostream& out, const CommandCase& c) { return out << c.name; }

// clang-format off
const CommandCase kCommandCases[] = {
    {"completed_run", {"--report", "kinematika", "I2=0", "I4=0", "I5=0", "I7=0", "I8=0", "I6=0,8"}, 0, true},
    {"page_after_the_option_or_before",
     {"kinematika", "I2=0", "--report", "I4=0", "I5=0", "I6=1", "I7=0", "I8=0"},
     0,
     true},
    {"fault_still_reports", {"--report", "kinematika", "I2=x"}, 1, true},
    {"option_by_its_beginning", {"--rep", "kinematika", "I2=x"}, 1, true},
    {"no_page", {"--report"}, 2, false},
    {"option_takes_no_value", {"--report=kinematika"}, 2, false},
    {"with_list", {"--report", "--list"}, 2, false},
    {"with_batch", {"--report", "--batch"}, 2, false},
    {"unknown_field", {"--report", "kinematika", "X9=1"}, 2, false},
};
// clang-format on

class ReportCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(ReportCommand, WritesTheReportOrRefusesTheArguments) {
    const CommandCase& c = GetParam();
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(vorlanex::cli::run_calc_command(c.arguments, DecimalSeparator(","), in, out, err), c.exit_status);
    if (c.report) {
        EXPECT_TRUE(out.str().starts_with("<!DOCTYPE html>")) << out.str().substr(0, 200);
        EXPECT_TRUE(Document(out.str()).well_formed());
        EXPECT_EQ(err.str(), "");
    } else {
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str(), "");
    }
}

TEST(ReportCommand, OutputThatCannotBeWrittenStopsWithStatusThree) {
    std::istringstream in;
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(vorlanex::cli::run_calc_command(std::vector<std::string>{"--report", "kinematika"}, DecimalSeparator(","),
                                              in, out, err),
              vorlanex::cli::kExitOutputFailed);
}

INSTANTIATE_TEST_SUITE_P(Report, ReportCommand, ::testing::ValuesIn(kCommandCases),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// The report of a whole case: a cover, the contents, and for every calculation the very report a
// single run of it gives; where the recorded outcome differs, its section says which field.

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

vorlanex::casefile::CaseFile case_from(const std::string& text) {
    auto read = vorlanex::casefile::read_case_file(text);
    if (auto* error = std::get_if<vorlanex::casefile::CaseError>(&read)) ADD_FAILURE() << error->message;
    return std::get<vorlanex::casefile::CaseFile>(std::move(read));
}

// The run's own part of a report, <div class="run">…</div>, as written.
std::string run_part(const std::string& html, std::size_t from = 0) {
    const std::size_t start = html.find("<div class=\"run\">", from);
    if (start == std::string::npos) return "<none>";
    return html.substr(start, html.find("</div>\n", start) + 7 - start);
}

TEST(CaseReport, EverySectionIsTheSingleRunsReportAndTheCoverSaysWhereItCameFrom) {
    const std::string text = file_text(std::string(VORLANEX_CASES_DIR) + "/every-page.vorlanex");
    const vorlanex::casefile::CaseFile file = case_from(text);
    const vorlanex::report::Provenance provenance{"vorlanex-calc --report --case every-page.vorlanex", "ab12"};
    const vorlanex::report::CaseReport made =
        vorlanex::report::make_case_report(file, vorlanex::casefile::run_case(file), kDate, provenance);
    const Document document(made.html);
    ASSERT_TRUE(document.well_formed());
    EXPECT_EQ(document.text("//h:section[@class='cover']//h:code[@class='sha256']"), "ab12");
    EXPECT_EQ(document.text("//h:section[@class='cover']//h:code[@class='command']"), provenance.command);
    // The case's description under its labels ("Založeno"), the title heading the cover.
    EXPECT_EQ(document.text("//h:h1[@class='case-title']"), *file.header.title);
    for (const vorlanex::casefile::CaseHeaderMember& member : vorlanex::casefile::kCaseHeaderMembers) {
        if (member.text == &vorlanex::casefile::CaseHeader::title) continue;
        EXPECT_EQ(document.text("//h:table[@class='facts case']/h:tr[h:th='" +
                                std::string(vorlanex::casefile::cover_label(member)) + "']/h:td"),
                  *(file.header.*member.text))
            << member.key;
    }
    EXPECT_EQ(document.text("//h:table[@class='facts case']/h:tr[h:th='Založeno']/h:td"), "2026-03-14");
    EXPECT_EQ(document.nodes("//h:ol[@class='contents']/h:li").size(), file.calculations.size());

    std::set<std::string> pages;
    std::size_t from = 0;
    for (const vorlanex::casefile::Calculation& calculation : file.calculations) {
        pages.insert(std::string(calculation.scenario.page->key));
        const std::string section =
            "<section class=\"calculation\" id=\"vypocet-radek-" + std::to_string(calculation.line);
        from = made.html.find(section, from);
        ASSERT_NE(from, std::string::npos) << calculation.line;
        const vorlanex::report::Report single = vorlanex::report::make_report(
            *calculation.scenario.page, calculation.scenario.fields, file.separator, kDate, kProvenance);
        EXPECT_EQ(run_part(made.html, from), run_part(single.html)) << "line " << calculation.line;
        EXPECT_NE(made.html.find(*calculation.title, from), std::string::npos);
    }
    EXPECT_EQ(pages.size(), vorlanex::registry::calculation_pages().size()) << "the case holds every page";
    EXPECT_EQ(document.nodes("//h:p[@class='recorded-none']").size(), file.calculations.size());
}

// The contents name each calculation once: its own title with its page's name, or the page's name.
TEST(CaseReport, TheContentsNameEachCalculationOnce) {
    struct Row {
        const char* title_member;  // as written in the line, or nothing
        std::string item;          // the contents' item, {page} standing for the page's name
    };
    const Row rows[] = {{"", "{page}"}, {R"("title":"",)", "{page}"}, {R"("title":"Střet",)", "Střet – {page}"}};
    for (const Row& row : rows) {
        const vorlanex::casefile::CaseFile file = case_from(std::string(R"({"format":1,"separator":","})") + "\n{" +
                                                            row.title_member + R"("page":"gev-definice"})" + "\n");
        const vorlanex::report::CaseReport made =
            vorlanex::report::make_case_report(file, vorlanex::casefile::run_case(file), kDate, kProvenance);
        const Document document(made.html);
        ASSERT_TRUE(document.well_formed());
        std::string expected = row.item;
        const std::string page = vorlanex::report::page_name(*file.calculations[0].scenario.page);
        expected.replace(expected.find("{page}"), 6, page);
        EXPECT_EQ(document.text("//h:ol[@class='contents']/h:li"), expected) << row.title_member;
    }
}

TEST(CaseReport, ARecordedTextThatDiffersIsNamedInItsSection) {
    const std::string header = R"({"format":1,"separator":","})";
    const std::string recorded_now =
        R"({"id":"a","page":"gev-definice","fields":{"I1":"30","I2":"50"},"recorded":{"program":"1.0","events":)"
        R"([{"set":"R1","text":"13,889"},{"set":"R2","text":"0,333"}],"fields":{"I1":"30","I2":"50","R1":"13,889","R2":"0,333"}}})";
    std::string tampered = recorded_now;
    tampered.replace(tampered.rfind("0,333"), 5, "0,334");
    tampered.replace(tampered.find(R"("a")"), 3, R"("b")");
    const vorlanex::casefile::CaseFile file = case_from(header + "\n" + recorded_now + "\n" + tampered + "\n");
    const vorlanex::report::CaseReport made =
        vorlanex::report::make_case_report(file, vorlanex::casefile::run_case(file), kDate, kProvenance);
    const Document document(made.html);
    ASSERT_TRUE(document.well_formed());
    EXPECT_EQ(document.nodes("//h:p[@class='recorded-same']").size(), 1U);
    EXPECT_EQ(document.text("//h:div[@class='recorded-differs']//h:tr[@data-field='R2']"), "R20,3340,333");
}

// A text written into a case, holding controls that turn text around, and what its report shows:
// each such control as its code point, the text isolated in a <bdi> of its own where it stands,
// and the page without one raw control of that kind ("ZP 1/2026" stays "ZP 1/2026").
struct BidiText {
    std::string name;
    std::string object;  // "case" (the case's description) or "calculation"
    std::string key;
    std::string text;
    std::string shown;
};
std::ostream& operator<<(std::ostream& out, const BidiText& c) { return out << c.name; }

// clang-format off
const BidiText kBidiTexts[] = {
    {"case_title_with_an_override", "case", "title", "\u202eZP 1/2026", "U+202EZP 1/2026"},
    {"reference_with_an_embedding", "case", "reference", "ZP \u202b1/2026", "ZP U+202B1/2026"},
    {"expert_with_isolates", "case", "expert", "\u2066Ing.\u2069 \u2067J.\u2069 \u2068N.\u2069", "U+2066Ing.U+2069 U+2067J.U+2069 U+2068N.U+2069"},
    {"case_note_with_marks", "case", "note", "a\u200eb\u200fc\u061cd", "aU+200EbU+200FcU+061Cd"},
    {"calculation_title_with_a_pop", "calculation", "title", "\u202ax\u202cy\u202d", "U+202AxU+202CyU+202D"},
    {"calculation_note_with_an_override", "calculation", "note", "pozn\u202eámka 1/2026", "poznU+202Eámka 1/2026"},
    {"hebrew_title_kept_apart", "calculation", "title", "\u05e9\u05dc\u05d5\u05dd 1/2026", "\u05e9\u05dc\u05d5\u05dd 1/2026"},
};
// clang-format on

// Where the report puts the text of `key` of `object`, as the <bdi> that isolates it.
std::vector<std::string> places_of(const BidiText& c) {
    if (c.object == "case" && c.key == "title") return {"//h:h1[@class='case-title']/h:bdi"};
    if (c.object == "calculation" && c.key == "title")
        return {"//h:h1[@class='calculation-title']/h:bdi", "//h:ol[@class='contents']/h:li/h:a/h:bdi"};
    if (c.object == "calculation") return {"//h:p[@class='calculation-note']/h:bdi"};
    for (const vorlanex::casefile::CaseHeaderMember& member : vorlanex::casefile::kCaseHeaderMembers) {
        if (member.key == c.key) {
            return {"//h:table[@class='facts case']/h:tr[h:th='" +
                    std::string(vorlanex::casefile::cover_label(member)) + "']/h:td/h:bdi"};
        }
    }
    return {};
}

class CaseReportOfBidiText : public ::testing::TestWithParam<BidiText> {};

TEST_P(CaseReportOfBidiText, ShowsTheControlsAndIsolatesTheText) {
    const BidiText& c = GetParam();
    nlohmann::ordered_json header{{"format", 1}, {"separator", ","}, {"case", {{"reference", "ZP 1/2026"}}}};
    nlohmann::ordered_json calculation{{"page", "gev-definice"}, {"fields", {{"I1", "30"}, {"I2", "50"}}}};
    (c.object == "case" ? header["case"] : calculation)[c.key] = c.text;
    const vorlanex::casefile::CaseFile file = case_from(header.dump() + "\n" + calculation.dump() + "\n");
    const vorlanex::report::Provenance provenance{"vorlanex-calc --report --case '" + c.text + "'", "ab12"};
    const std::string html =
        vorlanex::report::make_case_report(file, vorlanex::casefile::run_case(file), kDate, provenance).html;
    const Document document(html);
    ASSERT_TRUE(document.well_formed());
    const std::vector<std::string> places = places_of(c);
    ASSERT_FALSE(places.empty());
    for (const std::string& place : places) EXPECT_EQ(document.text(place), c.shown) << place;
    EXPECT_EQ(document.text("//h:section[@class='cover']//h:code[@class='command']/h:bdi"),
              "vorlanex-calc --report --case '" + c.shown + "'");
    for (const char* raw : {"\u202a", "\u202b", "\u202c", "\u202d", "\u202e", "\u2066", "\u2067", "\u2068", "\u2069",
                            "\u200e", "\u200f", "\u061c"}) {
        EXPECT_EQ(html.find(raw), std::string::npos) << "a raw control in the report";
    }
}

INSTANTIATE_TEST_SUITE_P(CaseReport, CaseReportOfBidiText, ::testing::ValuesIn(kBidiTexts),
                         [](const auto& info) { return info.param.name; });

TEST(Report, ASingleRunEndsWithItsProvenance) {
    const Document document(make(page_named("kinematika"), Texts{}, ",").report.html);
    EXPECT_EQ(document.text("//h:section[@class='provenance']//h:code[@class='command']"), kProvenance.command);
    EXPECT_EQ(document.nodes("//h:code[@class='sha256']").size(), 0U);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// A stopping calculation that takes its obstacle from a reconstruction's collision point: the
// report of the case answers whether the vehicle would have stopped at the permitted speed, with
// the numbers the answer rests on as their fields show them, and draws both motions together.

struct AvoidabilityCase {
    std::string name;
    std::string permitted_speed;                // typed into the stopping calculation in place of the fixture's 50
    std::string answer;                         // the answer's class: "stops" or "collides"
    std::vector<std::string> permitted_fields;  // the stopping calculation's fields the table shows
};
std::ostream& operator<<(std::ostream& out, const AvoidabilityCase& c) { return out << c.name; }

// clang-format off
const AvoidabilityCase kAvoidabilityCases[] = {
    {"PermittedSpeedStops", "50", "stops", {"I1", "R11", "R13"}},
    {"FasterCollidesWhileBraking", "90", "collides", {"I1", "C3", "C8"}},
    {"FarFasterCollidesWhileReacting", "200", "collides", {"I1", "C3", "C8"}},
    {"SlowerThanTheCollisionStops", "10", "stops", {"I1", "R11", "R13"}},
};
// clang-format on

class AvoidabilityReport : public ::testing::TestWithParam<AvoidabilityCase> {};

TEST_P(AvoidabilityReport, AnswersFromTheFieldsAndDrawsBothMotions) {
    const AvoidabilityCase& c = GetParam();
    std::string text = file_text(std::string(VORLANEX_CASES_DIR) + "/pedestrian-avoidability.vorlanex");
    const std::size_t speed = text.find(R"("fields":{"I1":"50"})");
    ASSERT_NE(speed, std::string::npos);
    text.replace(speed, 20, R"("fields":{"I1":")" + c.permitted_speed + R"("})");
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("avoidability-" + c.name + ".vorlanex");
    std::ofstream(path, std::ios::binary) << text;

    // Through the command, as an expert prints it.
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(vorlanex::cli::run_calc_command(std::vector<std::string>{"--report", "--case", path.string()},
                                              DecimalSeparator(","), in, out, err),
              0)
        << err.str();
    std::filesystem::remove(path);
    const Document document(out.str());
    ASSERT_TRUE(document.well_formed());
    const vorlanex::casefile::CaseFile file = case_from(text);
    const std::vector<vorlanex::casefile::RecordedRun> runs = vorlanex::casefile::run_case(file);
    const vorlanex::casefile::RecordedRun& real = runs[0];
    const vorlanex::casefile::RecordedRun& permitted = runs[1];

    // Only the stopping calculation's section holds the answer.
    const std::string section = "//h:section[@data-line='3']/h:section[@class='avoidability']";
    ASSERT_EQ(document.nodes("//h:section[@class='avoidability']").size(), 1U);
    EXPECT_EQ(document.text(section + "/h:h2"), "Odvratitelnost při dovolené rychlosti");
    const std::string answer = document.text(section + "/h:p[@class='answer " + c.answer + "']");
    EXPECT_NE(answer.find("rychlosti " + permitted.text_after("I1") + " km/h"), std::string::npos) << answer;

    // Each number is the text its field shows after the case's run.
    std::vector<std::pair<std::string, std::string>> expected{{"skutecnost", "R15"}, {"skutecnost", "R16"}};
    for (const std::string& field : c.permitted_fields) expected.emplace_back("dovolena", field);
    for (const auto& [run, field] : expected) {
        const std::string shown = (run == "skutecnost" ? real : permitted).text_after(field);
        EXPECT_NE(shown.find_first_not_of(' '), std::string::npos) << field << " shows nothing";
        EXPECT_EQ(document.text(section + "//h:tr[@data-run='" + run + "'][@data-field='" + field + "']/h:td[1]"),
                  shown)
            << field;
    }
    const std::vector<xmlNodePtr> difference = document.nodes(section + "//h:tr[@data-run='rozdil']/h:td[1]");
    if (c.answer == "collides") {
        EXPECT_NE(answer.find(permitted.text_after("C3") + " km/h"), std::string::npos) << answer;
        // The difference of the two times as shown, at the pages' 3 places.
        ASSERT_EQ(difference.size(), 1U);
        const DecimalSeparator separator(",");
        const vorlanex::numeric::ShownNumber shown =
            vorlanex::numeric::read_shown_number(Document::content(difference.front()), separator);
        EXPECT_LE(shown.decimal_places, 3);
        EXPECT_NEAR(shown.value, *permitted.value("C8") - *real.value("R16"), 0.0005);
        const std::string magnitude = vorlanex::numeric::show_number(std::abs(shown.value), separator);
        EXPECT_NE(answer.find("o " + magnitude + " s"), std::string::npos) << answer;
    } else {
        EXPECT_TRUE(difference.empty());
    }

    // Both motions in one drawing, each named, the second dashed, the collision point marked.
    const std::string html = out.str();
    const std::size_t figure = html.find("<figure class=\"avoidability-diagram\">");
    ASSERT_NE(figure, std::string::npos);
    const std::size_t svg = html.find("<svg", figure);
    const Document drawing(html.substr(svg, html.find("</svg>", svg) + 6 - svg));
    ASSERT_TRUE(drawing.well_formed());
    EXPECT_EQ(drawing.nodes("//svg:line[@class='compared-motion']").size(), 2U);
    EXPECT_EQ(drawing.nodes("//svg:g[@class='legend']/svg:text[.='skutečný pohyb']").size(), 1U);
    EXPECT_EQ(drawing.nodes("//svg:g[@class='legend']/svg:text[.='při dovolené rychlosti']").size(), 1U);
    EXPECT_FALSE(drawing.nodes("//svg:path[contains(@class,'phase')][not(@stroke-dasharray)]").empty());
    EXPECT_FALSE(drawing.nodes("//svg:path[contains(@class,'phase')][@stroke-dasharray]").empty());
    const DecimalSeparator separator(",");
    const AxisMap time = axis_from_ticks(drawing, "t-tick", "x1", separator);
    const AxisMap distance = axis_from_ticks(drawing, "s-tick", "y1", separator);
    const std::vector<xmlNodePtr> collision_point = drawing.nodes("//svg:line[@class='obstacle']");
    ASSERT_EQ(collision_point.size(), 1U);
    EXPECT_NEAR(distance.value(std::stod(Document::attribute(collision_point.front(), "y1"))), *real.value("R15"),
                0.006 / std::abs(distance.scale));
    // The permitted motion ends where its run put it: at its stop, or at the collision point at C8.
    const std::string end = c.answer == "stops" ? "event stop" : "event collision";
    const std::vector<xmlNodePtr> ends =
        drawing.nodes("//svg:circle[@class='" + end + "'][contains(svg:title,'(při dovolené rychlosti)')]");
    ASSERT_EQ(ends.size(), 1U);
    const double end_time = c.answer == "stops" ? *permitted.value("R13") : *permitted.value("C8");
    const double end_distance = c.answer == "stops" ? *permitted.value("R11") : *real.value("R15");
    EXPECT_NEAR(time.value(std::stod(Document::attribute(ends.front(), "cx"))), end_time, 0.006 / std::abs(time.scale));
    EXPECT_NEAR(distance.value(std::stod(Document::attribute(ends.front(), "cy"))), end_distance,
                0.006 / std::abs(distance.scale));
    EXPECT_FALSE(drawing.nodes("//svg:circle[contains(svg:title,'(skutečný pohyb)')]").empty());
    expect_captions_apart(drawing);
}

INSTANTIATE_TEST_SUITE_P(CaseReport, AvoidabilityReport, ::testing::ValuesIn(kAvoidabilityCases),
                         [](const auto& info) { return info.param.name; });

// Where the answer cannot rest on numbers, or a share of samples is asked for that cannot be
// given yet, the part says so instead of answering or drawing.
struct AvoidabilityNotice {
    std::string name;
    std::string replaced, by;  // an edit of the fixture
    std::string paragraph;     // the class of the paragraph that says so
    bool answered;             // whether the numbers are given
    bool drawn;                // whether the two motions are drawn
};

// clang-format off
const AvoidabilityNotice kAvoidabilityNotices[] = {
    {"ReconstructionFaults", R"("I6":"0,8")", R"("I6":"x")", "answer none", false, false},
    {"PermittedSpeedNoNumber", R"("fields":{"I1":"50"})", R"("fields":{"I1":"padesát"})", "answer none", false, false},
    {"AnalysesKept", R"("field":"R15"}}})", R"("field":"R15"}},"analyses":{"tolerance":{"samples":100,"seed":"1"}}})", "stop-share-missing", true, true},
    // So slow that the build-up alone would stop it: the skid-start speed is negative, nothing to draw.
    {"StopsWithinTheBuildUp", R"("fields":{"I1":"50"})", R"("fields":{"I1":"2"})", "not-drawn", true, false},
};
// clang-format on

TEST(CaseReport, TheAvoidabilityPartSaysWhatItCannotGive) {
    const std::string fixture = file_text(std::string(VORLANEX_CASES_DIR) + "/pedestrian-avoidability.vorlanex");
    for (const AvoidabilityNotice& row : kAvoidabilityNotices) {
        std::string text = fixture;
        const std::size_t at = text.find(row.replaced);
        ASSERT_NE(at, std::string::npos) << row.name;
        text.replace(at, row.replaced.size(), row.by);
        const vorlanex::casefile::CaseFile file = case_from(text);
        const std::string html =
            vorlanex::report::make_case_report(file, vorlanex::casefile::run_case(file), kDate, kProvenance).html;
        const Document document(html);
        ASSERT_TRUE(document.well_formed()) << row.name;
        const std::string part = "//h:section[@data-line='3']/h:section[@class='avoidability']";
        EXPECT_EQ(document.nodes(part + "/h:p[@class='" + row.paragraph + "']").size(), 1U) << row.name;
        EXPECT_EQ(document.nodes(part + "/h:figure[@class='avoidability-diagram']").size(), row.drawn ? 1U : 0U)
            << row.name;
        EXPECT_EQ(document.nodes(part + "/h:table").size(), row.answered ? 1U : 0U) << row.name;
    }
}

// The difference of two shown times follows the pages' rounding: formed at extended precision from
// the stored values and rounded to 3 places; nothing when it leaves the range rounding can hold.
TEST(CaseReport, TheTimeDifferenceIsRoundedAsThePagesRound) {
    struct Row {
        double permitted, real;
        std::optional<double> difference;
    };
    const Row rows[] = {
        {2.5, 2.366, 0.134}, {1.081, 2.366, -1.285}, {2.366, 2.366, 0.0}, {0.1, 0.0004, 0.1}, {1e300, 0, std::nullopt}};
    for (const Row& row : rows) {
        EXPECT_EQ(vorlanex::report::time_difference(row.permitted, row.real), row.difference)
            << row.permitted << " - " << row.real;
    }
}
