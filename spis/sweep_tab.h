#pragma once
// The "Citlivost" tab: how the selected calculation's results move with one of its inputs. The
// expert chooses the input, FROM, TO and the number of steps; the tab runs the page for every value,
// as `vorlanex-calc --sweep FIELD=FROM..TO/STEPS` does, and shows every result's text against the
// input and the chart of a chosen result as the sweep report draws it. A bad setting is said inline.
// The settings of a sweep run are kept in the case ("analyses"), an undoable step; a calculation
// shown with kept settings is swept at once (a sweep in the window takes milliseconds). The same
// calculation edited leaves the table as it is: a title or a note changes nothing, an input or a
// tolerance greys it under the notice that it no longer matches the inputs, until it is run again;
// a run again changes only the cells whose texts changed.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <variant>
#include <vector>

#include "casefile/case_file.h"
#include "numeric/decimal_separator.h"
#include "spis/analysis_basis.h"
#include "tolerance/sweep.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSvgWidget;
class QTableWidget;

namespace vorlanex::spis {

class OpenCase;

// The most steps the tab runs: 1001 runs of a page take a few milliseconds, so the window runs them
// at once; a longer sweep is the command line's.
inline constexpr unsigned kMostWindowSweepSteps = 1000;

// The sweep's settings as typed in the tab.
struct SweepSettings {
    QString field, from, to, steps;
};

// The settings checked by the command line's own checks, or a Czech message saying what is wrong.
std::variant<tolerance::SweepRange, QString> checked_sweep(const page::PageDefinition& page,
                                                           const SweepSettings& settings,
                                                           const numeric::DecimalSeparator& separator);

// The table's columns: the swept input, every result field of the page in the layout's order, and
// the warnings and the fault of each run.
QStringList sweep_columns(const page::PageDefinition& page, const tolerance::SweepRange& range);
// One row per run: the input's text, each result's text (empty where the run wrote none), and the
// warnings ("⚠ …") and the fault ("✗ …").
std::vector<QStringList> sweep_table_rows(const page::PageDefinition& page,
                                          const std::vector<tolerance::SweepRow>& rows);

class SweepTab final : public QWidget {
    Q_OBJECT
public:
    // Follows the case's selected calculation; a run keeps its settings in the case.
    explicit SweepTab(OpenCase& open_case, QWidget* parent = nullptr);

    // The calculation at `row` whose input the tab sweeps; none clears it. Another calculation shows
    // its kept settings and their sweep; the same one edited keeps the table (see above).
    void show_calculation(const casefile::Calculation* entry, const numeric::DecimalSeparator& separator, int row);
    // Runs the sweep of the settings typed and keeps them in the case; false, with the message
    // shown, when they are wrong.
    bool run();
    // True while the table shown was made from other inputs or settings than the calculation has.
    bool out_of_date() const { return out_of_date_; }

    QComboBox* field_choice() const { return field_; }
    QLineEdit* from_edit() const { return from_; }
    QLineEdit* to_edit() const { return to_; }
    QLineEdit* steps_edit() const { return steps_; }
    QPushButton* run_button() const { return run_; }
    QPushButton* remove_button() const { return remove_; }
    QLabel* out_of_date_label() const { return notice_; }
    QLabel* message_label() const { return message_; }
    QTableWidget* table() const { return table_; }
    QComboBox* chart_choice() const { return chart_choice_; }
    // The SVG of the chart shown; empty when none is.
    const QByteArray& chart() const { return chart_svg_; }

private:
    void clear_outcome();
    void show_problem(const QString& problem);
    void show_chart(int choice);
    void show_settings(const casefile::SweepAnalysis& kept);
    // The sweep of the settings typed, or the message why not.
    std::variant<tolerance::SweepRange, QString> typed_range() const;
    void sweep(const tolerance::SweepRange& range);
    void judge_outcome();

    OpenCase& case_;
    std::optional<casefile::Calculation> entry_;
    int row_ = -1;
    // What the results shown were made from.
    using Made = AnalysisBasis<casefile::SweepAnalysis>;
    std::optional<Made> made_;
    bool out_of_date_ = false;
    numeric::DecimalSeparator separator_{","};
    std::optional<tolerance::SweepRange> range_;
    std::vector<tolerance::SweepRow> rows_;
    QLabel* status_;
    QComboBox* field_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* steps_;
    QPushButton* run_;
    QPushButton* remove_;
    QLabel* message_;
    QLabel* notice_;
    QTableWidget* table_;
    QComboBox* chart_choice_;
    QSvgWidget* chart_view_;
    QByteArray chart_svg_;
};

}  // namespace vorlanex::spis
