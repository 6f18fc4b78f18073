#include "tolerance/distribution_kinds.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/show_number.h"
#include "tolerance/distribution.h"

namespace vorlanex::tolerance {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// clang-format off
const Parameter kParameters[] = {
    // name    words                czech                 value                 unset
    {"low",  "low",               "od",                 &Distribution::low,  -kInfinity},
    {"mode", "most likely value", "nejpravděpodobněji", &Distribution::mode, 0},
    {"high", "high",              "do",                 &Distribution::high, kInfinity},
    {"mean", "mean",              "střed",              &Distribution::mean, 0},
    {"sd",   "sd",                "odchylka",           &Distribution::sd,   0},
};
// clang-format on

std::optional<Refusal> low_above_high(const Distribution& d) {
    if (!(d.low <= d.high)) return Refusal{"low is above high", "„od“ je větší než „do“"};
    return std::nullopt;
}

// The share of a normal distribution between low and high (either may be infinite).
double kept_share(const Distribution& normal) {
    const auto below = [&](double x) { return 0.5 * std::erfc(-(x - normal.mean) / (normal.sd * std::sqrt(2.0))); };
    return below(normal.high) - below(normal.low);
}

std::string shown(double value, const numeric::DecimalSeparator& separator) {
    return numeric::show_number(value, separator);
}

// ---- Uniform ----

constexpr std::string_view kUniformRules[] = {"od nejvýše do"};
// clang-format off
constexpr ShortPattern kUniformPatterns[] = {
    // pattern     english    czech         command example  window example
    {"low..high", "uniform", "rovnoměrné", "40..60",         "18..22"},
};
// clang-format on

std::string uniform_numbers(const Distribution& d, const numeric::DecimalSeparator& separator) {
    return " od " + shown(d.low, separator) + " do " + shown(d.high, separator);
}

// ---- Triangular ----

constexpr std::string_view kTriangularRules[] = {"od nejvýše do"};
// clang-format off
constexpr ShortPattern kTriangularPatterns[] = {
    {"low..mode..high", "triangular", "trojúhelníkové", "0,8..1..1,5", "18..20..22"},
};
// clang-format on

std::optional<Refusal> check_triangular(const Distribution& d) {
    if (auto refused = low_above_high(d)) return refused;
    if (!(d.low <= d.mode && d.mode <= d.high)) {
        return Refusal{"the most likely value is not between low and high",
                       "„nejpravděpodobněji“ neleží mezi „od“ a „do“"};
    }
    return std::nullopt;
}

std::string triangular_numbers(const Distribution& d, const numeric::DecimalSeparator& separator) {
    return " od " + shown(d.low, separator) + " do " + shown(d.high, separator) + ", nejpravděpodobněji " +
           shown(d.mode, separator);
}

// ---- Normal, cut or not ----

constexpr std::string_view kNormalRules[] = {"odchylka nad 0"};
// clang-format off
constexpr ShortPattern kNormalPatterns[] = {
    {"mean~sd",           "normal",                           "normální",          "0,8~0,05",        "0,8~0,05"},
    {"mean~sd~low..high", "normal cut (drawn again outside)", "normální oříznuté", "0,8~0,05~0,6..1", "0,8~0,05~0,6..1"},
};
// clang-format on

std::optional<Refusal> check_normal(const Distribution& d) {
    if (!(d.sd > 0)) return Refusal{"the standard deviation must be above 0", "„odchylka“ musí být větší než 0"};
    if (!(d.low < d.high)) return Refusal{"low must be below high", "„od“ musí být menší než „do“"};
    if (!(kept_share(d) >= kSmallestKeptShareOfNormal)) {
        return Refusal{"the cut keeps less than 0.1 % of the normal distribution",
                       "useknutí ponechává méně než 0,1 % normálního rozdělení"};
    }
    return std::nullopt;
}

std::string normal_numbers(const Distribution& d, const numeric::DecimalSeparator& separator) {
    std::string words =
        " se střední hodnotou " + shown(d.mean, separator) + " a směrodatnou odchylkou " + shown(d.sd, separator);
    if (std::isfinite(d.low) || std::isfinite(d.high)) {
        words += ", useknuté";
        if (std::isfinite(d.low)) words += " zdola na " + shown(d.low, separator);
        if (std::isfinite(d.high))
            words += std::string(std::isfinite(d.low) ? " a" : "") + " shora na " + shown(d.high, separator);
        words += " (hodnota mimo se losuje znovu)";
    }
    return words;
}

// ---- The table ----

// clang-format off
const DistributionKind kKinds[] = {
    {Shape::Uniform,    "uniform",    "rovnoměrné",     kUniformRules,    kUniformPatterns,    low_above_high,   uniform_numbers},
    {Shape::Triangular, "triangular", "trojúhelníkové", kTriangularRules, kTriangularPatterns, check_triangular, triangular_numbers},
    {Shape::Normal,     "normal",     "normální",       kNormalRules,     kNormalPatterns,     check_normal,     normal_numbers},
};
// clang-format on

bool is_letter(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

std::span<const DistributionKind> distribution_kinds() { return kKinds; }

const DistributionKind& kind_of(Shape shape) {
    const auto found = std::find_if(std::begin(kKinds), std::end(kKinds),
                                    [&](const DistributionKind& kind) { return kind.shape == shape; });
    return found != std::end(kKinds) ? *found : kKinds[0];
}

const DistributionKind* kind_named(std::string_view name) {
    const auto found = std::find_if(std::begin(kKinds), std::end(kKinds),
                                    [&](const DistributionKind& kind) { return kind.name == name; });
    return found != std::end(kKinds) ? &*found : nullptr;
}

std::span<const Parameter> parameters() { return kParameters; }

const Parameter* find_parameter(std::string_view name) {
    const auto found = std::find_if(std::begin(kParameters), std::end(kParameters),
                                    [&](const Parameter& parameter) { return parameter.name == name; });
    return found != std::end(kParameters) ? &*found : nullptr;
}

std::vector<PatternPart> pattern_parts(std::string_view pattern) {
    std::vector<PatternPart> parts;
    std::size_t at = 0;
    while (at < pattern.size()) {
        std::size_t name = at;
        while (name < pattern.size() && !is_letter(pattern[name])) ++name;
        std::size_t end = name;
        while (end < pattern.size() && is_letter(pattern[end])) ++end;
        parts.push_back({pattern.substr(at, name - at), pattern.substr(name, end - name)});
        at = end;
    }
    return parts;
}

std::vector<KindNumber> kind_numbers(const DistributionKind& kind) {
    std::vector<KindNumber> numbers;
    for (const ShortPattern& pattern : kind.patterns) {
        for (const PatternPart& part : pattern_parts(pattern.pattern)) {
            const Parameter* parameter = find_parameter(part.name);
            if (std::none_of(numbers.begin(), numbers.end(),
                             [&](const KindNumber& n) { return n.parameter == parameter; }))
                numbers.push_back({parameter, false});
        }
    }
    for (KindNumber& number : numbers) {
        number.optional = std::any_of(kind.patterns.begin(), kind.patterns.end(), [&](const ShortPattern& pattern) {
            const std::vector<PatternPart> parts = pattern_parts(pattern.pattern);
            return std::none_of(parts.begin(), parts.end(),
                                [&](const PatternPart& part) { return part.name == number.parameter->name; });
        });
    }
    return numbers;
}

std::string english_pattern(const ShortPattern& pattern) {
    std::string text(pattern.pattern);
    for (char& c : text) {
        if (is_letter(c)) c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string czech_pattern(const ShortPattern& pattern) {
    std::string text;
    for (const PatternPart& part : pattern_parts(pattern.pattern)) {
        text += part.before;
        text += find_parameter(part.name)->czech;
    }
    return text;
}

std::string listed(std::span<const std::string> items, std::string_view last) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? " " + std::string(last) + " " : ", ";
        text += items[i];
    }
    return text;
}

std::string czech_words(const Distribution& distribution, const numeric::DecimalSeparator& separator) {
    const DistributionKind& kind = kind_of(distribution.shape);
    return std::string(kind.czech) + " rozdělení" + kind.czech_numbers(distribution, separator);
}

std::string refused_tolerance_text() {
    std::vector<std::string> patterns, rules;
    for (const DistributionKind& kind : kKinds) {
        for (const ShortPattern& pattern : kind.patterns) patterns.push_back(czech_pattern(pattern));
        for (const std::string_view rule : kind.czech_rules) {
            if (std::find(rules.begin(), rules.end(), rule) == rules.end()) rules.emplace_back(rule);
        }
    }
    std::string rules_text;
    for (const std::string& rule : rules) rules_text += (rules_text.empty() ? "" : ", ") + rule;
    return "Tolerance nepřijata, platí dosavadní. Zapište " + listed(patterns, "nebo") + " (" + rules_text + ").";
}

}  // namespace vorlanex::tolerance
