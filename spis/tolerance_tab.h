#pragma once
// The "Tolerance" tab: the selected calculation's tolerances sampled in the background (the window
// stays responsive, with progress and a cancel button), then the table of every result's
// percentiles with the texts the fields showed, as `vorlanex-calc --tolerance` prints them, and the
// histogram of a chosen result as the tolerance report draws it, and the shares of the texts of
// word results. A linked calculation is sampled with the calculations it takes from. The samples
// and the seed of a run are kept in the case ("analyses"), an undoable step, and shown again when
// the calculation is; the run itself is made when the expert presses "Spustit" (it may take
// long). A title or a note edited leaves the results and a run in progress alone; an input or a
// tolerance edited keeps the results, greyed under the notice that they no longer match the inputs.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "casefile/calculation_sampling.h"
#include "casefile/case_file.h"
#include "numeric/decimal_separator.h"
#include "spis/analysis_basis.h"
#include "tolerance/sampling.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSvgWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace vorlanex::spis {

class OpenCase;

// A calculation ready to be sampled with the sources it takes from (their tolerances drawn too).
// The worker uses only `chain.chain`, which holds what it points to, so the case may change while
// it runs.
struct ToleranceRun {
    const page::PageDefinition* page = nullptr;  // the calculation's
    casefile::ChainSampling chain;
    const std::vector<tolerance::Tolerance>& tolerances() const { return chain.samplings.back().tolerances; }
};

// The run of the tolerances of the calculation at `row` of `file` and of its sources, or a Czech
// message why there is none.
std::variant<ToleranceRun, QString> tolerance_run(const casefile::CaseFile& file, std::size_t row,
                                                  std::uint64_t samples);

// The lines telling the shares of a word result's texts: for the collision report of "Dráha na
// zastavení" the share of samples where the vehicle stops ("Vozidlo by zastavilo před místem
// střetu v 87,4 % vzorků."), then every word result with its texts' shares.
QString word_shares(const page::PageDefinition& page, const tolerance::SamplingSummary& summary,
                    const numeric::DecimalSeparator& separator);

// One row per result: the field as the reports name it ("R15 – Dráha … [m]"), the count, min, the
// percentiles, max and the mean.
std::vector<QStringList> percentile_rows(const page::PageDefinition& page, const tolerance::SamplingSummary& summary);

class ToleranceTab final : public QWidget {
    Q_OBJECT
public:
    static constexpr std::uint64_t kSeed = 1;  // as vorlanex-calc's own default
    static constexpr int kDefaultSamples = 10'000;

    // A result's column is headed by its name in lines of about this many characters.
    static constexpr qsizetype kHeaderLineCharacters = 18;

    // Follows the case's selected calculation; a run keeps its settings in the case.
    explicit ToleranceTab(OpenCase& open_case, QWidget* parent = nullptr);
    ~ToleranceTab() override;

    // The calculation at `row` whose tolerances the tab runs; none clears it. The same calculation
    // edited keeps the run in progress and the results (out of date when its inputs changed);
    // another one cancels the run and shows its own kept settings.
    void show_calculation(const casefile::Calculation* entry, const numeric::DecimalSeparator& separator, int row);
    void start();
    // Stops the run in progress and waits for its thread, which ends within milliseconds.
    void cancel();
    bool running() const { return static_cast<bool>(job_); }
    // The state of the run in progress, shared with its thread; expired once no thread holds it.
    std::weak_ptr<const void> run_state() const { return job_; }

    // True while the results shown were made from other inputs or settings than the calculation has.
    bool out_of_date() const { return out_of_date_; }

    QSpinBox* samples_box() const { return samples_; }
    QLineEdit* seed_edit() const { return seed_; }
    QPushButton* remove_button() const { return remove_; }
    QLabel* out_of_date_label() const { return notice_; }
    QPushButton* start_button() const { return start_; }
    QPushButton* cancel_button() const { return cancel_; }
    // One column per result, headed by its name; one row per figure (count, min, percentiles, max,
    // mean).
    QTableWidget* table() const { return table_; }
    // The results shown, as percentile_rows gives them: a name and its figures each.
    std::vector<QStringList> shown_results() const;
    QLabel* status_label() const { return status_; }
    // The shares of word results' texts, then the warnings and faults counted.
    QLabel* counts_label() const { return counts_; }
    QComboBox* histogram_choice() const { return histogram_choice_; }
    // The SVG of the histogram shown; empty when none is.
    const QByteArray& histogram() const { return histogram_svg_; }

signals:
    // A run ended and its table is shown.
    void finished();

private:
    struct Job;
    // The run's thread stopped and joined; nothing of its run is shown after.
    void end_worker();
    void show_progress(std::uint64_t done, std::uint64_t total);
    void show_summary(const tolerance::SamplingSummary& summary);
    void set_running(bool running);
    void show_histogram(int result);
    void clear_results();
    void show_results(const std::vector<QStringList>& results);
    void show_settings(const std::optional<casefile::ToleranceAnalysis>& kept);
    // The results marked out of date when they were made from other inputs or settings.
    void judge_results();

    OpenCase& case_;
    std::optional<casefile::Calculation> entry_;
    int row_ = -1;
    // What the results shown were made from.
    using Made = AnalysisBasis<casefile::ToleranceAnalysis>;
    std::optional<Made> made_;
    bool out_of_date_ = false;
    bool runnable_ = false;  // whether "Spustit" can run the calculation shown
    numeric::DecimalSeparator separator_{","};
    std::shared_ptr<Job> job_;
    std::thread worker_;
    QLabel* status_;
    QSpinBox* samples_;
    QLineEdit* seed_;
    QPushButton* start_;
    QPushButton* cancel_;
    QPushButton* remove_;
    QProgressBar* progress_;
    QLabel* notice_;
    QTableWidget* table_;
    QLabel* counts_;
    QComboBox* histogram_choice_;
    QSvgWidget* histogram_view_;
    QByteArray histogram_svg_;
    tolerance::SamplingSummary summary_;
};

}  // namespace vorlanex::spis
