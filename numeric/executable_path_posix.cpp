#include <filesystem>
#include <system_error>

#include "numeric/application_title.h"

namespace vorlanex::numeric {

std::string own_executable_path(std::string_view fallback) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || path.empty()) return std::string(fallback);
    return path.string();
}

}  // namespace vorlanex::numeric
