#include "numeric/application_title.h"

#include <algorithm>

#include "numeric/lower_case.h"
#include "numeric/utf8.h"

namespace vorlanex::numeric {

std::string application_title(std::string_view executable_path) {
    std::string_view name = executable_path;
    if (const auto slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
    name = name.substr(0, name.find('.'));

    // The first character stays as it is (a byte that starts no well-formed character counts as one).
    const std::size_t first = name.empty() ? 0 : std::max<std::size_t>(utf8_character_length(name), 1);
    return std::string(name.substr(0, first)) + lower_case(name.substr(first));
}

}  // namespace vorlanex::numeric
