#pragma once
// Pictures through Windows' own imaging component (WIC): the JPEG pictures compiled into the
// program decoded into bitmaps the page shows, and a bitmap written as a PNG file (the screenshots).
// COM must be initialised on the calling thread.
#include <windows.h>

#include <span>
#include <string>

namespace vorlanex::winapp {

// The picture `encoded` (the bytes of a JPEG or PNG file) as a 32-bit top-down bitmap at its own
// pixels, a transparent picture laid over `background`; nullptr when WIC cannot decode it. The
// caller owns the bitmap.
HBITMAP decoded_picture(std::span<const unsigned char> encoded, COLORREF background);

// Writes `bitmap` to `path` as a PNG file; false when it could not be written.
bool save_png(HBITMAP bitmap, const std::wstring& path);

}  // namespace vorlanex::winapp
