#include "page/field_map_port.h"

namespace vorlanex::page {

FieldMapPort::FieldMapPort(const PageDefinition& page, numeric::DecimalSeparator separator, Observer observer)
    : page_(page), separator_(std::move(separator)), observer_(std::move(observer)) {
    for (const Field& field : page_.layout.fields) {
        texts_.emplace(std::string(field.id), default_text(field, separator_));
    }
}

bool FieldMapPort::has_field(std::string_view field_id) const { return texts_.find(field_id) != texts_.end(); }

void FieldMapPort::preset(std::string_view field_id, std::string_view text) {
    if (auto it = texts_.find(field_id); it != texts_.end()) it->second = text;
}

std::string FieldMapPort::text(std::string_view field_id) const {
    const auto it = texts_.find(field_id);
    return it == texts_.end() ? std::string() : it->second;
}

void FieldMapPort::set_text(std::string_view field_id, std::string_view text) {
    preset(field_id, text);
    if (observer_.set) observer_.set(field_id, text);
}

void FieldMapPort::warning(std::string_view message) {
    if (observer_.warning) observer_.warning(message);
}

}  // namespace vorlanex::page
