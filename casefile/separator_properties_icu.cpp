// The character properties of the separator check, from ICU.
#include <array>
#include <string>
#include <vector>

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/uspoof.h>
#include <unicode/utf16.h>

#include "casefile/separator_properties.h"

namespace vorlanex::casefile {

namespace {

using Utf16 = std::u16string;

// The characters of a number besides the decimal separator.
constexpr std::u16string_view kNumberSyntax = u"0123456789+-Ee";

Utf16 utf16_of(char32_t code_point) {
    std::array<UChar, 2> units{};
    int32_t length = 0;
    U16_APPEND_UNSAFE(units.data(), length, static_cast<UChar32>(code_point));
    return Utf16(units.data(), static_cast<std::size_t>(length));
}

// The text's compatibility form (NFKC): "＋" -> "+", "⁻" -> "−"; the text itself should ICU fail.
Utf16 compatibility_form(const Utf16& text) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfkc = unorm2_getNFKCInstance(&status);
    std::array<UChar, 32> normal{};
    const int32_t length = U_SUCCESS(status) ? unorm2_normalize(nfkc, text.data(), static_cast<int32_t>(text.size()),
                                                                normal.data(), normal.size(), &status)
                                             : 0;
    if (U_FAILURE(status)) return text;
    return Utf16(normal.data(), static_cast<std::size_t>(length));
}

// Compares texts by their confusable skeletons (Unicode's UTS #39): texts a reader can take for
// one another have the same skeleton.
class Skeletons {
public:
    Skeletons() {
        UErrorCode status = U_ZERO_ERROR;
        checker_ = uspoof_open(&status);
        if (U_FAILURE(status)) checker_ = nullptr;
        for (const char16_t syntax : kNumberSyntax) syntax_.push_back(skeleton(Utf16(1, syntax)));
    }
    ~Skeletons() {
        if (checker_) uspoof_close(checker_);
    }
    Skeletons(const Skeletons&) = delete;
    Skeletons& operator=(const Skeletons&) = delete;

    bool looks_like_number_syntax(const Utf16& text) const {
        const Utf16 own = skeleton(text);
        for (const Utf16& syntax : syntax_) {
            if (own == syntax) return true;
        }
        return false;
    }

private:
    // The skeleton; the text itself when ICU cannot give one (it then matches only itself).
    Utf16 skeleton(const Utf16& text) const {
        if (!checker_) return text;
        std::array<UChar, 64> result{};
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = uspoof_getSkeleton(checker_, 0, text.data(), static_cast<int32_t>(text.size()),
                                                  result.data(), result.size(), &status);
        if (U_FAILURE(status)) return text;
        return Utf16(result.data(), static_cast<std::size_t>(length));
    }

    USpoofChecker* checker_ = nullptr;
    std::vector<Utf16> syntax_;
};

// A character a reader sees on its own: assigned, not for private use, not a mark that combines with
// the character before it (it would join the digit: 13 + U+0E3A + 889), and not a blank, control,
// format character or other character nothing is drawn for.
bool shows_on_its_own(char32_t code_point) {
    const auto c = static_cast<UChar32>(code_point);
    switch (u_charType(c)) {
        case U_UNASSIGNED:
        case U_PRIVATE_USE_CHAR:
        case U_SURROGATE:
        case U_NON_SPACING_MARK:
        case U_ENCLOSING_MARK:
        case U_COMBINING_SPACING_MARK:
        case U_CONTROL_CHAR:
        case U_FORMAT_CHAR:
        case U_SPACE_SEPARATOR:
        case U_LINE_SEPARATOR:
        case U_PARAGRAPH_SEPARATOR: return false;
        default: return u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT) == 0;
    }
}

bool is_numeral_or_dash(char32_t code_point) {
    const auto c = static_cast<UChar32>(code_point);
    switch (u_charType(c)) {
        case U_DECIMAL_DIGIT_NUMBER:
        case U_LETTER_NUMBER:
        case U_OTHER_NUMBER:
        case U_DASH_PUNCTUATION: return true;
        default: return u_hasBinaryProperty(c, UCHAR_DASH) != 0;
    }
}

bool could_be_read_as_number_syntax(char32_t code_point) {
    if (is_numeral_or_dash(code_point)) return true;
    static const Skeletons skeletons;  // ICU's checker is safe to share once made
    const Utf16 text = utf16_of(code_point);
    return skeletons.looks_like_number_syntax(text) || skeletons.looks_like_number_syntax(compatibility_form(text));
}

}  // namespace

bool shows_alone_unlike_number_syntax(char32_t code_point) {
    return shows_on_its_own(code_point) && !could_be_read_as_number_syntax(code_point);
}

}  // namespace vorlanex::casefile
