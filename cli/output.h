#pragma once
// The command's standard output. Every write is checked; after the first one that fails nothing
// more is written, and the command stops.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace vorlanex::cli {

class Output {
public:
    explicit Output(std::ostream& out) : out_(out) {}

    // Hands the text to the stream (which may keep it in its buffer for a while).
    void write(std::string_view text);
    // Writes out what the stream keeps.
    void flush();
    // Writes one line, its newline included, in one piece and flushes it: the stream's buffer is
    // empty after every line, so the line reaches the file in one write, and a run stopped between
    // lines leaves whole lines only.
    void line(std::string_view text_without_newline);

    bool failed() const { return reason_.has_value(); }
    // Why the output failed, for the message on standard error.
    const std::string& reason() const { return *reason_; }

private:
    void check();

    std::ostream& out_;
    std::optional<std::string> reason_;
};

// A JSON value as the command writes it: no blanks, text that is not UTF-8 with U+FFFD in its place.
std::string json_text(const nlohmann::ordered_json& value);

}  // namespace vorlanex::cli
