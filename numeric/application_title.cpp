#include "numeric/application_title.h"

#include <filesystem>
#include <system_error>


namespace vorlanex::numeric {

std::string application_title(std::string_view executable_path) {
    std::string_view name = executable_path;
    if (const auto slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
    name = name.substr(0, name.find('.'));

    std::string title(name);
    // Only ASCII letters are lowered. Every byte of a multi-byte UTF-8 character is above 0x7F,
    // so such characters, a multi-byte first character included, stay intact.
    for (std::size_t i = 1; i < title.size(); ++i) {
        if (title[i] >= 'A' && title[i] <= 'Z') title[i] = static_cast<char>(title[i] - 'A' + 'a');
    }
    return title;
}

std::string own_executable_path(std::string_view fallback) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || path.empty()) return std::string(fallback);
    return path.string();
}

}  // namespace vorlanex::numeric
