#include "tolerance/distribution.h"

#include <algorithm>
#include <vector>

#include "numeric/faults.h"
#include "numeric/parse_number.h"

namespace vorlanex::tolerance {

namespace {

// "name" in double quotes, as a JSON member is written.
std::string quoted(std::string_view name) {
    std::string text(1, '"');
    text.append(name);
    text.push_back('"');
    return text;
}

InputError error(std::string_view field, const std::string& what, std::string czech = {}) {
    return {"tolerance of field '" + std::string(field) + "': " + what, std::move(czech)};
}

// The number a text holds, or the error naming the field and the part ("low", "mean" ...).
std::variant<double, InputError> number(std::string_view field, std::string_view part, const Parameter& parameter,
                                        std::string_view text, const numeric::DecimalSeparator& separator) {
    try {
        return numeric::parse_number(text, separator);
    } catch (const numeric::Fault&) {
        const std::string czech = "„" + std::string(parameter.czech) + "“";
        return error(field, std::string(part) + " '" + std::string(text) + "' is not a number",
                     text.empty() ? czech + " chybí"
                                  : czech + " není číslo: „" + std::string(text) + "“ (desetinný oddělovač je „" +
                                        std::string(separator.text()) + "“)");
    }
}

std::variant<Distribution, InputError> checked(std::string_view field, const Distribution& distribution) {
    if (auto failed = check(field, distribution)) return *failed;
    return distribution;
}

// A distribution of the kind with its optional numbers not given.
Distribution unset(const DistributionKind& kind) {
    Distribution d;
    d.shape = kind.shape;
    for (const KindNumber& number : kind_numbers(kind)) {
        if (number.optional) d.*number.parameter->value = number.parameter->unset;
    }
    return d;
}

// A short form's pattern while a text is read against it.
struct Candidate {
    const DistributionKind* kind;
    const ShortPattern* pattern;
    std::vector<PatternPart> parts;
};

// The patterns of `candidates` a text could have been meant as, for a message: all but those that
// only go on from another of them (MEAN~SD~LOW..HIGH from MEAN~SD), each written by `written`.
std::string expected(const std::vector<Candidate>& candidates, std::string (*written)(const ShortPattern&),
                     std::string_view last) {
    std::vector<std::string> patterns;
    for (const Candidate& candidate : candidates) {
        const bool goes_on = std::any_of(candidates.begin(), candidates.end(), [&](const Candidate& other) {
            return &other != &candidate && candidate.pattern->pattern.starts_with(other.pattern->pattern);
        });
        if (!goes_on) patterns.push_back(written(*candidate.pattern));
    }
    return listed(patterns, last);
}

}  // namespace

std::optional<InputError> check(std::string_view field, const Distribution& d) {
    if (auto refused = kind_of(d.shape).check(d)) return error(field, refused->english, refused->czech);
    return std::nullopt;
}

std::variant<ShortForm, InputError> split_short_form(std::string_view field, std::string_view text,
                                                     const numeric::DecimalSeparator& separator) {
    std::vector<Candidate> candidates;
    for (const DistributionKind& kind : distribution_kinds()) {
        for (const ShortPattern& pattern : kind.patterns)
            candidates.push_back({&kind, &pattern, pattern_parts(pattern.pattern)});
    }
    std::vector<std::string_view> numbers;
    std::string_view rest = text;
    for (std::size_t next = 1;; ++next) {
        const auto takes = [&](const Candidate& candidate, std::string_view between) {
            return candidate.parts.size() > next && candidate.parts[next].before == between;
        };
        std::optional<std::string_view> found;
        for (const std::string_view between : kPatternSeparators) {
            const bool wanted = std::any_of(candidates.begin(), candidates.end(),
                                            [&](const Candidate& candidate) { return takes(candidate, between); });
            if (wanted && rest.find(between) != std::string_view::npos) {
                found = between;
                break;
            }
        }
        if (!found) {
            for (const Candidate& candidate : candidates) {
                if (candidate.parts.size() != next) continue;
                numbers.push_back(rest);
                ShortForm form;
                form.shape = candidate.kind->shape;
                for (std::size_t i = 0; i < numbers.size(); ++i)
                    form.members.emplace_back(candidate.parts[i].name, numbers[i]);
                return form;
            }
            return error(
                field, "expected " + expected(candidates, english_pattern, "or") + ", got '" + std::string(text) + "'",
                "zapište " + expected(candidates, czech_pattern, "nebo"));
        }
        std::erase_if(candidates, [&](const Candidate& candidate) { return !takes(candidate, *found); });
        if (separator.text() == *found) {
            return error(field,
                         "with the decimal separator '" + std::string(separator.text()) + "' write the " +
                             std::string(candidates.front().kind->name) + " form in a case file",
                         "s desetinným oddělovačem „" + std::string(separator.text()) + "“ nelze " +
                             std::string(candidates.front().kind->czech) + " rozdělení zapsat zkráceně");
        }
        const std::size_t at = rest.find(*found);
        numbers.push_back(rest.substr(0, at));
        rest = rest.substr(at + found->size());
    }
}

std::variant<Distribution, InputError> parse_short_form(std::string_view field, std::string_view text,
                                                        const numeric::DecimalSeparator& separator) {
    auto split = split_short_form(field, text, separator);
    if (auto* failed = std::get_if<InputError>(&split)) return *failed;
    const ShortForm& form = std::get<ShortForm>(split);
    Distribution d = unset(kind_of(form.shape));
    for (const auto& [name, part] : form.members) {
        const Parameter& parameter = *find_parameter(name);
        auto read = number(field, parameter.words, parameter, part, separator);
        if (auto* failed = std::get_if<InputError>(&read)) return *failed;
        d.*parameter.value = std::get<double>(read);
    }
    return checked(field, d);
}

std::string_view shape_name(Shape shape) { return kind_of(shape).name; }

std::variant<Distribution, InputError> parse_named_form(std::string_view field, NamedTexts members,
                                                        const numeric::DecimalSeparator& separator) {
    const std::pair<std::string, std::string>* named = nullptr;
    for (const auto& member : members) {
        if (member.first == "distribution") named = &member;
    }
    if (!named) return error(field, "\"distribution\" is missing");
    const DistributionKind* kind = kind_named(named->second);
    if (!kind) {
        std::vector<std::string> names;
        for (const DistributionKind& each : distribution_kinds()) names.emplace_back(each.name);
        return error(field, "unknown distribution '" + named->second + "' (" + listed(names, "or") + ")");
    }
    Distribution d = unset(*kind);
    const std::vector<KindNumber> takes = kind_numbers(*kind);
    for (const KindNumber& take : takes) {
        const std::string_view name = take.parameter->name;
        const std::pair<std::string, std::string>* given = nullptr;
        for (const auto& member : members) {
            if (member.first != name) continue;
            if (given) return error(field, quoted(name) + " is given twice");
            given = &member;
        }
        if (!given) {
            if (take.optional) continue;
            return error(field, quoted(name) + " is missing");
        }
        auto read = number(field, name, *take.parameter, given->second, separator);
        if (auto* failed = std::get_if<InputError>(&read)) return *failed;
        d.*take.parameter->value = std::get<double>(read);
    }
    for (const auto& member : members) {
        if (&member == named) continue;
        const bool known = std::any_of(takes.begin(), takes.end(),
                                       [&](const KindNumber& take) { return take.parameter->name == member.first; });
        if (!known)
            return error(field, quoted(member.first) + " does not belong to a " + named->second + " distribution");
    }
    return checked(field, d);
}

}  // namespace vorlanex::tolerance
