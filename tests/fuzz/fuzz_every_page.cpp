// "Výpočet" on every page of the registry, on the page without a window, with field texts drawn
// from a dictionary of edge texts (or taken raw from the input), with either separator. Every run
// must end completed or with one of the four fault messages, and every text a page writes must be
// a number `parse_number` reads back, or one of the page's own words (a text without a digit).
// A written number never says "inf" or "nan".
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "numeric/arithmetic_mode.h"
#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::numeric::DecimalSeparator;
namespace page = vorlanex::page;

[[noreturn]] void fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "fuzz_every_page: %s: '%.*s'\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// Texts at the edges of the number rules and of the pages' checks; "," stands for the separator.
// clang-format off
constexpr std::array<std::string_view, 48> kEdgeTexts{
    "", " ", "0", "-0", "+0", "1", "-1", "2", "10", "50", "100", "1000", "0,8", "-0,8", ",", ",5", "5,", "0,0001",
    "1e-5", "1E15", "1e300", "-1e300", "1e308", "1,7976931348623157E308", "-1,7976931348623157E308", "1e309",
    "1e-320", "4,9e-324", "1e0500", "1e5000", "9223372036854775807", "9223372036854775808", "0,0005", "0,0015",
    "13,889", "3,7619", "0,708", "1e-12", "  12,5  ", "abc", "1 000", "- 5", "E5", "5E", "5e-", "nan", "inf",
    "0x10",
};
// clang-format on

std::string with_separator(std::string_view text, char separator) {
    std::string result(text);
    for (char& c : result) {
        if (c == ',') c = separator;
    }
    return result;
}

bool has_digit(std::string_view text) {
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) return true;
    }
    return false;
}

bool mentions_infinity_or_nan(std::string_view text) {
    std::string lower;
    for (const char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

void check_written(std::string_view text, const DecimalSeparator& separator) {
    if (mentions_infinity_or_nan(text)) fail("a page wrote infinity or NaN", text);
    if (!has_digit(text)) return;  // one of the page's own words, a blank or an emptied field
    try {
        vorlanex::numeric::parse_number(text, separator);
    } catch (const vorlanex::numeric::ArithmeticFault&) {
        // The largest doubles shown to 15 digits round up beyond the double range; reading such a
        // text back is an overflow, as the number rules require.
        if (text.find("1" + std::string(separator.text()) + "79769313486232E308") == std::string::npos) {
            fail("a written number overflows when read back", text);
        }
    } catch (const vorlanex::numeric::ConversionFault&) {
        fail("a page wrote a number parse_number rejects", text);
    }
}

bool is_fault_message(const std::string& message) {
    if (message == "Invalid floating point operation." || message == "Floating point division by zero." ||
        message == "Floating point overflow.") {
        return true;
    }
    return message.starts_with("'") && message.ends_with("' is not a valid floating point value.");
}

// Takes the next field text from the input: a dictionary entry, or a short raw slice.
std::string next_text(const std::uint8_t*& data, const std::uint8_t* end, char separator) {
    if (data == end) return "1";
    const std::uint8_t choice = *data++;
    if (choice < 2 * kEdgeTexts.size()) return with_separator(kEdgeTexts[choice % kEdgeTexts.size()], separator);
    const std::size_t length = std::min<std::size_t>(choice % 16, static_cast<std::size_t>(end - data));
    std::string raw(reinterpret_cast<const char*>(data), length);
    data += length;
    return raw;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vorlanex::numeric::set_arithmetic_mode();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto pages = vorlanex::registry::calculation_pages();
    if (size < 1 || pages.empty()) return 0;
    const std::uint8_t* const end = data + size;
    const std::uint8_t head = *data++;
    const page::PageDefinition& definition = *pages[head % pages.size()];
    const char separator_char = (head & 0x80) ? '.' : ',';
    const DecimalSeparator separator(std::string(1, separator_char));

    page::FieldMapPort port(definition, separator, {{}, [&separator](std::string_view, std::string_view text) {
                                                        check_written(text, separator);
                                                    }});
    for (const page::Field& field : definition.layout.fields) {
        if (field.role == page::FieldRole::Input) port.preset(field.id, next_text(data, end, separator_char));
    }
    // Two presses, as a user would: the second reads the substitutes the first wrote back.
    for (int press = 0; press < 2; ++press) {
        if (const std::optional<std::string> error_box = page::press_calculate(definition, port)) {
            if (!is_fault_message(*error_box)) fail("an error box with an unknown message", *error_box);
        }
    }
    return 0;
}
