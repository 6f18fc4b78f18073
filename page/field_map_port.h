#pragma once
// The page without a window, on a plain map of field texts: the page as it opens (every field
// holding its default text, result fields empty), then whatever the caller sets. Every warning and
// every write is also handed to an observer, in the order it happens. The command, the tests and
// the benchmarks run the pages on it.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "page/page_definition.h"
#include "page/port.h"

namespace vorlanex::page {

class FieldMapPort : public Port {
public:
    struct Observer {
        std::function<void(std::string_view message)> warning;
        std::function<void(std::string_view field_id, std::string_view text)> set;
    };

    FieldMapPort(const PageDefinition& page, numeric::DecimalSeparator separator, Observer observer = {});

    // True when the page has a field with this id (input or result).
    bool has_field(std::string_view field_id) const;
    // Sets a field's text before a run, without telling the observer.
    void preset(std::string_view field_id, std::string_view text);
    // The field's text without a copy, valid until the field is next set; empty for an unknown id.
    std::string_view current_text(std::string_view field_id) const;
    // The same two by the field's place in the layout, for loops that run a page millions of times.
    void preset_at(std::size_t layout_index, std::string_view text) { fields_[layout_index].text = text; }
    std::string_view current_text_at(std::size_t layout_index) const { return fields_[layout_index].text; }

    std::string text(std::string_view field_id) const override;
    void set_text(std::string_view field_id, std::string_view text) override;
    void warning(std::string_view message) override;
    const numeric::DecimalSeparator& separator() const override { return separator_; }

private:
    struct FieldText {
        std::string_view id;
        std::string text;
    };
    // The field with this id, or nullptr. A run reads and writes its fields mostly in the layout's
    // order, so the search starts after the field found last: a comparison or two, as a rule.
    const FieldText* find(std::string_view field_id) const;
    FieldText* find(std::string_view field_id);

    const PageDefinition& page_;
    numeric::DecimalSeparator separator_;
    Observer observer_;
    std::vector<FieldText> fields_;  // in the layout's order
    mutable std::size_t next_ = 0;   // where the next search starts
};

}  // namespace vorlanex::page
