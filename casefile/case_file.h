#pragma once
// The case file (.vorlanex): an expert's calculations on one accident kept together, UTF-8 JSON
// Lines, one object a line. What is read here is also the case as the window edits it: the
// editing steps below, the writer in case_writer.h.
//
//   {"format":1,"separator":",","case":{"reference":"…","title":"…","expert":"…","created":"…","note":"…"}}
//   {"id":"brzdeni","title":"…","note":"…","page":"kinematika","fields":{"I1":"20",…},
//    "tolerances":{"I4":{"distribution":"uniform","low":"14","high":"16"}},
//    "analyses":{"tolerance":{"samples":10000,"seed":"1"}},
//    "recorded":{"program":"1.6a","events":[…],"fields":{…}}}
//   {"id":"zastaveni","page":"draha-zastaveni","fields":{"I1":"50"},
//    "links":{"I5":{"from":"brzdeni","field":"R15"}}}                    (format 2 only)
//
// The first line is the case, its description as case_header.h names it; every further line one
// calculation ("page", "fields" and "id" as in a batch line, read as calculation_line.h reads
// both), each field's tolerance in a form of tolerance/distribution_kinds.h, the settings of its
// kept analyses as calculation_analyses.h reads them. Every calculation is
// run with the case's separator, whatever the machine's regional setting. Blank lines are passed
// over (and counted). Reading is strict: the whole file is checked before anything is run, and the
// first fault is named with its line. A calculation's "links" make an input take the text another
// calculation's field shows (case_links.h); a case holding any is of format 2, one without is of
// format 1, so that a file without links stays readable by a version that reads format 1 only.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "casefile/calculation_analyses.h"
#include "casefile/case_header.h"
#include "casefile/scenario.h"
#include "numeric/decimal_separator.h"
#include "tolerance/distribution.h"

namespace vorlanex::casefile {

// The newest format this version reads and writes, and the format of a case without links.
inline constexpr int kFormat = 2;
inline constexpr int kFormatWithoutLinks = 1;
// A line longer than this is refused (as a batch line is).
inline constexpr std::size_t kMaxCaseLineBytes = std::size_t{1} << 20;

// A calculation's outcome as a version of the program produced it, in the batch's result form.
struct Recorded {
    std::string program;
    std::string events;  // the JSON array as written
    std::string fields;  // the JSON object as written
};

// An input that takes, before its calculation runs, the text a field of another calculation shows.
struct Link {
    std::string input;  // the input of this calculation
    std::string from;   // the source's "id" token as written ("\"brzdeni\"", 7)
    std::string field;  // the source's field whose text it takes

    bool operator==(const Link&) const = default;
};

struct Calculation {
    long line = 0;                  // its line number in the file; 0 before it is first written
    std::string written;            // the line as written; empty once edited, and then written anew
    std::optional<std::string> id;  // the "id" token as written
    std::optional<std::string> title, note;
    Scenario scenario;                      // its page and typed texts (FIELD, TEXT in the order first typed)
    std::optional<std::string> tolerances;  // the "tolerances" object as written
    Analyses analyses;                      // the settings of its kept analyses; empty when it has none
    std::optional<Recorded> recorded;
    std::vector<Link> links;  // in the order written, one for an input at most

