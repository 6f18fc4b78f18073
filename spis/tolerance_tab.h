#pragma once
// The "Tolerance" tab: the selected calculation's tolerances sampled in the background (the window
// stays responsive, with progress and a cancel button), then the table of every result's
// percentiles with the texts the fields showed, as `vorlanex-calc --tolerance` prints them, and the
// histogram of a chosen result as the tolerance report draws it.
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

#include "casefile/case_file.h"
#include "numeric/decimal_separator.h"
#include "tolerance/sampling.h"

class QComboBox;
class QLabel;
class QSvgWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace vorlanex::spis {

class OpenCase;

// A calculation ready to be sampled: its texts without the fields it has tolerances for.
struct ToleranceRun {
    const page::PageDefinition* page = nullptr;
    std::vector<std::pair<std::string, std::string>> typed;
    std::vector<tolerance::Tolerance> tolerances;
};

// The run of `entry`'s tolerances, or a Czech message why there is none.
std::variant<ToleranceRun, QString> tolerance_run(const casefile::Calculation& entry,
                                                  const numeric::DecimalSeparator& separator, std::uint64_t samples);

// One row per result: the field, the count, min, the percentiles, max and the mean.
std::vector<QStringList> percentile_rows(const tolerance::SamplingSummary& summary);

class ToleranceTab final : public QWidget {
    Q_OBJECT
public:
    static constexpr std::uint64_t kSeed = 1;  // as vorlanex-calc's own default
    static constexpr int kDefaultSamples = 10'000;

    // Follows the case's selected calculation.
    explicit ToleranceTab(const OpenCase& open_case, QWidget* parent = nullptr);
    ~ToleranceTab() override;

    // The calculation whose tolerances the tab runs; none clears it. A run in progress is cancelled.
    void show_calculation(const casefile::Calculation* entry, const numeric::DecimalSeparator& separator);
    void start();
    // Stops the run in progress and waits for its thread, which ends within milliseconds.
    void cancel();
    bool running() const { return static_cast<bool>(job_); }
    // The state of the run in progress, shared with its thread; expired once no thread holds it.
    std::weak_ptr<const void> run_state() const { return job_; }

    QSpinBox* samples_box() const { return samples_; }
    QPushButton* start_button() const { return start_; }
    QPushButton* cancel_button() const { return cancel_; }
    QTableWidget* table() const { return table_; }
    QLabel* status_label() const { return status_; }
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

    std::optional<casefile::Calculation> entry_;
    numeric::DecimalSeparator separator_{","};
    std::shared_ptr<Job> job_;
    std::thread worker_;
    QLabel* status_;
    QSpinBox* samples_;
    QLabel* seed_;
    QPushButton* start_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QTableWidget* table_;
    QLabel* counts_;
    QComboBox* histogram_choice_;
    QSvgWidget* histogram_view_;
    QByteArray histogram_svg_;
    tolerance::SamplingSummary summary_;
};

}  // namespace vorlanex::spis
