#pragma once
// The Unicode side of the separator check (separator_check.h): ICU's character properties and
// confusable skeletons where ICU is at hand (Linux), and on Windows the same answers from a table
// that the build generates with ICU beforehand (separator_table.h).

namespace vorlanex::casefile {

// True when `code_point` shows on its own (assigned, not private-use, not combining, not a blank,
// control, format or default-ignorable character) and cannot be read as a digit, a sign or an
// exponent (no numeral or dash; its confusable skeleton, or that of its compatibility form, is no
// digit's, "+"'s, "-"'s, "E"'s or "e"'s).
bool shows_alone_unlike_number_syntax(char32_t code_point);

}  // namespace vorlanex::casefile
