// The regional settings' decimal separator on Linux and other POSIX systems: the LC_NUMERIC
// category of the environment.
#include <langinfo.h>
#include <locale.h>

#include "numeric/decimal_separator.h"
#include "numeric/utf8.h"

namespace vorlanex::numeric {

// Reads the environment's LC_NUMERIC setting through a private locale object, so the program's
// global locale (which the C library's number functions would follow) is never changed.
DecimalSeparator DecimalSeparator::from_regional_settings() {
    locale_t regional = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (regional == static_cast<locale_t>(nullptr)) return DecimalSeparator();

    const char* radix = nl_langinfo_l(RADIXCHAR, regional);
    const std::string_view setting = radix != nullptr ? std::string_view(radix) : std::string_view();
    // Copy the first character out before the locale (which owns `radix`) is freed.
    DecimalSeparator separator(setting.substr(0, utf8_character_length(setting)));
    freelocale(regional);
    return separator;
}

}  // namespace vorlanex::numeric
