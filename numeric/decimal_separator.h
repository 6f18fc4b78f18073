#pragma once
// The decimal separator: one character, the only one parse_number accepts and show_number
// writes between the integer and the fractional digits. It is passed to both explicitly. It is
// never a character that a number's other syntax uses or that a reader cannot see, so a number
// shown with it always reads back as the same number.
#include <string>
#include <string_view>

namespace vorlanex::numeric {

// True when `character` is exactly one well-formed UTF-8 character that is none of: a digit "0"-"9",
// "+", "-", "E", "e" (the rest of a number's syntax), a space or other blank, a control character,
// or an invisible one (format and bidirectional marks, zero-width characters, variation
// selectors, combining marks standing alone, fillers, tags, noncharacters).
bool can_be_decimal_separator(std::string_view character);

class DecimalSeparator {
public:
    // `character` is one character in UTF-8 (usually "," or ".") that can_be_decimal_separator
    // accepts; anything else gives ".".
    explicit DecimalSeparator(std::string_view character = ".");

    std::string_view text() const { return text_; }
    friend bool operator==(const DecimalSeparator&, const DecimalSeparator&) = default;

    // The first character of the decimal-separator setting of the user's regional settings
    // (the LC_NUMERIC category chosen by LC_ALL, LC_NUMERIC or LANG, as every POSIX program reads
    // it); "." when that setting cannot be read, for example when the locale is not installed,
    // or when it is a character that cannot be a decimal separator.
    static DecimalSeparator from_regional_settings();

private:
    std::string text_;
};

}  // namespace vorlanex::numeric
