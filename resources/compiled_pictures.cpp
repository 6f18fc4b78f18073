#include "resources/compiled_pictures.h"

#include <algorithm>

namespace vorlanex::resources {

// compiled_jpegs() is defined in the file generated from the JPEG pictures at build time.

const CompiledJpeg* find_compiled_jpeg(std::string_view name) {
    const std::span<const CompiledJpeg> jpegs = compiled_jpegs();
    const auto found = std::ranges::find(jpegs, name, &CompiledJpeg::name);
    return found == jpegs.end() ? nullptr : &*found;
}

}  // namespace vorlanex::resources
