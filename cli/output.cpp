#include "cli/output.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

namespace vorlanex::cli {

void Output::write(std::string_view text) {
    if (failed()) return;
    errno = 0;
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    check();
}

void Output::flush() {
    if (failed()) return;
    errno = 0;
    out_.flush();
    check();
}

void Output::line(std::string_view text_without_newline) {
    std::string whole;
    whole.reserve(text_without_newline.size() + 1);
    whole.append(text_without_newline).push_back('\n');
    write(whole);
    flush();
}

std::string json_text(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void Output::check() {
    if (!out_) reason_ = errno != 0 ? std::strerror(errno) : "the stream refused it";
}

}  // namespace vorlanex::cli
