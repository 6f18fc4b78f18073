#pragma once
// The encoded picture a page places by name: the JPEG pictures compiled into every build, and the
// icons the Qt window draws, which the Windows programs carry as PNG resources (resources/icons/).
#include <span>
#include <string_view>

namespace vorlanex::winapp {

// The bytes of the picture called `name`, or none when there is no such picture.
std::span<const unsigned char> picture_bytes(std::string_view name);

}  // namespace vorlanex::winapp
