#include "winapp/picture_bytes.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "resources/compiled_pictures.h"
#include "winapp/text_conversion.h"

namespace vorlanex::winapp {

std::span<const unsigned char> picture_bytes(std::string_view name) {
    if (const resources::CompiledJpeg* jpeg = resources::find_compiled_jpeg(name)) return jpeg->bytes;
    // An icon's resource is named as its file, with "_" for "-" (winapp/CMakeLists.txt). A resource
    // lives as long as the program: its bytes need no copy and no release.
    std::wstring resource_name = wide_text(name);
    std::replace(resource_name.begin(), resource_name.end(), L'-', L'_');
    HRSRC found = FindResourceW(nullptr, resource_name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const unsigned char*>(bytes), SizeofResource(nullptr, found)};
}

}  // namespace vorlanex::winapp
