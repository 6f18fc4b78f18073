#pragma once
// The JPEG pictures the window shows, compiled into the program as their encoded bytes.
//
// No toolkit here: the window decodes the bytes with libjpeg when it creates its pages. The table
// is generated at build time from resources/pictures/*.jpg, so it holds exactly the shipped files.
#include <span>
#include <string_view>

namespace vorlanex::resources {

struct CompiledJpeg {
    std::string_view name;  // the file name without ".jpg", e.g. "road-view"
    int width;              // the picture's size in pixels, as the window lays it out
    int height;
    std::span<const unsigned char> bytes;  // the whole JPEG file
    // The same drawing at twice as many pixels each way, for a screen scaled by 2.
    std::span<const unsigned char> bytes_at_2x;
};

// Every shipped JPEG picture, in a fixed order; the storage lives as long as the program.
std::span<const CompiledJpeg> compiled_jpegs();

// The picture called `name`, or nullptr when there is none.
const CompiledJpeg* find_compiled_jpeg(std::string_view name);

}  // namespace vorlanex::resources
