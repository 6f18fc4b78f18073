#pragma once
// The "Citlivost" tab: how the selected calculation's results move with one of its inputs. The
// expert chooses the input, FROM, TO and the number of steps; the tab runs the page for every value,
// as `vorlanex-calc --sweep FIELD=FROM..TO/STEPS` does, and shows every result's text against the
// input and the chart of a chosen result as the sweep report draws it. A bad setting is said inline.
// The settings live in the window only: the case file has no place for them.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <variant>
#include <vector>

#include "casefile/case_file.h"
#include "numeric/decimal_separator.h"
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
    // Follows the case's selected calculation.
    explicit SweepTab(const OpenCase& open_case, QWidget* parent = nullptr);

    // The calculation whose input the tab sweeps; none clears it. A sweep shown of the same page is
    // run again with the calculation's new texts.
    void show_calculation(const casefile::Calculation* entry, const numeric::DecimalSeparator& separator);
    // Runs the sweep of the settings typed; false, with the message shown, when they are wrong.
    bool run();

    QComboBox* field_choice() const { return field_; }
    QLineEdit* from_edit() const { return from_; }
    QLineEdit* to_edit() const { return to_; }
    QLineEdit* steps_edit() const { return steps_; }
    QPushButton* run_button() const { return run_; }
    QLabel* message_label() const { return message_; }
    QTableWidget* table() const { return table_; }
    QComboBox* chart_choice() const { return chart_choice_; }
    // The SVG of the chart shown; empty when none is.
    const QByteArray& chart() const { return chart_svg_; }

private:
    void clear_outcome();
    void show_problem(const QString& problem);
    void show_chart(int choice);

    std::optional<casefile::Calculation> entry_;
    numeric::DecimalSeparator separator_{","};
    std::optional<tolerance::SweepRange> range_;
    std::vector<tolerance::SweepRow> rows_;
    QLabel* status_;
    QComboBox* field_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* steps_;
    QPushButton* run_;
    QLabel* message_;
    QTableWidget* table_;
    QComboBox* chart_choice_;
    QSvgWidget* chart_view_;
    QByteArray chart_svg_;
};

}  // namespace vorlanex::spis
