#pragma once
// The case open in a window: the case itself, the file it came from, whether it has changed since,
// which calculation is selected, the recovery copy of its unsaved state, its undo stack, the file as
// it was read or written (to tell a change on disk by someone else) and the mark that this window
// has the file open. Every change to the case is a step of the undo stack pushed here; the panels
// (the list, the form, the diagram, the tolerance and sweep tabs) observe it and show what it tells
// them, so none of them is fed by hand. The case is unsaved while the stack is away from its clean
// state.
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUndoStack>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/case_writer.h"
#include "casefile/recorded_run.h"
#include "page/page_definition.h"
#include "spis/case_edits.h"
#include "spis/case_lock.h"
#include "spis/file_stamp.h"
#include "spis/recovery.h"
#include "tolerance/distribution.h"

namespace vorlanex::spis {

class OpenCase final : public QObject {
    Q_OBJECT
public:
    // An empty new case whose numbers are written with `new_case_separator`.
    explicit OpenCase(const numeric::DecimalSeparator& new_case_separator, QObject* parent = nullptr);

    const casefile::CaseFile& file() const { return file_; }
    const numeric::DecimalSeparator& separator() const { return file_.separator; }
    // The file the case was opened from or saved to; empty for a new case.
    const QString& path() const { return path_; }
    bool modified() const { return !undo_stack_.isClean(); }
    int count() const { return static_cast<int>(file_.calculations.size()); }
    const casefile::Calculation& calculation(int row) const {
        return file_.calculations[static_cast<std::size_t>(row)];
    }

    // How the calculation at `row` ended when it last ran (it runs when the case is taken and after
    // each change of it): what its row in the list shows.
    enum class Ending { Completed, Warned, Failed };
    Ending ending(int row) const { return endings_[static_cast<std::size_t>(row)]; }
    // The case's text as it is saved, every calculation's outcome as it last ran: nothing is run.
    std::string text() const;
    // The lines of that text written anew, the case's own first, each with an empty outcome in
    // place of its run's: what a save checks reads back as a case (each other line is a line as it
    // was read).
    std::string lines_written_anew() const;

    // The selected calculation's row, -1 when none is; the calculation and its run as shown now.
    int selected_row() const { return selected_; }
    const casefile::Calculation* selected() const { return selected_ < 0 ? nullptr : &calculation(selected_); }
    const casefile::RecordedRun* selected_run() const { return selected_run_ ? &*selected_run_ : nullptr; }

    // The case's life: another case taken whole (opened, recovered, new) with the file as read
    // (none for a case that is not the file's bytes), saved under `path` as `bytes`. Each starts the
    // undo stack anew (saving keeps the steps and marks the state saved).
    void replace(casefile::CaseFile file, const QString& path, std::optional<FileStamp> read = std::nullopt);
    // An empty case of no file, described by `header` and unchanged (a new window's or Soubor → Nový).
    void new_case(const casefile::CaseHeader& header = {}) {
        casefile::CaseFile file = casefile::new_case(new_case_separator_);
        file.header = header;
        replace(std::move(file), {});
    }
    void saved_to(const QString& path, std::string_view bytes);
    void set_modified(bool modified);

    // True when the case's file holds other bytes now than this window read or wrote last: another
    // window or program saved it since.
    bool changed_on_disk() const;
    // True when another living window had the case's file open when this one opened or saved it.
    bool open_elsewhere() const { return lock_.held_elsewhere(); }

    // The steps taken, to be undone and redone; undoing selects and shows the calculation the step
    // changed.
    const QUndoStack& undo_stack() const { return undo_stack_; }
    void undo();
    void redo();

    // The edits. Each is a step of the undo stack and says what changed.
    void select(int row);
    void add(const page::PageDefinition& page);
    void duplicate_selected();
    // The selected calculation removed; the inputs of others that took from it keep the text they
    // took last as typed text, in the same step. How many such links went.
    int remove_selected();
    // After the selected "Kinematika" reconstruction, the "Dráha na zastavení" calculation at the
    // permitted speed `speed_text` (km/h) linked to it, selected; the reconstruction is given an id
    // when it has none. One step; false (nothing done) when the selection is no reconstruction.
    bool add_avoidability_chain(std::string_view speed_text);
    // The selected calculation's `input` takes `field` of the calculation at `source_row` (given an
    // id when it has none, in the same step); or why not, the case then unchanged.
    std::optional<casefile::CaseError> link_selected(std::string_view input, int source_row, std::string_view field);
    // The selected calculation's `input` typed again, holding the text it took last.
    void unlink_selected(std::string_view input);
    // The calculation at `from` moved to the row `to`, and selected.
    void move(int from, int to);
    void set_header(const casefile::CaseHeader& header);
    void set_text(std::string_view field_id, std::string_view text);
    void set_description(std::optional<std::string> casefile::Calculation::*member, std::optional<std::string> text);
    // A tolerance typed in short form: taken, or why not (the case is then unchanged).
    std::optional<tolerance::InputError> set_tolerance(std::string_view field_id, std::string_view short_form);
    // The settings of the selected calculation's kept analyses: one of them ("tolerance" or
    // "sweep", which names the step) set, changed or (nothing) removed. Nothing changed is no step.
    void set_analysis(std::optional<casefile::ToleranceAnalysis> tolerance);
    void set_analysis(std::optional<casefile::SweepAnalysis> sweep);

