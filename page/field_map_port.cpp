#include "page/field_map_port.h"

#include <utility>

namespace vorlanex::page {

FieldMapPort::FieldMapPort(const PageDefinition& page, numeric::DecimalSeparator separator, Observer observer)
    : page_(page), separator_(std::move(separator)), observer_(std::move(observer)) {
    fields_.reserve(page_.layout.fields.size());
    for (const Field& field : page_.layout.fields) fields_.push_back({field.id, default_text(field, separator_)});
}

namespace {

// Field ids are a few characters long: compared here without a library call. A calculation names
// its fields with the very constants its layout holds, so the texts are mostly the same memory.
bool same_id(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a.data() == b.data()) return true;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

}  // namespace

const FieldMapPort::FieldText* FieldMapPort::find(std::string_view field_id) const {
    // Outwards from where the next field in the layout's order stands: after it, before it, two
    // after, two before, ... until both ends are passed.
    const std::size_t count = fields_.size();
    for (std::size_t distance = 0; distance <= count; ++distance) {
        bool inside = false;
        if (const std::size_t after = next_ + distance; after < count) {
            inside = true;
            if (same_id(fields_[after].id, field_id)) {
                next_ = after + 1;
                return &fields_[after];
            }
        }
        if (distance < next_) {
            inside = true;
            const std::size_t before = next_ - distance - 1;
            if (same_id(fields_[before].id, field_id)) {
                next_ = before + 1;
                return &fields_[before];
            }
        }
        if (!inside) break;
    }
    return nullptr;
}

FieldMapPort::FieldText* FieldMapPort::find(std::string_view field_id) {
    return const_cast<FieldText*>(std::as_const(*this).find(field_id));
}

bool FieldMapPort::has_field(std::string_view field_id) const { return find(field_id) != nullptr; }

void FieldMapPort::preset(std::string_view field_id, std::string_view text) {
    if (FieldText* field = find(field_id)) field->text = text;
}

std::string_view FieldMapPort::current_text(std::string_view field_id) const {
    const FieldText* field = find(field_id);
    return field ? std::string_view(field->text) : std::string_view();
}

std::string FieldMapPort::text(std::string_view field_id) const { return std::string(current_text(field_id)); }

void FieldMapPort::set_text(std::string_view field_id, std::string_view text) {
    preset(field_id, text);
    if (observer_.set) observer_.set(field_id, text);
}

void FieldMapPort::warning(std::string_view message) {
    if (observer_.warning) observer_.warning(message);
}

}  // namespace vorlanex::page
