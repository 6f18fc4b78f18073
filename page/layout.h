#pragma once
// The toolkit-free description of a page: what stands where, in page pixels at 96 dpi. The window
// builds its widgets from it; the command-line companion takes the fields' ids, names and default
// texts from it. A page module owns one PageLayout.
#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "numeric/decimal_separator.h"

namespace vorlanex::page {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Text sizes of the window's one face: the 8-point body text (11 px), the 10-point face of unit
// brackets and captions (13 px), and larger headings where a page asks for them.
struct Font {
    int pixel_size = 11;
    bool bold = false;
};
inline constexpr Font kNormalFont{11, false};
inline constexpr Font kBoldFont{11, true};
inline constexpr Font kUnitFont{13, false};
inline constexpr Font kBoldUnitFont{13, true};

// A static text of one line, as wide as its text, its top-left corner at left, top; or, when
// centre_width is set, centred in that width. A unit label ("[km.h   ]") may carry a power ("-1"):
// it is set small and raised into the blank inside the bracket.
//
// A subscript or power that is a label of its own (`after_previous`) belongs to the label just
// before it in the table, whose text keeps a blank for it ("EES   =", "[km.h   ]"): it stands at
// its own left, or further right where the text before the blank reaches further in the face the
// window uses. A sign between two fields (`ink_centred`) has its ink, not its blanks, centred in
// centre_width.
struct Label {
    std::string_view text;
    int left = 0;
    int top = 0;
    Font font = kNormalFont;
    std::string_view power = {};
    int centre_width = 0;
    bool after_previous = false;
    bool ink_centred = false;
};

constexpr Label plain_text(std::string_view text, int left, int top) { return {text, left, top, kNormalFont}; }
constexpr Label bold_text(std::string_view text, int left, int top) { return {text, left, top, kBoldFont}; }
constexpr Label centred_bold_text(std::string_view text, int left, int top, int width) {
    return {text, left, top, kBoldFont, {}, width};
}
constexpr Label unit_label(std::string_view text, int left, int top, std::string_view power = {}) {
    return {text, left, top, kUnitFont, power};
}
// A subscript or raised power of the label before it in the table (see Label).
constexpr Label after_previous(Label label) {
    label.after_previous = true;
    return label;
}
// A sign whose ink is centred between the right edge of one field and the left edge of the next.
constexpr Label ink_centred_between(std::string_view text, int right_of_first, int left_of_second, int top,
                                    Font font = kBoldFont) {
    return {text, right_of_first, top, font, {}, left_of_second - right_of_first, false, true};
}

enum class FieldRole { Input, Result };

// The colour of a field's text: the window's text colour, or red for the lines of a report that
// must catch the eye.
enum class TextColour { WindowText, Red };

// How a field looks beyond its role (input fields are white, result fields grey): with or without
// its sunken border, its font (size and weight) and its text colour. The parts combine freely:
// kBorderless.with_font(kBoldUnitFont), ...
struct FieldLook {
    bool frame = true;
    Font font = kNormalFont;
    TextColour colour = TextColour::WindowText;

    constexpr FieldLook with_font(Font other) const { return {frame, other, colour}; }
    constexpr FieldLook with_colour(TextColour other) const { return {frame, font, other}; }
};
inline constexpr FieldLook kSunken{};
inline constexpr FieldLook kBorderless{false};
inline constexpr FieldLook kBoldText{true, kBoldFont};

struct Field {
    std::string_view id;  // the name the calculation, the tests and the CLI use
    FieldRole role = FieldRole::Input;
    Rect rect;
    std::string_view accessible_name;  // unique on its page, Czech, with the unit
    std::string_view unit;             // "km/h", "m", "1" ...
    std::string_view default_text;     // written with "," for the decimal separator
    FieldLook look = kSunken;
};

// The usual field: 41 × 21 pixels.
constexpr Rect field_at(int left, int top) { return {left, top, 41, 21}; }

constexpr Field input_field(std::string_view id, Rect rect, std::string_view accessible_name, std::string_view unit,
                            std::string_view default_text = {}) {
    return {id, FieldRole::Input, rect, accessible_name, unit, default_text, kSunken};
}
constexpr Field result_field(std::string_view id, Rect rect, std::string_view accessible_name, std::string_view unit,
                             FieldLook look = kSunken) {
    return {id, FieldRole::Result, rect, accessible_name, unit, {}, look};
}

// A framed box with its caption on the top line; the caption's font may differ from the body's.
struct GroupBox {
    std::string_view caption;
    Rect rect;
    Font font = kNormalFont;
};

// A picture drawn at its natural size from its top-left corner. The name says which: the window
// draws its icons by name and finds every other name among the JPEG pictures compiled into it.
struct PicturePlacement {
    std::string_view picture;
    int left = 0;
    int top = 0;
};

// A "?" button: a click shows its text in the warning box ("\r" separates the lines).
struct HelpButton {
    std::string_view text;
    Rect rect;
    std::string_view accessible_name;
};

struct PageLayout {
    std::span<const GroupBox> group_boxes;
    std::span<const Label> labels;
    std::span<const PicturePlacement> pictures;
    // Input fields first, in tab order; result fields after them.
    std::span<const Field> fields;
    std::span<const HelpButton> help_buttons;
    Rect calculate_button;
};

// One array of several, in order, for a page's tables.
template <typename T, std::size_t... Sizes>
constexpr std::array<T, (Sizes + ...)> joined(const std::array<T, Sizes>&... parts) {
    std::array<T, (Sizes + ...)> all{};
    auto next = all.begin();
    ((next = std::copy(parts.begin(), parts.end(), next)), ...);
    return all;
}

// A text written with "," for the decimal separator ("0,8"), with the current separator instead.
std::string with_separator(std::string_view text, const numeric::DecimalSeparator& separator);

// A field's default text with the current decimal separator in place of the ",", so the program
// never rejects its own default texts.
std::string default_text(const Field& field, const numeric::DecimalSeparator& separator);

}  // namespace vorlanex::page