    // The recovery copy of the unsaved case, written now (it is written by itself a few seconds after
    // each change); a Czech message when it could not be.
    std::optional<QString> write_recovery_copy();
    const RecoveryCopy& recovery_copy() const { return recovery_; }
    // The window closes cleanly: its copy goes.
    void close();

    // `refresh` runs, in `panel`'s thread and while it lives, whenever another calculation is
    // selected or the selected one ran again: how a panel that shows the selected calculation
    // observes the case.
    void observe_selected(QObject* panel, const std::function<void()>& refresh) const;

signals:
    // Rows came or went or moved, or the whole case was replaced: the list is shown anew.
    void list_changed();
    // Another calculation is selected (or none is).
    void selection_changed();
    // The selected calculation was edited and run again.
    void selected_ran();
    // The calculation at `row` was run again or renamed: its row in the list is shown anew.
    void row_changed(int row);
    // The unsaved mark, the case's title or its file changed.
    void state_changed();
    // The recovery copy written by itself could not be.
    void problem(const QString& message);

private:
    // The steps of case_edits.h put the case back through the calls below.
    friend class CalculationEdit;
    friend class CalculationRowEdit;
    friend class CalculationMove;
    friend class CalculationsEdit;
    friend class HeaderEdit;
    // The calculation at `row` as it is to be: shown as typed (the form stays as it is) or selected
    // and shown anew.
    void put_calculation(int row, const casefile::Calculation& calculation, bool as_typed);
    void insert_calculation(int row, const casefile::Calculation& calculation);
    // The row taken out, then `select` (or the last row when it is past the end) selected.
    void erase_calculation(int row, int select);
    void move_calculation(int from, int to);
    // The case's calculations replaced by `calculations`, all run, and `select` selected.
    void put_calculations(const std::vector<casefile::Calculation>& calculations, int select);
    // The step of replacing the calculations by `after`, named `name`, `select` selected after it.
    void push_calculations(const QString& name, std::vector<casefile::Calculation> after, int select);
    // The text `link` takes from its source now; empty when the source is gone or shows none.
    std::string taken_now(const casefile::Link& link) const;
    // The case's description: with its line as written, or written anew when `line` is empty.
    void put_header(const std::string& line, const casefile::CaseHeader& header);

    // The selected calculation changed by `edit`, a step of the undo stack.
    void edit_selected(CalculationPart part, std::string_view field_id,
                       const std::function<void(casefile::Calculation&)>& edit);
    // The selected calculation's analyses set to `analyses`, a step named by `which` of them changed.
    void set_analyses(std::string_view which, const casefile::Analyses& analyses);
    void push(QUndoCommand* step);
    // The unsaved mark and the recovery copy after the stack moved.
    void stepped();
    void run_selected();
    // The calculation at `row` run: how it ended and its outcome kept beside it.
    casefile::RecordedRun run(int row);
    // Runs again every calculation that takes inputs from `row`, directly or through others.
    void run_dependents(int row);
    // Every calculation run, as a case taken whole is.
    void run_all();
    // The calculation at `row` selected with its run `ran`, made just now.
    void select_ran(int row, casefile::RecordedRun ran);
    // The selection set anew after the list changed.
    void reselect(int row);
    // Rows came, went or moved: the list is shown anew with nothing selected (so no row is shown
    // with the run of the calculation that stood there before), then `row` is selected.
    void rows_changed(int row);

    casefile::CaseFile file_;
    numeric::DecimalSeparator new_case_separator_;
    QString path_;
    std::optional<FileStamp> on_disk_;
    CaseLock lock_;
    QUndoStack undo_stack_;
    int selected_ = -1;
    std::optional<casefile::RecordedRun> selected_run_;
    // Beside each calculation, from its last run: how it ended, and its outcome as the case file
    // records it, none where its line as written is already the line a save writes.
    std::vector<Ending> endings_;
    std::vector<std::optional<std::string>> outcomes_;
    RecoveryCopy recovery_;
    QTimer recovery_timer_;
};

}  // namespace vorlanex::spis
