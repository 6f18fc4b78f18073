#pragma once
// The case's own description, the object "case" of a case file's first line:
//
//   {"format":1,"separator":",","case":{"reference":"…","title":"…","expert":"…","created":"…","note":"…"}}
//
// Every member is a text that may be missing. kCaseHeaderMembers is the one place that names them:
// each member's JSON key (in the order the file writes them), its place in CaseHeader and its Czech
// label. The case file's reader, the report's cover and the properties dialog go through the table;
// so does a writer of the line, member by member in the table's order (append_text_member writing
// "key":"text" when there is a text):
//
//   for (const CaseHeaderMember& member : kCaseHeaderMembers)
//       append_text_member(described, member.key, header.*member.text);
//
// and two descriptions compare with ==. A new member is a member of CaseHeader and a row of the
// table, both here.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vorlanex::casefile {

struct CaseHeader {
    std::optional<std::string> reference, title, expert, created, note;

    bool operator==(const CaseHeader&) const = default;
};

// A member of the description: where CaseHeader holds its text.
using CaseHeaderText = std::optional<std::string> CaseHeader::*;

struct CaseHeaderMember {
    std::string_view key;  // its JSON key in "case"
    CaseHeaderText text;
    // Its Czech name: the properties dialog's label, and the report cover's where `cover_label` is empty.
    std::string_view label;
    // The letter of `label` that Alt takes the dialog to (its first occurrence is underlined).
    char access_key;
    // How a screen reader names its edit, where the label alone would not say whose it is.
    std::string_view accessible_name;
    // How the report's cover labels its row, where not as the dialog does.
    std::string_view cover_label;
    bool several_lines;        // a text of more lines than one (the dialog gives it a text box)
    std::string_view example;  // a text as it is typically written, shown in the empty edit
};

// clang-format off
inline constexpr std::array kCaseHeaderMembers{
    //               key          text                    label             access  accessible name       cover label  lines  example
    CaseHeaderMember{"reference", &CaseHeader::reference, "Spisová značka", 'S',    {},                   "Značka",    false, {}},
    CaseHeaderMember{"title",     &CaseHeader::title,     "Název případu",  'N',    {},                   {},          false, {}},
    CaseHeaderMember{"expert",    &CaseHeader::expert,    "Znalec",         'a',    {},                   {},          false, {}},
    CaseHeaderMember{"created",   &CaseHeader::created,   "Založeno",       'Z',    {},                   {},          false, "2026-03-14"},
    CaseHeaderMember{"note",      &CaseHeader::note,      "Poznámka",       'P',    "Poznámka k případu", {},          true,  {}},
};
// clang-format on

// The keys in the order the file writes them.
inline constexpr std::array<std::string_view, kCaseHeaderMembers.size()> kCaseHeaderKeys = [] {
    std::array<std::string_view, kCaseHeaderMembers.size()> keys{};
    for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = kCaseHeaderMembers[i].key;
    return keys;
}();

// The label a screen reader gives the member's edit; the label on the report's cover.
constexpr std::string_view accessible_name(const CaseHeaderMember& member) {
    return member.accessible_name.empty() ? member.label : member.accessible_name;
}
constexpr std::string_view cover_label(const CaseHeaderMember& member) {
    return member.cover_label.empty() ? member.label : member.cover_label;
}

}  // namespace vorlanex::casefile
