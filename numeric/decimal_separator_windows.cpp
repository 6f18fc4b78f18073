// The regional settings' decimal separator on Windows: the user's own setting in the Control
// Panel's region settings (read again at each start).
#include <windows.h>

#include <array>
#include <string_view>

#include "numeric/decimal_separator.h"
#include "numeric/utf8.h"

namespace vorlanex::numeric {

DecimalSeparator DecimalSeparator::from_regional_settings() {
    // Windows allows up to three characters, the terminating zero besides.
    std::array<wchar_t, 4> setting{};
    const int length =
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, setting.data(), static_cast<int>(setting.size()));
    if (length <= 1) return DecimalSeparator();
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    const std::string utf8 = utf8_of_utf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(setting.data()), static_cast<std::size_t>(length - 1)));
    const std::string_view text(utf8);
    return DecimalSeparator(text.substr(0, utf8_character_length(text)));
}

}  // namespace vorlanex::numeric
