#include "tolerance/sweep.h"

#include <algorithm>
#include <charconv>

#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "numeric/show_number.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"

namespace vorlanex::tolerance {

namespace {

// The number a bound's text holds, under the number rules.
std::optional<double> bound(std::string_view text, const numeric::DecimalSeparator& separator) {
    try {
        return numeric::parse_number(text, separator);
    } catch (const numeric::Fault&) {
        return std::nullopt;
    }
}

}  // namespace

std::variant<SweepRange, SweepError> check_sweep(const page::PageDefinition& page, std::string_view field,
                                                 std::string_view from, std::string_view to, std::string_view steps,
                                                 const numeric::DecimalSeparator& separator, unsigned most_steps) {
    using Kind = SweepError::Kind;
    SweepRange range;
    range.field = std::string(field);
    const std::string prefix = "--sweep of field '" + range.field + "': ";
    const page::Field* swept = page.find_field(range.field);
    if (!swept) return SweepError{Kind::NoSuchField, prefix + "page '" + std::string(page.key) + "' has no such field"};
    if (swept->role == page::FieldRole::Result) {
        return SweepError{Kind::ResultField, prefix + "a result field cannot be swept"};
    }
    most_steps = std::min(most_steps, kMostSweepSteps);
    const auto [end, failed] = std::from_chars(steps.data(), steps.data() + steps.size(), range.steps);
    if (failed != std::errc() || end != steps.data() + steps.size() || range.steps < 1 || range.steps > most_steps) {
        return SweepError{Kind::Steps, prefix + "STEPS must be a whole number from 1 to " + std::to_string(most_steps) +
                                           ", got '" + std::string(steps) + "'"};
    }
    const auto low = bound(from, separator);
    if (!low) return SweepError{Kind::From, prefix + "FROM '" + std::string(from) + "' is not a number"};
    const auto high = bound(to, separator);
    if (!high) return SweepError{Kind::To, prefix + "TO '" + std::string(to) + "' is not a number"};
    range.from = *low;
    range.to = *high;
    return range;
}

std::variant<SweepRange, InputError> parse_sweep(std::string_view text, const page::PageDefinition& page,
                                                 const numeric::DecimalSeparator& separator) {
    const auto equals = text.find('=');
    const auto slash = text.rfind('/');
    if (equals == std::string_view::npos || slash == std::string_view::npos || slash < equals) {
        return InputError{"--sweep expects FIELD=FROM..TO/STEPS, got '" + std::string(text) + "'"};
    }
    const std::string_view field = text.substr(0, equals);
    const std::string_view interval = text.substr(equals + 1, slash - equals - 1);
    const auto dots = interval.find("..");
    std::string_view from = interval, to;
    if (dots != std::string_view::npos) from = interval.substr(0, dots), to = interval.substr(dots + 2);
    auto range = check_sweep(page, field, from, to, text.substr(slash + 1), separator);
    if (auto* error = std::get_if<SweepError>(&range)) {
        // A field, STEPS and then the interval, as the command line has always checked them.
        const bool bounds = error->kind == SweepError::Kind::From || error->kind == SweepError::Kind::To;
        if (bounds && (dots == std::string_view::npos || to.find("..") != std::string_view::npos)) {
            return InputError{"--sweep of field '" + std::string(field) + "': expected FROM..TO before the '/'"};
        }
        return InputError{std::move(error->message)};
    }
    return std::get<SweepRange>(range);
}

double sweep_value(const SweepRange& range, unsigned k) {
    const long double steps = range.steps;
    return static_cast<double>(
        (static_cast<long double>(range.from) * (steps - k) + static_cast<long double>(range.to) * k) / steps);
}

std::vector<SweepRow> run_sweep(const page::PageDefinition& page, TypedTexts typed,
                                const numeric::DecimalSeparator& separator, const SweepRange& range) {
    std::vector<SweepRow> rows;
    for (unsigned k = 0; k <= range.steps; ++k) {
        SweepRow row;
        row.input = numeric::show_number(sweep_value(range, k), separator);
        std::vector<std::string_view> written;
        page::FieldMapPort port(page, separator,
                                {[&](std::string_view message) { row.warnings.emplace_back(message); },
                                 [&](std::string_view id, std::string_view) { written.push_back(id); }});
        for (const auto& [id, text] : typed) port.preset(id, text);
        port.preset(range.field, row.input);
        row.fault = page::press_calculate(page, port);
        for (const page::Field& field : page.layout.fields) {
            if (field.role != page::FieldRole::Result) continue;
            if (std::find(written.begin(), written.end(), field.id) == written.end()) continue;
            row.results.emplace_back(field.id, port.text(field.id));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace vorlanex::tolerance
