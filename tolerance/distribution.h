#pragma once
// The tolerance of one input field: the distribution its value is drawn from. Every number of a
// tolerance is a text under the number rules, read with the run's decimal separator. The kinds of
// distribution, with their numbers, their short forms and their checks, are the table of
// distribution_kinds.h:
//
//   uniform     low, high                 short form  40..60
//   triangular  low, most likely, high    short form  0,8..1..1,5
//   normal      mean, standard deviation, optionally cut at low and/or high
//                                         short form  0,8~0,05   or, cut, 0,8~0,05~0,6..1
//
// A normal distribution cut at low and high is truncated: a draw outside is drawn again, never moved
// to the edge, so no result piles up at a bound.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "numeric/decimal_separator.h"
#include "tolerance/distribution_kinds.h"

namespace vorlanex::tolerance {

// Why a tolerance (or a run's settings) cannot be used; the message names the field.
struct InputError {
    std::string message;
    // A short form's reason in Czech, without the field, for the case window ("„od“ je větší než
    // „do“"); empty for the other forms and settings, which only the command reads.
    std::string czech = {};
};

struct Distribution {
    Shape shape = Shape::Uniform;
    // Uniform and triangular: the interval; normal: the cut, when given (else infinite).
    double low = 0;
    double high = 0;
    double mode = 0;  // triangular: the most likely value
    double mean = 0;  // normal
    double sd = 0;    // normal: the standard deviation, above 0
};

// The tolerance of one field.
struct Tolerance {
    std::string field;
    Distribution distribution;
};

// A normal distribution cut so narrowly that less than this share of it is kept would need too
// many draws again per sample; such a cut is refused.
inline constexpr double kSmallestKeptShareOfNormal = 1e-3;

// The checks of the distribution's kind: low not above high, the most likely value inside, the
// standard deviation above 0, a normal cut keeping at least kSmallestKeptShareOfNormal.
std::optional<InputError> check(std::string_view field, const Distribution& distribution);

// The short form of the command line ("40..60", "0,8..1..1,5", "0,8~0,05", "0,8~0,05~0,6..1": a
// pattern of distribution_kinds.h), parsed and checked. Where the separator itself is "." the parts
// are split at the first ".."; where it is "~" the normal form cannot be written short.
std::variant<Distribution, InputError> parse_short_form(std::string_view field, std::string_view text,
                                                        const numeric::DecimalSeparator& separator);

// The short form split into its parts, not yet read: the shape and the named form's members
// ("low", "mode", "high", "mean", "sd") in the order written, each the text exactly as written.
struct ShortForm {
    Shape shape = Shape::Uniform;
    std::vector<std::pair<std::string_view, std::string_view>> members;
};
// The parts of a short form, or why it has none; the numbers themselves are neither read nor checked.
std::variant<ShortForm, InputError> split_short_form(std::string_view field, std::string_view text,
                                                     const numeric::DecimalSeparator& separator);

// "uniform", "triangular" or "normal", as the named form writes the distribution (the kind's name).
std::string_view shape_name(Shape shape);

// The named form: "distribution" (a kind's name: "uniform", "triangular", "normal") and the numbers
// by name ("low", "high", "mode", "mean", "sd"), each a text; parsed and checked. An unknown or
// missing name, or a name the distribution does not take, is an error naming the field.
using NamedTexts = std::span<const std::pair<std::string, std::string>>;
std::variant<Distribution, InputError> parse_named_form(std::string_view field, NamedTexts members,
                                                        const numeric::DecimalSeparator& separator);

}  // namespace vorlanex::tolerance
