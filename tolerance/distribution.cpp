#include "tolerance/distribution.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "numeric/faults.h"
#include "numeric/parse_number.h"

namespace vorlanex::tolerance {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// "name" in double quotes, as a JSON member is written.
std::string quoted(std::string_view name) {
    std::string text(1, '"');
    text.append(name);
    text.push_back('"');
    return text;
}

InputError error(std::string_view field, const std::string& what) {
    return {"tolerance of field '" + std::string(field) + "': " + what};
}

// The number a text holds, or the error naming the field and the part ("low", "mean" ...).
std::variant<double, InputError> number(std::string_view field, std::string_view part, std::string_view text,
                                        const numeric::DecimalSeparator& separator) {
    try {
        return numeric::parse_number(text, separator);
    } catch (const numeric::Fault&) {
        return error(field, std::string(part) + " '" + std::string(text) + "' is not a number");
    }
}

// The share of a normal distribution between low and high (either may be infinite).
double kept_share(const Distribution& normal) {
    const auto below = [&](double x) { return 0.5 * std::erfc(-(x - normal.mean) / (normal.sd * std::sqrt(2.0))); };
    return below(normal.high) - below(normal.low);
}

// Reads the texts of `parts` (name, text) into the numbers `into`, in order; the first error.
std::optional<InputError> read_numbers(std::string_view field, std::span<const std::string_view> names,
                                       std::span<const std::string_view> texts, std::span<double* const> into,
                                       const numeric::DecimalSeparator& separator) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto read = number(field, names[i], texts[i], separator);
        if (auto* failed = std::get_if<InputError>(&read)) return *failed;
        *into[i] = std::get<double>(read);
    }
    return std::nullopt;
}

std::variant<Distribution, InputError> checked(std::string_view field, const Distribution& distribution) {
    if (auto failed = check(field, distribution)) return *failed;
    return distribution;
}

// "a..b" split at the first "..", or nothing.
std::optional<std::pair<std::string_view, std::string_view>> split_range(std::string_view text) {
    const auto dots = text.find("..");
    if (dots == std::string_view::npos) return std::nullopt;
    return std::pair{text.substr(0, dots), text.substr(dots + 2)};
}

}  // namespace

std::optional<InputError> check(std::string_view field, const Distribution& d) {
    switch (d.shape) {
        case Shape::Uniform:
            if (!(d.low <= d.high)) return error(field, "low is above high");
            break;
        case Shape::Triangular:
            if (!(d.low <= d.high)) return error(field, "low is above high");
            if (!(d.low <= d.mode && d.mode <= d.high))
                return error(field, "the most likely value is not between low and high");
            break;
        case Shape::Normal:
            if (!(d.sd > 0)) return error(field, "the standard deviation must be above 0");
            if (!(d.low < d.high)) return error(field, "low must be below high");
            if (!(kept_share(d) >= kSmallestKeptShareOfNormal)) {
                return error(field, "the cut keeps less than 0.1 % of the normal distribution");
            }
            break;
    }
    return std::nullopt;
}

std::variant<ShortForm, InputError> split_short_form(std::string_view field, std::string_view text,
                                                     const numeric::DecimalSeparator& separator) {
    ShortForm form;
    if (const auto tilde = text.find('~'); tilde != std::string_view::npos) {
        if (separator.text() == "~")
            return error(field, "with the decimal separator '~' write the normal form in a case file");
        form.shape = Shape::Normal;
        std::string_view rest = text.substr(tilde + 1);
        form.members = {{"mean", text.substr(0, tilde)}};
        if (const auto cut = rest.find('~'); cut != std::string_view::npos) {
            const auto range = split_range(rest.substr(cut + 1));
            if (!range) return error(field, "expected MEAN~SD~LOW..HIGH, got '" + std::string(text) + "'");
            form.members.insert(form.members.end(),
                                {{"sd", rest.substr(0, cut)}, {"low", range->first}, {"high", range->second}});
        } else {
            form.members.emplace_back("sd", rest);
        }
        return form;
    }
    const auto first = split_range(text);
    if (!first) return error(field, "expected LOW..HIGH, LOW..MODE..HIGH or MEAN~SD, got '" + std::string(text) + "'");
    if (const auto second = split_range(first->second)) {
        form.shape = Shape::Triangular;
        form.members = {{"low", first->first}, {"mode", second->first}, {"high", second->second}};
    } else {
        form.shape = Shape::Uniform;
        form.members = {{"low", first->first}, {"high", first->second}};
    }
    return form;
}

