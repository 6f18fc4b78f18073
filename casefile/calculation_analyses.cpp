#include "casefile/calculation_analyses.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <limits>

#include <nlohmann/json.hpp>

#include "casefile/json_text.h"
#include "casefile/written_json.h"

namespace vorlanex::casefile {

namespace {

using Json = nlohmann::ordered_json;

// A whole number written in digits only (no sign, fraction or exponent), from `low` to `high`.
std::optional<std::uint64_t> whole_number(std::string_view digits, std::uint64_t low, std::uint64_t high) {
    std::uint64_t value = 0;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// The first member of `object` not among `known`, named with the analysis it is in.
std::optional<std::string> foreign_member(const Json& object, std::initializer_list<std::string_view> known,
                                          std::string_view in) {
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end())
            return "unknown member '" + key + "' in \"" + std::string(in) + "\"";
    }
    return std::nullopt;
}

std::variant<ToleranceAnalysis, std::string> read_tolerance(const Json& object, std::string_view written) {
    if (!object.is_object()) return std::string("\"tolerance\" in \"analyses\" must be an object");
    if (auto fault = foreign_member(object, {"samples", "seed"}, "tolerance")) return *fault;
    const std::string most = std::to_string(tolerance::kMostSamples);
    const auto samples_text = written_member(written, "samples");
    const auto samples = samples_text && object.at("samples").is_number()
                             ? whole_number(*samples_text, 1, tolerance::kMostSamples)
                             : std::nullopt;
    if (!samples) {
        return "\"samples\" of the tolerance analysis must be a whole number from 1 to " + most + " written in digits";
    }
    const auto seed_member = object.find("seed");
    const auto seed = seed_member != object.end() && seed_member->is_string()
                          ? whole_number(seed_member->get<std::string>(), 0, std::numeric_limits<std::uint64_t>::max())
                          : std::nullopt;
    if (!seed) {
        return std::string(
            "\"seed\" of the tolerance analysis must be a string of digits, a whole number from 0 to "
            "18446744073709551615");
    }
    return ToleranceAnalysis{*samples, *seed};
}

std::variant<SweepAnalysis, std::string> read_sweep(const Json& object, std::string_view written,
                                                    const page::PageDefinition& page,
                                                    const numeric::DecimalSeparator& separator) {
    if (!object.is_object()) return std::string("\"sweep\" in \"analyses\" must be an object");
    if (auto fault = foreign_member(object, {"field", "from", "to", "steps"}, "sweep")) return *fault;
    SweepAnalysis sweep;
    for (auto [key, text] : {std::pair{"field", &sweep.field}, {"from", &sweep.from}, {"to", &sweep.to}}) {
        const auto found = object.find(key);
        if (found == object.end() || !found->is_string())
            return "the sweep analysis needs \"" + std::string(key) + "\", a string";
        *text = found->get<std::string>();
    }
    const auto steps_text = written_member(written, "steps");
    const auto steps = steps_text && object.at("steps").is_number()
                           ? whole_number(*steps_text, 1, tolerance::kMostSweepSteps)
                           : std::nullopt;
    if (!steps) {
        return "\"steps\" of the sweep analysis must be a whole number from 1 to " +
               std::to_string(tolerance::kMostSweepSteps) + " written in digits";
    }
    sweep.steps = static_cast<unsigned>(*steps);
    auto checked = checked_sweep_analysis(page, sweep, separator);
    if (const auto* error = std::get_if<tolerance::SweepError>(&checked)) {
        using Kind = tolerance::SweepError::Kind;
        switch (error->kind) {
            case Kind::Form:
            case Kind::NoSuchField:
            case Kind::ResultField:
                return "the sweep analysis's field '" + sweep.field + "' is no input field of page '" +
                       std::string(page.key) + "'";
            case Kind::Steps: break;  // checked above
            case Kind::From: return "\"from\" of the sweep analysis is not a number: '" + sweep.from + "'";
            case Kind::To: return "\"to\" of the sweep analysis is not a number: '" + sweep.to + "'";
        }
        return error->message;
    }
    return sweep;
}

}  // namespace

std::variant<Analyses, std::string> read_analyses(const Json& object, std::string_view written,
                                                  const page::PageDefinition& page,
                                                  const numeric::DecimalSeparator& separator) {
    constexpr std::string_view kWhat = "\"analyses\" must be an object holding \"tolerance\", \"sweep\" or both";
    if (!object.is_object() || object.empty()) return std::string(kWhat);
    if (auto fault = foreign_member(object, {"tolerance", "sweep"}, "analyses")) return *fault;
    Analyses analyses;
    if (const auto found = object.find("tolerance"); found != object.end()) {
        auto read = read_tolerance(*found, written_member(written, "tolerance").value_or(""));
        if (auto* fault = std::get_if<std::string>(&read)) return std::move(*fault);
        analyses.tolerance = std::get<ToleranceAnalysis>(read);
    }
    if (const auto found = object.find("sweep"); found != object.end()) {
        auto read = read_sweep(*found, written_member(written, "sweep").value_or(""), page, separator);
        if (auto* fault = std::get_if<std::string>(&read)) return std::move(*fault);
        analyses.sweep = std::get<SweepAnalysis>(std::move(read));
    }
    return analyses;
}

std::string analyses_json(const Analyses& analyses) {
    std::string out = "{";
    if (analyses.tolerance) {
        out += R"("tolerance":{"samples":)" + std::to_string(analyses.tolerance->samples) + R"(,"seed":")" +
               std::to_string(analyses.tolerance->seed) + "\"}";
    }
    if (analyses.sweep) {
        if (out.size() > 1) out += ',';
        out += R"("sweep":{"field":)";
        append_json_string(out, analyses.sweep->field);
        out += R"(,"from":)";
        append_json_string(out, analyses.sweep->from);
        out += R"(,"to":)";
        append_json_string(out, analyses.sweep->to);
        out += R"(,"steps":)" + std::to_string(analyses.sweep->steps) + "}";
    }
    return out + "}";
}

std::variant<tolerance::SweepRange, tolerance::SweepError> checked_sweep_analysis(
    const page::PageDefinition& page, const SweepAnalysis& sweep, const numeric::DecimalSeparator& separator,
    unsigned most_steps) {
    return tolerance::check_sweep(page, sweep.field, sweep.from, sweep.to, std::to_string(sweep.steps), separator,
                                  most_steps);
}

}  // namespace vorlanex::casefile
