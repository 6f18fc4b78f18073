#pragma once
// The command's standard output. Every write is checked; after the first one that fails nothing
// more is written, and the command stops.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace vorlanex::cli {

class Output {
public:
    explicit Output(std::ostream& out) : out_(out) {}

    // Hands the text to the stream (which may keep it in its buffer for a while).
    void write(std::string_view text);
    // Writes out what the stream keeps.
    void flush();
    // Writes one line and flushes it.
    void line(std::string_view text_without_newline);

    bool failed() const { return reason_.has_value(); }
    // Why the output failed, for the message on standard error.
    const std::string& reason() const { return *reason_; }

private:
    void check();

    std::ostream& out_;
    std::optional<std::string> reason_;
};

}  // namespace vorlanex::cli
