#include "casefile/recorded_run.h"

#include <atomic>

#include "casefile/json_text.h"
#include "casefile/run_result.h"
#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "page/field_map_port.h"

namespace vorlanex::casefile {

namespace {
std::atomic<long long> runs_made{0};
}

long long RecordedRun::made() { return runs_made.load(std::memory_order_relaxed); }

RecordedRun::RecordedRun(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                         const numeric::DecimalSeparator& separator)
    : page_(&page), separator_(separator) {
    runs_made.fetch_add(1, std::memory_order_relaxed);
    const Scenario scenario{&page, {typed.begin(), typed.end()}};
    page::FieldMapPort opened(page, separator);
    for (const auto& [id, text] : typed) opened.preset(id, text);
    for (const page::Field& field : page.layout.fields) before_.emplace(field.id, opened.text(field.id));
    append_run_result(scenario, separator, outcome_,
                      {[this](std::string_view message) { warnings_.emplace_back(message); },
                       [this](std::string_view id, std::string_view) { written_[std::string(id)] = true; }},
                      [this](const CommandPort& port) {
                          fault_ = port.error_box();
                          for (const page::Field& field : page_->layout.fields) {
                              after_.emplace(field.id, std::string(port.current_text(field.id)));
                          }
                      });
}

RecordedRun::RecordedRun(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                         const numeric::DecimalSeparator& separator, const NotRun& not_run)
    : page_(&page), separator_(separator), fault_(not_run.fault) {
    page::FieldMapPort opened(page, separator);
    for (const auto& [id, text] : typed) opened.preset(id, text);
    for (const page::Field& field : page.layout.fields) before_.emplace(field.id, opened.text(field.id));
    after_ = before_;
    outcome_ = R"("events":[)";
    append_error_event(outcome_, not_run.fault, not_run.field);
    outcome_ += "],";
    append_fields_member(page, opened, outcome_);
}

namespace {
const std::string kNoText;
}

const std::string& RecordedRun::text_before(std::string_view field_id) const {
    const auto it = before_.find(field_id);
    return it == before_.end() ? kNoText : it->second;
}

const std::string& RecordedRun::text_after(std::string_view field_id) const {
    const auto it = after_.find(field_id);
    return it == after_.end() ? kNoText : it->second;
}

bool RecordedRun::written(std::string_view field_id) const { return written_.find(field_id) != written_.end(); }

std::optional<double> RecordedRun::value(std::string_view field_id) const {
    const page::Field* field = page_->find_field(field_id);
    if (!field) return std::nullopt;
    if (field->role == page::FieldRole::Result && !written(field_id)) return std::nullopt;
    try {
        return numeric::parse_number(text_after(field_id), separator_);
    } catch (const numeric::Fault&) {
        return std::nullopt;
    }
}

}  // namespace vorlanex::casefile
