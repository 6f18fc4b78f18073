#include "spis/case_edits.h"

#include <utility>

#include "casefile/case_writer.h"
#include "spis/open_case.h"

namespace vorlanex::spis {

namespace {

// The same calculation as far as the case file says: a run of typing that came back to where it
// began changed nothing.
bool same_content(const casefile::Calculation& a, const casefile::Calculation& b) {
    return a.title == b.title && a.note == b.note && a.tolerances == b.tolerances && a.analyses == b.analyses &&
           a.scenario.fields == b.scenario.fields && a.links == b.links;
}

}  // namespace

CalculationEdit::CalculationEdit(OpenCase& open_case, int row, CalculationPart part, std::string field_id,
                                 casefile::Calculation before, casefile::Calculation after)
    : case_(open_case),
      row_(row),
      part_(part),
      field_id_(std::move(field_id)),
      before_(std::move(before)),
      after_(std::move(after)) {}

void CalculationEdit::undo() { case_.put_calculation(row_, before_, false); }

void CalculationEdit::redo() {
    case_.put_calculation(row_, after_, typed_);
    typed_ = false;
}

bool CalculationEdit::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const CalculationEdit*>(other);
    if (!next || next->row_ != row_ || next->field_id_ != field_id_) return false;
    after_ = next->after_;
    setObsolete(same_content(before_, after_));
    return true;
}

CalculationRowEdit::CalculationRowEdit(OpenCase& open_case, Kind kind, int row, casefile::Calculation calculation,
                                       int selected_before)
    : case_(open_case),
      kind_(kind),
      row_(row),
      calculation_(std::move(calculation)),
      selected_before_(selected_before) {}

void CalculationRowEdit::undo() { kind_ == Kind::Insert ? remove() : insert(); }

void CalculationRowEdit::redo() { kind_ == Kind::Insert ? insert() : remove(); }

void CalculationRowEdit::insert() { case_.insert_calculation(row_, calculation_); }

void CalculationRowEdit::remove() {
    // An insertion undone goes back to what was selected before it; a removal selects the row that
    // took the removed one's place.
    case_.erase_calculation(row_, kind_ == Kind::Insert ? selected_before_ : row_);
}

CalculationMove::CalculationMove(OpenCase& open_case, int from, int to) : case_(open_case), from_(from), to_(to) {}

void CalculationMove::undo() { case_.move_calculation(to_, from_); }

void CalculationMove::redo() { case_.move_calculation(from_, to_); }

CalculationsEdit::CalculationsEdit(OpenCase& open_case, std::vector<casefile::Calculation> before, int selected_before,
                                   std::vector<casefile::Calculation> after, int selected_after)
    : case_(open_case),
      before_(std::move(before)),
      after_(std::move(after)),
      selected_before_(selected_before),
      selected_after_(selected_after) {}

void CalculationsEdit::undo() { case_.put_calculations(before_, selected_before_); }

void CalculationsEdit::redo() { case_.put_calculations(after_, selected_after_); }

HeaderEdit::HeaderEdit(OpenCase& open_case, casefile::CaseHeader header)
    : case_(open_case),
      line_before_(open_case.file().header_line),
      before_(open_case.file().header),
      after_(std::move(header)) {}

void HeaderEdit::undo() { case_.put_header(line_before_, before_); }

void HeaderEdit::redo() { case_.put_header({}, after_); }

}  // namespace vorlanex::spis
