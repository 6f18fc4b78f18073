#pragma once
// The check of a decimal separator chosen by hand (`--separator C`, a case file's "separator"):
// beyond what every decimal separator must be (one visible character outside a number's own
// syntax), it refuses every character that does not show on its own (unassigned, private-use and
// combining characters, blanks, controls and format characters) and every character a reader could
// take for a digit, a sign or an exponent, judged by Unicode's character properties (ICU) rather
// than by a list: decimal and other digits and numerals, dashes and minus signs, and characters
// whose confusable skeleton (or that of their compatibility form) is a digit's, "+", "-", "E" or
// "e" (Cyrillic "Е", Greek "Ε", "ℯ", full-width "Ｅ" and "＋", the letters "O", "l" and "I").
#include <string_view>

namespace vorlanex::casefile {

// True when `character` (UTF-8) can be the decimal separator a run is told to use.
bool can_be_chosen_separator(std::string_view character);

}  // namespace vorlanex::casefile
