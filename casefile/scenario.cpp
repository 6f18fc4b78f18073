#include "casefile/scenario.h"

#include <utility>

#include "casefile/json_text.h"
#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"

namespace vorlanex::casefile {

std::optional<UsageError> find_page(std::string_view key, Scenario& scenario) {
    scenario.page = registry::find_page(key);
    if (!scenario.page)
        return UsageError{"unknown page '" + std::string(key) + "' (vorlanex-calc --list shows the pages)",
                          UsageError::Kind::UnknownPage, std::string(key)};
    return std::nullopt;
}

std::optional<UsageError> check_scenario(const Scenario& scenario) {
    for (auto given = scenario.fields.begin(); given != scenario.fields.end(); ++given) {
        const std::string& id = given->first;
        if (!scenario.page->find_field(id)) {
            return UsageError{"page '" + std::string(scenario.page->key) + "' has no field '" + id + "'",
                              UsageError::Kind::UnknownField, id};
        }
        for (auto earlier = scenario.fields.begin(); earlier != given; ++earlier) {
            if (earlier->first == id)
                return UsageError{"field '" + id + "' is given twice", UsageError::Kind::FieldTwice, id};
        }
    }
    return std::nullopt;
}

CommandPort::CommandPort(const Scenario& scenario, const numeric::DecimalSeparator& separator, EventSink& sink,
                         Observer observer)
    : FieldMapPort(*scenario.page, separator, std::move(observer)), page_(*scenario.page), sink_(sink) {
    for (const auto& [id, text] : scenario.fields) preset(id, text);
}

std::string CommandPort::text(std::string_view field_id) const {
    last_read_ = field_id;
    return FieldMapPort::text(field_id);
}

void CommandPort::set_text(std::string_view field_id, std::string_view text) {
    last_read_.clear();  // the text read last has been converted: a fault from now on is no reading's
    FieldMapPort::set_text(field_id, text);
    event_.clear();
    append_set_event(event_, field_id, text);
    sink_.event(event_);
}

void CommandPort::warning(std::string_view message) {
    last_read_.clear();
    FieldMapPort::warning(message);
    event_.clear();
    append_warning_event(event_, message);
    sink_.event(event_);
}

bool CommandPort::run() {
    last_read_.clear();
    error_box_ = page::press_calculate(page_, *this);
    if (!error_box_) return true;
    event_.clear();
    append_error_event(event_, *error_box_, field_that_failed(*error_box_));
    sink_.event(event_);
    return false;
}

std::optional<std::string> CommandPort::field_that_failed(std::string_view error_box) const {
    if (last_read_.empty()) return std::nullopt;
    try {
        numeric::parse_number(FieldMapPort::text(last_read_), separator());
        return std::nullopt;
    } catch (const numeric::Fault& fault) {
        if (numeric::error_box_text(fault.message()) != error_box) return std::nullopt;
        return last_read_;
    }
}

}  // namespace vorlanex::casefile