    // The editing steps: each changes the calculation as the window edits it, and its line is then
    // written anew.
    //
    // The text the field holds before a run: as typed, or the page's default text.
    std::string text(std::string_view field_id, const numeric::DecimalSeparator& separator) const;
    void set_text(std::string_view field_id, std::string_view text);
    // The title or the note (a member pointer); nothing or empty is none.
    void set_description(std::optional<std::string> Calculation::*member, std::optional<std::string> text);
    // The field's tolerance in short form with the texts as written ("14..16", "0,8~0,05~0,6..1");
    // empty when it has none. One no short form can write is shown as its JSON object.
    std::string tolerance_text(std::string_view field_id) const;
    // The field's tolerance typed in short form: empty removes it, a text parse_short_form accepts
    // replaces it in named form with the very texts typed (a new field after the others), a refused
    // text leaves it as it was and gives why.
    std::optional<tolerance::InputError> set_tolerance(std::string_view field_id, std::string_view short_form,
                                                       const numeric::DecimalSeparator& separator);
    // The input's link, or nullptr.
    const Link* link_of(std::string_view input) const;
    // The input takes the text of `field` of the calculation whose id token is `from` (check it
    // first with check_link, case_links.h); its own typed text goes, as the taken text replaces it.
    void set_link(std::string_view input, std::string from, std::string field);
    // The input is typed again; it starts from the page's default text.
    void remove_link(std::string_view input);
    // The settings of its kept analyses; empty keeps none.
    void set_analyses(const Analyses& kept);
};

// True when the two run alike, and so would give the same analyses: the same page, the same typed
// texts and the same tolerances (the title, the note and the analyses' settings do not count).
bool same_inputs(const Calculation& a, const Calculation& b);

struct CaseFile {
    std::string header_line;  // line 1 as written
    CaseHeader header;
    numeric::DecimalSeparator separator;
    std::vector<Calculation> calculations;
    long lines = 0;  // every line of the file, blank ones included
};

// Why a file is no case file: the message as vorlanex-calc prints it, "line N: …" (or about the
// whole file), and the same fault for a program's own words: its kind, its line and what it names.
struct CaseError {
    enum class Kind {
        Empty,                   // the file holds nothing but blanks
        InvalidUtf8,             // a byte is not part of well-formed UTF-8
        LineTooLong,             // a line longer than kMaxCaseLineBytes
        NotJson,                 // a line is not valid JSON
        NestedTooDeep,           // a line nests deeper than a case file does
        MemberTwice,             // subject: a key given twice in one object
        NotObject,               // a line is not a JSON object
        NoFormat,                // the case's line has no "format"
        FormatNotWhole,          // "format" is not a whole number
        NewerFormat,             // subject: the format, newer than kFormat
        NoSuchFormat,            // subject: the format, older than any there is
        UnknownMember,           // subject: the member; detail: the object it is in ("case", "recorded"), or none
        CaseLineAgain,           // subject: an unknown member of a calculation, which holds "format"
        NoSeparator,             // the case's line has no "separator" string
        BadSeparator,            // subject: the separator given
        CaseNotObject,           // "case" is not an object
        NotText,                 // subject: a member that must be a string
        TolerancesNotObject,     // "tolerances" is not an object
        ToleranceOfNoInput,      // subject: the field; detail: the page
        BadTolerance,            // subject: the field; detail: the tolerance's own message
        BadAnalyses,             // detail: what is wrong with "analyses"
        RecordedNotObject,       // "recorded" is not an object
        RecordedWithoutProgram,  // "recorded" has no "program" string
        RecordedWithoutEvents,   // "recorded" has no "events" list
        RecordedEventNotObject,  // a recorded event is not an object
        RecordedWithoutFields,   // "recorded" has no "fields" object
        RecordedTextNotText,     // subject: the field whose recorded text is not a string
        IdNotTextOrNumber,       // "id" is neither a string nor a number
        NoPage,                  // a calculation has no "page" string
        UnknownPage,             // subject: the page's key
        FieldsNotObject,         // "fields" is not an object
        FieldTextNotText,        // subject: the field whose text is not a string
        UnknownField,            // subject: the field; detail: the page
        FieldTwice,              // subject: the field given twice
        IdTwice,                 // subject: the id as written, given to an earlier calculation too
        LinksNotObject,          // "links" is not an object
        BadLink,                 // subject: the input whose link is not {"from":ID,"field":FIELD}
        LinkOntoNoInput,         // subject: the linked field; detail: the page, which has no such input
        LinkToUnknownId,         // subject: the source's id as text; detail: the input
        LinkFromUnknownField,    // subject: the source's field; detail: the source's page
        LinkUnitsDiffer,         // subject: the source's field and unit "R15 [m]"; detail: the input's "I1 [km/h]"
        LinkCycle,               // subject: the ids round the cycle "a ← b ← a"
    };
    std::string message;
    Kind kind = Kind::NotJson;
    long line = 0;  // the line the fault is on; 0 for the whole file
    std::string subject = {}, detail = {};
};

// The case file `bytes`, checked whole: or the first fault, naming its line.
std::variant<CaseFile, CaseError> read_case_file(std::string_view bytes);

}  // namespace vorlanex::casefile
