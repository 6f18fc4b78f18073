#include "casefile/written_json.h"

#include <nlohmann/json.hpp>

namespace vorlanex::casefile {

namespace {

// A cursor over an object that the JSON library has accepted.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    std::vector<WrittenMember> members() {
        constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
        if (text_.starts_with(kByteOrderMark)) next_ = kByteOrderMark.size();
        std::vector<WrittenMember> found;
        skip_blanks();
        ++next_;  // "{"
        for (skip_blanks(); text_[next_] != '}'; skip_blanks()) {
            if (text_[next_] == ',') {
                ++next_;
                skip_blanks();
            }
            const std::string_view key = skip_value();
            skip_blanks();
            ++next_;  // ":"
            skip_blanks();
            found.push_back({key, skip_value()});
        }
        return found;
    }

private:
    // Passes over one value (a string, a number, a literal, an object or an array), returning its text.
    std::string_view skip_value() {
        const std::size_t start = next_;
        int depth = 0;
        do {
            const char c = text_[next_++];
            if (c == '"') {
                while (text_[next_] != '"') next_ += text_[next_] == '\\' ? std::size_t{2} : std::size_t{1};
                ++next_;
            } else if (c == '{' || c == '[') {
                ++depth;
            } else if (c == '}' || c == ']') {
                --depth;
            } else if (depth == 0) {
                while (next_ < text_.size() &&
                       std::string_view(",}] \t\n\r").find(text_[next_]) == std::string_view::npos) {
                    ++next_;
                }
            }
        } while (depth > 0);
        return text_.substr(start, next_ - start);
    }
    void skip_blanks() {
        while (next_ < text_.size() && std::string_view(" \t\n\r").find(text_[next_]) != std::string_view::npos)
            ++next_;
    }

    std::string_view text_;
    std::size_t next_ = 0;
};

}  // namespace

std::vector<WrittenMember> written_members(std::string_view text) { return Cursor(text).members(); }

std::optional<std::string_view> written_member(std::string_view text, std::string_view key) {
    for (const WrittenMember& member : written_members(text)) {
        if (nlohmann::json::parse(member.key).get<std::string>() == key) return member.value;
    }
    return std::nullopt;
}

}  // namespace vorlanex::casefile
