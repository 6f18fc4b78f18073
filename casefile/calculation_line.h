#pragma once
// A calculation's line, read once for both places that hold one: a line of `vorlanex-calc --batch`
// ("page", "fields" and "id") and a calculation of a case file (the same members and "title",
// "note", "tolerances", "recorded"). The line is JSON its reader has already parsed (each reader
// parses in its own way and refuses in its own words: a batch line as soon as it is refused, a case
// file's line whole); from there on the checks and their messages are these.
//
// The two lines differ only in what they may hold and in three words, kept as the two were written
// before they had one reader: a member the line may not hold is the batch's "unknown key 'x'",
// checked after "id", and the case file's "unknown member 'x'", checked first (on a line holding
// "format": "… (only the first line is the case)"); a line without a "page" string is the batch's
// "\"page\" must be a string" and the case file's "a calculation needs \"page\", a string".
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "casefile/case_file.h"
#include "numeric/decimal_separator.h"

namespace vorlanex::casefile {

// The words of the two parsers for the same refusals.
inline constexpr std::string_view kLineNotJson = "the line is not valid JSON";
inline constexpr std::string_view kLineNotObject = "the line is not a JSON object";

// What is wrong with a line, before its line number is put in front of the message: the case file's
// kind of fault, the message, and what it names.
struct LineFault {
    CaseError::Kind kind;
    std::string message;
    std::string subject = {}, detail = {};
};

// The fault as the case file names it: "line N: …".
CaseError at_line(long line, LineFault fault);

// A batch line: its "id" as written, its scenario checked against its page.
std::optional<LineFault> read_batch_calculation(const nlohmann::ordered_json& line, std::string_view written,
                                                Calculation& into);

// A case file's calculation: everything a batch line holds, its title and note, its tolerances (each
// checked with the case's separator) and its recorded outcome, and the line as written.
std::optional<LineFault> read_case_calculation(const nlohmann::ordered_json& line, std::string_view written,
                                               const numeric::DecimalSeparator& separator, Calculation& into);

// The first member of `object` not among `known`, as an "unknown member" fault; `in` names the
// object ("case", "recorded"), where it is not the line itself.
std::optional<LineFault> unknown_member(const nlohmann::ordered_json& object, std::span<const std::string_view> known,
                                        std::string_view in = {});
inline std::optional<LineFault> unknown_member(const nlohmann::ordered_json& object,
                                               std::initializer_list<std::string_view> known,
                                               std::string_view in = {}) {
    return unknown_member(object, std::span<const std::string_view>(known.begin(), known.size()), in);
}

// The string member `key`, if present; when it is present and not a string, nothing, and `fault`
// says so (the last such member of several read in a row is the one named).
std::optional<std::string> optional_text(const nlohmann::ordered_json& object, const std::string& key,
                                         std::optional<LineFault>& fault);

}  // namespace vorlanex::casefile
