#pragma once
// The case as the window edits it: the case's own line as written, its separator, and each
// calculation's page, title, note and typed texts. It becomes a case file's text again on save,
// every calculation's outcome recorded anew by this program, and it is read from one on open.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "casefile/case_file.h"
#include "numeric/decimal_separator.h"
#include "page/page_definition.h"
#include "tolerance/distribution.h"

namespace vorlanex::spis {

struct CalculationEntry {
    const page::PageDefinition* page = nullptr;
    std::optional<std::string> id;  // the "id" token as written
    std::optional<std::string> title, note;
    std::vector<std::pair<std::string, std::string>> typed;  // FIELD, TEXT in the order first typed
    std::optional<std::string> tolerances;                   // the "tolerances" object as written

    // The text the field holds before a run: as typed, or the page's default text.
    std::string text(std::string_view field_id, const numeric::DecimalSeparator& separator) const;
    void set_text(std::string_view field_id, std::string_view text);
    // The field's tolerance in short form with the texts as written ("14..16", "0,8~0,05~0,6..1");
    // empty when it has none. One no short form can write is shown as its JSON object.
    std::string tolerance_text(std::string_view field_id) const;
    // The field's tolerance typed in short form: empty removes it, a text parse_short_form accepts
    // replaces it in named form with the very texts typed (a new field after the others), a refused
    // text leaves it as it was and gives why.
    std::optional<tolerance::InputError> set_tolerance(std::string_view field_id, std::string_view short_form,
                                                       const numeric::DecimalSeparator& separator);
};

struct CaseDocument {
    std::string header_line;  // the case's line as written; made anew when its description changes
    numeric::DecimalSeparator separator;
    std::vector<CalculationEntry> calculations;
    casefile::CaseHeader header;  // what the case's line describes
};

// The case's description changed to `header`: its line written anew with the same format and
// separator (the line stays as written when nothing changes).
void set_case_header(CaseDocument& document, const casefile::CaseHeader& header);

// An empty case written with `separator`.
CaseDocument new_case(const numeric::DecimalSeparator& separator);
// The case a case file holds.
CaseDocument case_document(const casefile::CaseFile& file);
// The calculation as it opens on `page`, nothing typed.
CalculationEntry new_calculation(const page::PageDefinition& page);

// The case read back as a case file, or why it is none.
std::variant<casefile::CaseFile, casefile::CaseError> as_case_file(const CaseDocument& document);
// The case file's text, each calculation's "recorded" outcome made by `program`, or why there is none.
std::variant<std::string, casefile::CaseError> case_file_text(const CaseDocument& document, std::string_view program);

}  // namespace vorlanex::spis
