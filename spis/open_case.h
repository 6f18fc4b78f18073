#pragma once
// The case open in a window: the case itself, the file it came from, whether it has changed since,
// which calculation is selected, and the recovery copy of its unsaved state. Every change to the
// case goes through here; the panels (the list, the form, the diagram, the tolerance and sweep
// tabs) observe it and show what it tells them, so none of them is fed by hand.
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "casefile/case_file.h"
#include "casefile/case_writer.h"
#include "casefile/recorded_run.h"
#include "page/page_definition.h"
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
    bool modified() const { return modified_; }
    int count() const { return static_cast<int>(file_.calculations.size()); }
    const casefile::Calculation& calculation(int row) const {
        return file_.calculations[static_cast<std::size_t>(row)];
    }

    // The selected calculation's row, -1 when none is; the calculation and its run as shown now.
    int selected_row() const { return selected_; }
    const casefile::Calculation* selected() const { return selected_ < 0 ? nullptr : &calculation(selected_); }
    const casefile::RecordedRun* selected_run() const { return selected_run_ ? &*selected_run_ : nullptr; }

    // The case's life: another case taken whole (opened, recovered, new), saved under `path`.
    void replace(casefile::CaseFile file, const QString& path);
    void new_case() { replace(casefile::new_case(new_case_separator_), {}); }
    void saved_to(const QString& path);
    void set_modified(bool modified);

    // The edits. Each marks the case changed and says what changed.
    void select(int row);
    void add(const page::PageDefinition& page);
    void duplicate_selected();
    void remove_selected();
    // The calculation at `from` moved to the row `to`, and selected.
    void move(int from, int to);
    void set_header(const casefile::CaseHeader& header);
    void set_text(std::string_view field_id, std::string_view text);
    void set_description(std::optional<std::string> casefile::Calculation::*member, std::optional<std::string> text);
    // A tolerance typed in short form: taken, or why not (the case is then unchanged).
    std::optional<tolerance::InputError> set_tolerance(std::string_view field_id, std::string_view short_form);

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
    void changed();
    void run_selected();

    casefile::CaseFile file_;
    numeric::DecimalSeparator new_case_separator_;
    QString path_;
    bool modified_ = false;
    int selected_ = -1;
    std::optional<casefile::RecordedRun> selected_run_;
    RecoveryCopy recovery_;
    QTimer recovery_timer_;
};

}  // namespace vorlanex::spis
