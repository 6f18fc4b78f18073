#pragma once
// The common way of reading an input: parse its text, check the value, and when it fails the
// check show the page's warning and take the page's substitute.
#include <string_view>

#include "page/port.h"

namespace vorlanex::page {

enum class Test { AtLeastZero, AboveZero };

// The check of one input: its test, the warning shown when the value fails it, and the value
// used instead (none: the value stays as typed).
struct InputCheck {
    Test test;
    std::string_view message;
    bool substitutes = false;
    double substitute = 0;
};

// Whether a substitute is only used by the calculation or also shown in the input field.
enum class SubstituteShown { No, InField };

// Whether `value` passes `test`, written so that a NaN could never pass.
bool passes(Test test, double value);

// Reads the field; when the value fails the check, shows the warning and takes the substitute.
double read_checked(Port& page, std::string_view field_id, const InputCheck& check,
                    SubstituteShown shown = SubstituteShown::No);

}  // namespace vorlanex::page
