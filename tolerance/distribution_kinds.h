#pragma once
// The kinds of distribution a tolerance may have, in one table. A kind's row holds the name the
// named form gives it ({"distribution":"triangular",…}), its short forms (the patterns an expert
// types, "low..mode..high", each with what it is called in the command's help and in Czech and an
// example), the checks its numbers must pass, and its Czech words. The parsers (distribution.h), the
// JSON forms (distribution_json.h), the command's help, the reports and the case window all go
// through it. A new kind is its Shape and its row here, its draw in sample_draw.cpp, and its rows
// in the tests.
//
// A short form's pattern names its numbers as the named form does, joined by what is typed between
// them: "mean~sd~low..high". A text is read against every pattern at once, left to right: at each
// step the separator the patterns still open take next is looked for (in the order of
// kPatternSeparators, at its first occurrence), the text before it is the next number, and the
// patterns that take another separator there drop out; where none is found, the pattern that ends
// there takes the rest as its last number.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "numeric/decimal_separator.h"

namespace vorlanex::tolerance {

// One row of distribution_kinds() for each, in this order.
enum class Shape { Uniform, Triangular, Normal };

struct Distribution;

// One number of a distribution, as the forms write it.
struct Parameter {
    std::string_view name;   // the named form's member and a pattern's word: "mode"
    std::string_view words;  // how an error about a short form names it: "most likely value"
    std::string_view czech;  // how the Czech patterns write it: "nejpravděpodobněji"
    double Distribution::*value;
    double unset;  // its value where a kind's optional number is not given (a normal's cut: infinite)
};

// One way of writing a kind short.
struct ShortPattern {
    std::string_view pattern;          // "low..mode..high"
    std::string_view english;          // as the command's help calls it: "triangular"
    std::string_view czech;            // as the case window calls it: "trojúhelníkové"
    std::string_view command_example;  // the command's help, with "," the decimal separator: "0,8..1..1,5"
    std::string_view window_example;   // the case window, likewise: "18..20..22"
};

// Why numbers do not make a distribution: in English for the command's messages (after the field),
// in Czech for the case window ("„od“ je větší než „do“").
struct Refusal {
    std::string english;
    std::string czech;
};

struct DistributionKind {
    Shape shape;
    std::string_view name;   // the named form's "distribution"
    std::string_view czech;  // the adjective of "rozdělení" in the reports: "trojúhelníkové"
    // What the Czech hint at a refused tolerance says its numbers must be: "od nejvýše do".
    std::span<const std::string_view> czech_rules;
    std::span<const ShortPattern> patterns;  // at least one
    // Why the numbers do not make a distribution, or nothing.
    std::optional<Refusal> (*check)(const Distribution&);
    // The report's words after "… rozdělení", the numbers shown with the separator: " od 18 do 22".
    std::string (*czech_numbers)(const Distribution&, const numeric::DecimalSeparator&);
};

// What a pattern may put between two numbers, in the order a text is searched for them: a text
// holding "~" is of a pattern with "~", whatever dots it holds.
inline constexpr std::string_view kPatternSeparators[] = {"~", ".."};

std::span<const DistributionKind> distribution_kinds();
const DistributionKind& kind_of(Shape shape);
// The kind the named form calls `name`, or nothing.
const DistributionKind* kind_named(std::string_view name);

std::span<const Parameter> parameters();
// The parameter of that name; one a pattern names (the tests check that every name is one).
const Parameter* find_parameter(std::string_view name);

// A pattern's parts: each number's name with what is typed before it ("" before the first).
struct PatternPart {
    std::string_view before;
    std::string_view name;
};
std::vector<PatternPart> pattern_parts(std::string_view pattern);

// The numbers of a kind's named form in the order they are read: every number its patterns name,
// in the order they first name it; one that not every pattern names may be missing.
struct KindNumber {
    const Parameter* parameter;
    bool optional;
};
std::vector<KindNumber> kind_numbers(const DistributionKind& kind);

// "LOW..MODE..HIGH", as the command's messages write a pattern.
std::string english_pattern(const ShortPattern& pattern);
// "od..nejpravděpodobněji..do", as the case window writes one.
std::string czech_pattern(const ShortPattern& pattern);

// "a, b or c": items joined as a sentence lists them, `last` ("or", "nebo") before the last.
std::string listed(std::span<const std::string> items, std::string_view last);

// A distribution in Czech words, as the reports give an input's tolerance:
// "trojúhelníkové rozdělení od 18 do 22, nejpravděpodobněji 20".
std::string czech_words(const Distribution& distribution, const numeric::DecimalSeparator& separator);

// What the case window says when a tolerance typed is not taken: "Tolerance nepřijata, platí
// dosavadní. Zapište od..do, … nebo střed~odchylka~od..do (od nejvýše do, odchylka nad 0)."
std::string refused_tolerance_text();

}  // namespace vorlanex::tolerance
