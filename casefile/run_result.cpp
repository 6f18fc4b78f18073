#include "casefile/run_result.h"

#include <utility>

#include "casefile/json_text.h"

namespace vorlanex::casefile {

namespace {

// The run's events, one after the other in the result's "events" list.
class Events final : public EventSink {
public:
    explicit Events(std::string& out) : out_(out) {}
    void event(std::string_view json_object) override {
        if (any_) out_ += ',';
        any_ = true;
        out_ += json_object;
    }

private:
    std::string& out_;
    bool any_ = false;
};

}  // namespace

bool append_run_result(const Scenario& scenario, const numeric::DecimalSeparator& separator, std::string& out) {
    return append_run_result(scenario, separator, out, {}, {});
}

bool append_run_result(const Scenario& scenario, const numeric::DecimalSeparator& separator, std::string& out,
                       page::FieldMapPort::Observer observer, const std::function<void(const CommandPort&)>& after) {
    out += R"("events":[)";
    Events events(out);
    CommandPort port(scenario, separator, events, std::move(observer));
    const bool completed = port.run();
    if (after) after(port);
    out += "],";
    append_fields_member(*scenario.page, port, out);
    return completed;
}

void append_fields_member(const page::PageDefinition& page, const page::FieldMapPort& port, std::string& out) {
    out += R"("fields":{)";
    bool first = true;
    for (const page::Field& field : page.layout.fields) {
        if (!first) out += ',';
        first = false;
        append_json_string(out, field.id);
        out += ':';
        append_json_string(out, port.FieldMapPort::text(field.id));
    }
    out += '}';
}

}  // namespace vorlanex::casefile
