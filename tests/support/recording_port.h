#pragma once
// A fake page for calculation tests: the page without a window (page/field_map_port.h), with a
// transcript of everything the calculation does (warnings, writes, the error box), in order, for
// whole-run assertions. It also fails the test when a calculation reads a result field or touches
// a field its page does not have.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "page/field_map_port.h"
#include "page/press_calculate.h"

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

class RecordingPort : public page::FieldMapPort {
public:
    // The page as it opens: every field holds its default text.
    explicit RecordingPort(const page::PageDefinition& page, std::string_view separator = ",")
        : FieldMapPort(page, numeric::DecimalSeparator(separator),
                       {[this](std::string_view message) { events_.push_back(testing::warning(std::string(message))); },
                        [this](std::string_view id, std::string_view text) {
                            EXPECT_TRUE(page_.find_field(id)) << "the calculation wrote an unknown field " << id;
                            events_.push_back(set(std::string(id), std::string(text)));
                        }}),
          page_(page) {}

    // Text typed by the user before the press (into any field, result fields too).
    void type(std::string_view field_id, std::string_view text) {
        EXPECT_TRUE(has_field(field_id)) << "no field " << field_id;
        preset(field_id, text);
    }

    // Runs the page's calculation once, as the button does; a fault ends the transcript.
    const std::vector<Event>& press_calculate() {
        events_.clear();
        if (const std::optional<std::string> error_box = page::press_calculate(page_, *this)) {
            events_.push_back(error(*error_box));
        }
        return events_;
    }

    std::string text(std::string_view field_id) const override {
        const page::Field* field = page_.find_field(field_id);
        EXPECT_TRUE(field) << "the calculation read an unknown field " << field_id;
        EXPECT_TRUE(!field || field->role == page::FieldRole::Input)
            << "the calculation read a result field " << field_id;
        return FieldMapPort::text(field_id);
    }

    // A field's text as the user sees it now.
    std::string field(std::string_view field_id) const { return FieldMapPort::text(field_id); }
    const std::vector<Event>& events() const { return events_; }

private:
    const page::PageDefinition& page_;
    std::vector<Event> events_;
};

}  // namespace vorlanex::testing
