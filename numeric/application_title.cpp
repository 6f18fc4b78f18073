#include "numeric/application_title.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "numeric/utf8.h"

namespace vorlanex::numeric {

std::string application_title(std::string_view executable_path) {
    std::string_view name = executable_path;
    if (const auto slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
    name = name.substr(0, name.find('.'));

    std::string title(name);
    // The first character stays as it is, whole, even when it takes several bytes. Only ASCII
    // letters are lowered: bytes of multi-byte characters are all above 0x7F and stay intact.
    const std::size_t first_length = std::max<std::size_t>(utf8_character_length(name), 1);
    for (std::size_t i = first_length; i < title.size(); ++i) {
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
