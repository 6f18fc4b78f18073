#pragma once
// The port a calculation talks to: it reads input fields, writes fields and shows warnings, and
// knows nothing else of the front end. The window implements it on its widgets, the command-line
// companion on a map of field texts, the tests on a recording fake.
#include <string>
#include <string_view>

#include "numeric/decimal_separator.h"
#include "numeric/extended.h"

namespace vorlanex::page {

class Port {
public:
    virtual ~Port() = default;
    // The current text of a field of the running page.
    virtual std::string text(std::string_view field_id) const = 0;
    // Replaces the whole text of a field of the running page.
    virtual void set_text(std::string_view field_id, std::string_view text) = 0;
    // Shows a warning box ("\r" is a line break); returns when the user has closed it.
    virtual void warning(std::string_view message) = 0;
    virtual const numeric::DecimalSeparator& separator() const = 0;
};

// parse_number on the field's text.
double read_number(const Port& page, std::string_view field_id);
// show_number of `value` into the field.
void write_number(Port& page, std::string_view field_id, double value);
// `value` rounded to `places` decimal places, shown in the field.
void write_rounded(Port& page, std::string_view field_id, numeric::Extended value, int places);
// Empties the field.
void clear_field(Port& page, std::string_view field_id);

}  // namespace vorlanex::page
