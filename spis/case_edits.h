#pragma once
// The steps of the open case's undo stack: each knows the case before and after one change and puts
// either back through the open case, which then shows what changed. A run of typing in one field of
// one calculation is one step (its commands merge); another field or calculation starts a new one.
#include <QUndoCommand>
#include <string>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/case_header.h"

namespace vorlanex::spis {

class OpenCase;

// What of a calculation was edited: the steps of one kind merge while they edit the same thing.
enum class CalculationPart { Text = 1, Tolerance, Title, Note, Analyses };

// A calculation changed in place: a field's text or tolerance, its title, its note or the settings
// of its kept analyses. The first
// redo is the edit as typed, shown without building the form anew; every later undo or redo
// selects the calculation and shows it as it is then.
class CalculationEdit final : public QUndoCommand {
public:
    CalculationEdit(OpenCase& open_case, int row, CalculationPart part, std::string field_id,
                    casefile::Calculation before, casefile::Calculation after);
    void undo() override;
    void redo() override;
    int id() const override { return static_cast<int>(part_); }
    bool mergeWith(const QUndoCommand* other) override;

private:
    OpenCase& case_;
    int row_;
    CalculationPart part_;
    std::string field_id_;
    casefile::Calculation before_, after_;
    bool typed_ = true;
};

// A calculation put in at `row` (added or duplicated) or taken out of it (removed): one class, as
// each is the other's undo.
class CalculationRowEdit final : public QUndoCommand {
public:
    enum class Kind { Insert, Remove };
    CalculationRowEdit(OpenCase& open_case, Kind kind, int row, casefile::Calculation calculation, int selected_before);
    void undo() override;
    void redo() override;

private:
    void insert();
    void remove();

    OpenCase& case_;
    Kind kind_;
    int row_;
    casefile::Calculation calculation_;
    int selected_before_;
};

// The calculation at `from` moved to the row `to`.
class CalculationMove final : public QUndoCommand {
public:
    CalculationMove(OpenCase& open_case, int from, int to);
    void undo() override;
    void redo() override;

private:
    OpenCase& case_;
    int from_, to_;
};

// Several calculations changed in one step: a chain added with its source given an id, an input
// linked to a source given an id, a calculation removed with the links taken from it. The case's
// calculations before and after, each with the row then selected.
class CalculationsEdit final : public QUndoCommand {
public:
    CalculationsEdit(OpenCase& open_case, std::vector<casefile::Calculation> before, int selected_before,
                     std::vector<casefile::Calculation> after, int selected_after);
    void undo() override;
    void redo() override;

private:
    OpenCase& case_;
    std::vector<casefile::Calculation> before_, after_;
    int selected_before_, selected_after_;
};

// The case's own description (its first line).
class HeaderEdit final : public QUndoCommand {
public:
    HeaderEdit(OpenCase& open_case, casefile::CaseHeader header);
    void undo() override;
    void redo() override;

private:
    OpenCase& case_;
    std::string line_before_;
    casefile::CaseHeader before_, after_;
};

}  // namespace vorlanex::spis
