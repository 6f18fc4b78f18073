#include "tolerance/sweep.h"

#include <algorithm>
#include <charconv>

#include "numeric/show_number.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"

namespace vorlanex::tolerance {

std::variant<SweepRange, InputError> parse_sweep(std::string_view text, const page::PageDefinition& page,
                                                 const numeric::DecimalSeparator& separator) {
    const auto equals = text.find('=');
    const auto slash = text.rfind('/');
    if (equals == std::string_view::npos || slash == std::string_view::npos || slash < equals) {
        return InputError{"--sweep expects FIELD=FROM..TO/STEPS, got '" + std::string(text) + "'"};
    }
    SweepRange range;
    range.field = std::string(text.substr(0, equals));
    const std::string prefix = "--sweep of field '" + range.field + "': ";
    const page::Field* field = page.find_field(range.field);
    if (!field) return InputError{prefix + "page '" + std::string(page.key) + "' has no such field"};
    if (field->role == page::FieldRole::Result) return InputError{prefix + "a result field cannot be swept"};
    const std::string_view steps = text.substr(slash + 1);
    const auto [end, failed] = std::from_chars(steps.data(), steps.data() + steps.size(), range.steps);
    if (failed != std::errc() || end != steps.data() + steps.size() || range.steps < 1 ||
        range.steps > kMostSweepSteps) {
        return InputError{prefix + "STEPS must be a whole number from 1 to " + std::to_string(kMostSweepSteps) +
                          ", got '" + std::string(steps) + "'"};
    }
    auto interval = parse_short_form(range.field, text.substr(equals + 1, slash - equals - 1), separator);
    if (auto* error = std::get_if<InputError>(&interval)) return *error;
    const Distribution& d = std::get<Distribution>(interval);
    if (d.shape != Shape::Uniform) return InputError{prefix + "expected FROM..TO before the '/'"};
    range.from = d.low;
    range.to = d.high;
    return range;
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
