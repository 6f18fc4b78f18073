#pragma once
// One scenario of vorlanex-calc: a page with some of its fields' texts given, checked against the
// page and run on the page without a window, each event of the run handed on as a JSON object.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "numeric/decimal_separator.h"
#include "page/field_map_port.h"
#include "page/page_definition.h"

namespace vorlanex::casefile {

// Why a command line or a batch line is no scenario. The checks of a scenario against the page say
// which kind of fault it is and what it names, so that a window can say it in its own words.
struct UsageError {
    enum class Kind { Other, UnknownPage, UnknownField, FieldTwice };
    std::string message;
    Kind kind = Kind::Other;
    std::string subject = {};  // the page's key or the field's id
};

struct Scenario {
    const page::PageDefinition* page = nullptr;
    std::vector<std::pair<std::string, std::string>> fields;  // in the order given
};

// The page with this key into `scenario`, or the usage error of an unknown key.
std::optional<UsageError> find_page(std::string_view key, Scenario& scenario);
// The first field the page does not have or that is given twice, as a usage error, or nothing.
std::optional<UsageError> check_scenario(const Scenario& scenario);

// Takes each event of a run, a JSON object, as it happens.
class EventSink {
public:
    virtual void event(std::string_view json_object) = 0;

protected:
    ~EventSink() = default;
};

// The page without a window as it opens, with the scenario's texts set, that hands every warning
// and every write to a sink. It remembers which field's text the calculation read last, until the
// calculation writes or warns: a field's text is converted right after it is read, and converting
// the same text again fails again with the same message; so when a fault stopped the run right
// after a reading, and that text fails to convert with the fault's message, the reading was the
// step that failed (a text that is not a number, or a value beyond the double range). A fault
// after a write or a warning is a later step's.
class CommandPort final : public page::FieldMapPort {
public:
    CommandPort(const Scenario& scenario, const numeric::DecimalSeparator& separator, EventSink& sink,
                Observer observer = {});

    std::string text(std::string_view field_id) const override;
    void set_text(std::string_view field_id, std::string_view text) override;
    void warning(std::string_view message) override;

    // One press of "Výpočet". True when the run completed; false when a fault stopped it, and its
    // error event names the field whose text failed to convert, when that was the fault.
    bool run();
    // The error box's text when a fault stopped the run.
    const std::optional<std::string>& error_box() const { return error_box_; }

private:
    std::optional<std::string> field_that_failed(std::string_view error_box) const;

    const page::PageDefinition& page_;
    EventSink& sink_;
    std::string event_;  // the event being written
    mutable std::string last_read_;
    std::optional<std::string> error_box_;
};

}  // namespace vorlanex::casefile
