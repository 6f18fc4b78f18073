#include "winapp/page_fonts.h"

namespace vorlanex::winapp {

namespace {

constexpr wchar_t kLayoutFace[] = L"MS Sans Serif";

int CALLBACK note_found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool face_installed(HDC dc, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, note_found, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The face Windows' dialogs and message boxes use.
std::wstring dialog_face() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return metrics.lfMessageFont.lfFaceName;
    }
    return L"MS Shell Dlg 2";
}

}  // namespace

PageFonts::PageFonts() : measuring_(CreateCompatibleDC(nullptr)) {
    face_ = face_installed(measuring_, kLayoutFace) ? kLayoutFace : dialog_face();
}

PageFonts::~PageFonts() {
    for (const auto& [key, made] : fonts_) DeleteObject(made);
    DeleteDC(measuring_);
}

HFONT PageFonts::font(page::Font font) {
    const auto key = std::make_pair(font.pixel_size, font.bold);
    if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second;
    // A negative height asks for the character height in pixels, as the layout gives it.
    HFONT made =
        CreateFontW(-font.pixel_size, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face_.c_str());
    fonts_.emplace(key, made);
    return made;
}

SIZE PageFonts::text_size(page::Font font, const std::wstring& text) {
    SelectObject(measuring_, this->font(font));
    RECT bounds{0, 0, 0, 0};
    DrawTextW(measuring_, text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::pair<int, int> PageFonts::side_bearings(page::Font font, const std::wstring& text) {
    if (text.empty()) return {0, 0};
    SelectObject(measuring_, this->font(font));
    ABC first{}, last{};
    const UINT first_character = text.front(), last_character = text.back();
    if (!GetCharABCWidthsW(measuring_, first_character, first_character, &first) ||
        !GetCharABCWidthsW(measuring_, last_character, last_character, &last)) {
        return {0, 0};
    }
    return {first.abcA, last.abcC};
}

}  // namespace vorlanex::winapp
