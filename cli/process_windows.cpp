#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string_view>

#include <algorithm>

#include "cli/process.h"
#include "numeric/utf8.h"

namespace vorlanex::cli {

// The arguments as Windows gives them (UTF-16, split by its own rules), not argv: argv holds them in
// the ANSI code page, where a file name in Czech may not even be written.
std::vector<std::string> command_arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
    std::vector<std::string> arguments;
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    for (int i = 1; i < count; ++i) {
        arguments.push_back(numeric::utf8_of_utf16(reinterpret_cast<const char16_t*>(wide[i])));
    }
    LocalFree(wide);
    return arguments;
}

void pass_standard_streams_unchanged() {
    for (std::FILE* stream : {stdin, stdout, stderr}) _setmode(_fileno(stream), _O_BINARY);
}

bool error_stream_is_terminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace vorlanex::cli
