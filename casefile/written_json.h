#pragma once
// The members of a JSON object as they are written: each key's and each value's own text, so that
// what is echoed back ("id", a case file's members) keeps its exact spelling (`1E2` and `100`,
// `-0` and `0`, escapes) rather than what a JSON library would write for the same value.
#include <optional>
#include <string_view>
#include <vector>

namespace vorlanex::casefile {

struct WrittenMember {
    std::string_view key;    // the key's token, quotes included
    std::string_view value;  // the value's token (a string, a number, a literal, an object, an array)
};

// The members of the top-level object `text`, in the order written. `text` must be one JSON
// object that a JSON reader has accepted (a leading byte order mark is passed over).
std::vector<WrittenMember> written_members(std::string_view text);

// The written value of the object's member `key` (unescaped key), or nothing when it has none.
std::optional<std::string_view> written_member(std::string_view text, std::string_view key);

}  // namespace vorlanex::casefile
