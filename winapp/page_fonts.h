#pragma once
// The fonts of the pages' texts, fields and buttons, each made once for the whole window: the
// layout's face, "MS Sans Serif", where Windows has it, else the face of Windows' dialogs, at the
// layout's pixel sizes; and the measures of one-line texts in them.
#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "page/layout.h"

namespace vorlanex::winapp {

class PageFonts {
public:
    PageFonts();
    ~PageFonts();
    PageFonts(const PageFonts&) = delete;
    PageFonts& operator=(const PageFonts&) = delete;

    // The face the fonts are made in.
    const std::wstring& face() const { return face_; }
    HFONT font(page::Font font);
    // The size of `text` on one line in `font`: the size of a static control that just holds it.
    SIZE text_size(page::Font font, const std::wstring& text);
    // The pixels left blank before the first character's ink and after the last one's, where the
    // font tells them (a TrueType face); zero otherwise.
    std::pair<int, int> side_bearings(page::Font font, const std::wstring& text);

private:
    HDC measuring_ = nullptr;
    std::wstring face_;
    std::map<std::pair<int, bool>, HFONT> fonts_;
};

}  // namespace vorlanex::winapp
