#pragma once
// Links between a case's calculations: an input of one calculation takes, before it runs, the text
// a field of another calculation shows after its run, as an expert would copy it by hand:
//
//   "links":{"I5":{"from":"brzdeni","field":"R15"}}
//
// A link is sound when its input is an input of its page, its source is a calculation of the case
// with that id, the source's page has the field, both fields are of the same unit, and no
// calculation takes, through any number of links, from itself. The calculations then run in an
// order where every source runs before the calculations that take from it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "casefile/case_file.h"

namespace vorlanex::casefile {

// An id's identity: a string by its text, a number by its token (so 1E2 and 100 stay apart, as
// the batch keeps them).
std::string id_identity(std::string_view token);
// An id as a message names it: a string's text, a number's token.
std::string id_text(std::string_view token);

// The calculations of a case by the identity of their ids.
class IdIndex {
public:
    IdIndex() = default;  // no calculation
    explicit IdIndex(const CaseFile& file);
    // The index of the calculation whose id is `token`, or nothing.
    std::optional<std::size_t> find(std::string_view token) const;

private:
    std::unordered_map<std::string, std::size_t> index_;
};

// The first unsound link of the case, the file's order, named with its line; then a cycle.
std::optional<CaseError> check_links(const CaseFile& file);
// Whether `link` could be given to the calculation at `target` (in place of a link of the same
// input), checked as the reader checks a link, the fault named with the target's line.
std::optional<CaseError> check_link(const CaseFile& file, std::size_t target, const Link& link);

// The indexes of the case's calculations in the order they run: every source before the
// calculations that take from it, otherwise the file's order. Links the case cannot follow (an
// unknown id, a cycle) are passed over.
std::vector<std::size_t> run_order(const CaseFile& file);

// Whether the file holds a link, so that it must be written as format 2.
bool has_links(const CaseFile& file);

}  // namespace vorlanex::casefile
