#pragma once
// A fake page for calculation tests: fields on a map, and a transcript of everything the
// calculation does (warnings, writes), in order, for whole-run assertions.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/faults.h"
#include "page/page_definition.h"
#include "page/port.h"

namespace vorlanex::testing {

// One event of a run, printed like a line of vorlanex-calc: warning, set or error.
struct Event {
    std::string kind;  // "warning", "set" or "error"
    std::string field;
    std::string text;
    friend bool operator==(const Event&, const Event&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Event& e) {
        return out << e.kind << (e.field.empty() ? "" : " " + e.field) << " '" << e.text << "'";
    }
};

inline Event warning(std::string text) { return {"warning", "", std::move(text)}; }
inline Event set(std::string field, std::string text) { return {"set", std::move(field), std::move(text)}; }
inline Event error(std::string text) { return {"error", "", std::move(text)}; }

class RecordingPort : public page::Port {
public:
    // The page as it opens: every field holds its default text.
    explicit RecordingPort(const page::PageDefinition& page, std::string_view separator = ",")
        : page_(page), separator_(separator) {
        for (const page::Field& field : page.layout.fields) texts_[std::string(field.id)] = page::default_text(field, separator_);
    }

    void type(std::string_view field_id, std::string_view text) {
        EXPECT_TRUE(page_.find_field(field_id)) << "no field " << field_id;
        texts_[std::string(field_id)] = text;
    }

    // Runs the page's calculation once, as the button does; a fault ends the transcript.
    const std::vector<Event>& press_calculate() {
        events_.clear();
        try {
            page_.calculate(*this);
        } catch (const numeric::Fault& fault) {
            events_.push_back(error(numeric::error_box_text(fault.message())));
        }
        return events_;
    }

    std::string text(std::string_view field_id) const override {
        const auto it = texts_.find(std::string(field_id));
        EXPECT_TRUE(it != texts_.end()) << "the calculation read an unknown field " << field_id;
        const page::Field* field = page_.find_field(field_id);
        EXPECT_TRUE(field && field->role == page::FieldRole::Input) << "the calculation read a result field " << field_id;
        return it == texts_.end() ? std::string() : it->second;
    }
    void set_text(std::string_view field_id, std::string_view text) override {
        EXPECT_TRUE(page_.find_field(field_id)) << "the calculation wrote an unknown field " << field_id;
        texts_[std::string(field_id)] = text;
        events_.push_back(set(std::string(field_id), std::string(text)));
    }
    void warning(std::string_view message) override { events_.push_back(testing::warning(std::string(message))); }
    const numeric::DecimalSeparator& separator() const override { return separator_; }

    const std::string& field(std::string_view field_id) const { return texts_.at(std::string(field_id)); }
    const std::vector<Event>& events() const { return events_; }

private:
    const page::PageDefinition& page_;
    numeric::DecimalSeparator separator_;
    std::map<std::string, std::string> texts_;
    std::vector<Event> events_;
};

}  // namespace vorlanex::testing
