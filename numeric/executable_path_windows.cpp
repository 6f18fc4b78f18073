#include <windows.h>

#include <algorithm>
#include <vector>

#include "numeric/application_title.h"
#include "numeric/utf8.h"

namespace vorlanex::numeric {

std::string own_executable_path(std::string_view fallback) {
    // The name is cut short without an error when the buffer is too small: grow it until it fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> name(size);
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), size);
        if (length == 0) break;
        if (length < size) {
            static_assert(sizeof(wchar_t) == sizeof(char16_t));
            std::string path =
                utf8_of_utf16(std::u16string_view(reinterpret_cast<const char16_t*>(name.data()), length));
            std::replace(path.begin(), path.end(), '\\', '/');
            return path;
        }
    }
    return std::string(fallback);
}

}  // namespace vorlanex::numeric
