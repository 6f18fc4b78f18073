#pragma once
// One press of "Výpočet" on a page without a window, kept whole: the texts the fields held before
// the press, every warning in the order it was shown, the texts after it, the fault that stopped
// it, if one did, and the same run in the batch's result form ("events" and "fields"), which a
// case file records. The run is the page's own calculation through page::press_calculate, once;
// nothing is computed here.
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "numeric/decimal_separator.h"
#include "page/page_definition.h"

namespace vorlanex::casefile {

class RecordedRun {
public:
    // The page as it opens, with `typed` texts set in its fields (FIELD, TEXT), pressed once.
    RecordedRun(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                const numeric::DecimalSeparator& separator);
    // Why a calculation was not run at all: the fault, as its error box would say it, and the input
    // whose text could not be had.
    struct NotRun {
        std::string fault;
        std::string field;
    };
    // The page as it opens with `typed` texts set, not pressed: its outcome is the fault alone
    // (one error event naming the field) and the texts the fields hold.
    RecordedRun(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                const numeric::DecimalSeparator& separator, const NotRun& not_run);

    // How many runs this program has made so far, on any thread: what tells that an edit ran one
    // calculation and not the whole case.
    static long long made();

    const page::PageDefinition& page() const { return *page_; }
    const numeric::DecimalSeparator& separator() const { return separator_; }

    // The field's text when "Výpočet" was pressed.
    const std::string& text_before(std::string_view field_id) const;
    // The field's text after the run: what the window shows.
    const std::string& text_after(std::string_view field_id) const;
    // Whether the run wrote the field (an empty text included).
    bool written(std::string_view field_id) const;
    // The field's value after the run, read as the calculation reads a field (parse_number), when
    // the run wrote it or it is an input; nothing when it holds no number or kept an old text.
    std::optional<double> value(std::string_view field_id) const;

    // The warning boxes, in the order they were shown ("\r" separates lines).
    const std::vector<std::string>& warnings() const { return warnings_; }
    // The error box's text when a fault stopped the run.
    const std::optional<std::string>& fault() const { return fault_; }
    // The run in the batch's result form: "events":[…],"fields":{…}, without braces.
    const std::string& outcome() const { return outcome_; }

private:
    const page::PageDefinition* page_;
    numeric::DecimalSeparator separator_;
    std::map<std::string, std::string, std::less<>> before_;
    std::map<std::string, std::string, std::less<>> after_;
    std::map<std::string, bool, std::less<>> written_;
    std::vector<std::string> warnings_;
    std::optional<std::string> fault_;
    std::string outcome_;
};

}  // namespace vorlanex::casefile
