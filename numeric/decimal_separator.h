#pragma once
// The decimal separator: one character, the only one parse_number accepts and show_number
// writes between the integer and the fractional digits. It is passed to both explicitly.
#include <string>
#include <string_view>

namespace vorlanex::numeric {

class DecimalSeparator {
public:
    // `character` is one character in UTF-8 (usually "," or "."); anything else gives ".".
    explicit DecimalSeparator(std::string_view character = ".");

    std::string_view text() const { return text_; }
    friend bool operator==(const DecimalSeparator&, const DecimalSeparator&) = default;

    // The first character of the decimal-separator setting of the user's regional settings
    // (the LC_NUMERIC category chosen by LC_ALL, LC_NUMERIC or LANG, as every POSIX program reads
    // it); "." when that setting cannot be read, for example when the locale is not installed.
    static DecimalSeparator from_regional_settings();

private:
    std::string text_;
};

}  // namespace vorlanex::numeric