std::variant<Distribution, InputError> parse_short_form(std::string_view field, std::string_view text,
                                                        const numeric::DecimalSeparator& separator) {
    auto split = split_short_form(field, text, separator);
    if (auto* failed = std::get_if<InputError>(&split)) return *failed;
    const ShortForm& form = std::get<ShortForm>(split);
    Distribution d;
    d.shape = form.shape;
    if (d.shape == Shape::Normal) {
        d.low = -kInfinity;
        d.high = kInfinity;
    }
    std::vector<std::string_view> names, texts;
    std::vector<double*> into;
    for (const auto& [name, part] : form.members) {
        names.push_back(name == "mode" ? "most likely value" : name);
        texts.push_back(part);
        into.push_back(name == "low"    ? &d.low
                       : name == "high" ? &d.high
                       : name == "mode" ? &d.mode
                       : name == "mean" ? &d.mean
                                        : &d.sd);
    }
    if (auto failed = read_numbers(field, names, texts, into, separator)) return *failed;
    return checked(field, d);
}

std::string_view shape_name(Shape shape) {
    switch (shape) {
        case Shape::Uniform: return "uniform";
        case Shape::Triangular: return "triangular";
        case Shape::Normal: break;
    }
    return "normal";
}

std::variant<Distribution, InputError> parse_named_form(std::string_view field, NamedTexts members,
                                                        const numeric::DecimalSeparator& separator) {
    const std::pair<std::string, std::string>* kind = nullptr;
    for (const auto& member : members) {
        if (member.first == "distribution") kind = &member;
    }
    if (!kind) return error(field, "\"distribution\" is missing");
    Distribution d;
    std::vector<std::pair<std::string_view, double*>> takes;
    std::vector<std::string_view> optional;
    if (kind->second == "uniform") {
        d.shape = Shape::Uniform;
        takes = {{"low", &d.low}, {"high", &d.high}};
    } else if (kind->second == "triangular") {
        d.shape = Shape::Triangular;
        takes = {{"low", &d.low}, {"mode", &d.mode}, {"high", &d.high}};
    } else if (kind->second == "normal") {
        d.shape = Shape::Normal;
        d.low = -kInfinity;
        d.high = kInfinity;
        takes = {{"mean", &d.mean}, {"sd", &d.sd}, {"low", &d.low}, {"high", &d.high}};
        optional = {"low", "high"};
    } else {
        return error(field, "unknown distribution '" + kind->second + "' (uniform, triangular or normal)");
    }
    for (const auto& [name, into] : takes) {
        const std::pair<std::string, std::string>* given = nullptr;
        for (const auto& member : members) {
            if (member.first != name) continue;
            if (given) return error(field, quoted(name) + " is given twice");
            given = &member;
        }
        if (!given) {
            if (std::find(optional.begin(), optional.end(), name) != optional.end()) continue;
            return error(field, quoted(name) + " is missing");
        }
        auto read = number(field, name, given->second, separator);
        if (auto* failed = std::get_if<InputError>(&read)) return *failed;
        *into = std::get<double>(read);
    }
    for (const auto& member : members) {
        if (&member == kind) continue;
        const bool known =
            std::any_of(takes.begin(), takes.end(), [&](const auto& take) { return take.first == member.first; });
        if (!known)
            return error(field, quoted(member.first) + " does not belong to a " + kind->second + " distribution");
    }
    return checked(field, d);
}

}  // namespace vorlanex::tolerance
