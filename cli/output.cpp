#include "cli/output.h"

#include <cerrno>
#include <cstring>
#include <ostream>

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
    write(text_without_newline);
    write("\n");
    flush();
}

void Output::check() {
    if (!out_) reason_ = errno != 0 ? std::strerror(errno) : "the stream refused it";
}

}  // namespace vorlanex::cli
