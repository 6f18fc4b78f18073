#include "spis/tolerance_tab.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <thread>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "casefile/calculation_sampling.h"
#include "qtshared/qt_text.h"
#include "report/tolerance_report.h"
#include "spis/open_case.h"
#include "spis/table_text.h"

namespace vorlanex::spis {

namespace {

// The result, its count, min, a column "P2,5" for each percentile, max and the mean.
const QStringList kColumns = [] {
    QStringList columns{QStringLiteral("Výsledek"), QStringLiteral("Počet"), QStringLiteral("Min")};
    for (const tolerance::PercentileLevel& level : tolerance::kPercentiles)
        columns << QStringLiteral("P") + qtshared::qt_text(level.czech_percent);
    return columns << QStringLiteral("Max") << QStringLiteral("Průměr");
}();

QString counted(const std::vector<tolerance::TextCount>& texts, const QString& heading) {
    QString lines;
    for (const tolerance::TextCount& text : texts) {
        lines += QStringLiteral("%1: %2 (%3 vzorků)\n").arg(heading, qtshared::qt_text(text.text)).arg(text.samples);
    }
    return lines;
}

// The calling thread, and the threads it starts (they take its nice value), yields to the window's
// thread: on a machine whose cores the samples fill, the window still gets a core as soon as it has
// work, instead of waiting out a sampling thread's time slice (up to 15 ms with two cores).
void run_below_the_window() {
#ifdef __linux__
    constexpr int kNice = 10;
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNice);
#endif
}

}  // namespace

// A run in the background: its settings and its stop flag, shared by the tab and the worker thread,
// which keeps it alive while it samples. Only the window's thread touches the tab: the worker posts
// what it has to the tab, and the tab drops what comes from a run it no longer shows. The tab joins
// the worker whenever a run ends, is cancelled, or the tab goes, so no thread outlives it.
struct ToleranceTab::Job {
    ToleranceRun run;
    numeric::DecimalSeparator separator;
    tolerance::SamplingSettings settings;
    std::atomic<bool> stop{false};
};

std::variant<ToleranceRun, QString> tolerance_run(const casefile::Calculation& entry,
                                                  const numeric::DecimalSeparator& separator, std::uint64_t samples) {
    if (!entry.tolerances) {
        return QStringLiteral("Tento výpočet nemá v případu zadané tolerance vstupů („tolerances“).");
    }
    auto sampling = casefile::sampling_of(entry, separator, samples);  // one with links is refused
    if (const auto* error = std::get_if<tolerance::InputError>(&sampling)) return qtshared::qt_text(error->message);
    auto& ready = std::get<casefile::CalculationSampling>(sampling);
    return ToleranceRun{entry.scenario.page, std::move(ready.typed), std::move(ready.tolerances)};
}

std::vector<QStringList> percentile_rows(const tolerance::SamplingSummary& summary) {
    std::vector<QStringList> rows;
    for (const tolerance::FieldSummary& field : summary.results) {
        QStringList row{qtshared::qt_text(field.field), QString::number(field.count), qtshared::qt_text(field.min)};
        for (const std::string& percentile : field.percentiles) row << qtshared::qt_text(percentile);
        row << qtshared::qt_text(field.max) << qtshared::qt_text(field.mean);
        rows.push_back(row);
    }
    return rows;
}

ToleranceTab::ToleranceTab(const OpenCase& open_case, QWidget* parent)
    : QWidget(parent),
      status_(new QLabel(this)),
      samples_(new QSpinBox(this)),
      seed_(new QLabel(QStringLiteral("Semínko: %1").arg(kSeed), this)),
      start_(new QPushButton(QStringLiteral("Sp&ustit"), this)),
      cancel_(new QPushButton(QStringLiteral("&Zrušit"), this)),
      progress_(new QProgressBar(this)),
      table_(new QTableWidget(this)),
      counts_(new QLabel(this)),
      histogram_choice_(new QComboBox(this)),
      histogram_view_(new QSvgWidget(this)) {
    status_->setWordWrap(true);
    counts_->setWordWrap(true);
    samples_->setRange(1, static_cast<int>(tolerance::kMostSamples));
    samples_->setValue(kDefaultSamples);
    samples_->setGroupSeparatorShown(true);
    samples_->setLocale(QLocale(QLocale::Czech, QLocale::CzechRepublic));  // "10 000", as a Czech expert writes it
    samples_->setAccessibleName(QStringLiteral("Počet vzorků"));
    start_->setAccessibleName(QStringLiteral("Spustit rozbor tolerancí"));
    cancel_->setAccessibleName(QStringLiteral("Zrušit rozbor tolerancí"));
    progress_->setAccessibleName(QStringLiteral("Průběh rozboru"));
    table_->setAccessibleName(QStringLiteral("Percentily výsledků"));
    table_->setColumnCount(static_cast<int>(kColumns.size()));
    table_->setHorizontalHeaderLabels(kColumns);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    histogram_choice_->setAccessibleName(QStringLiteral("Výsledek v histogramu"));
    histogram_view_->setAccessibleName(QStringLiteral("Histogram výsledku"));
    histogram_view_->setMinimumHeight(160);

    auto* settings = new QHBoxLayout;
    settings->addWidget(new QLabel(QStringLiteral("Vzorků:"), this));
    settings->addWidget(samples_);
    settings->addWidget(seed_);
    settings->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addWidget(progress_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addLayout(settings);
    layout->addLayout(buttons);
    layout->addWidget(table_, 1);
    layout->addWidget(counts_);
    layout->addWidget(histogram_choice_);
    layout->addWidget(histogram_view_, 1);

    connect(start_, &QPushButton::clicked, this, &ToleranceTab::start);
    connect(cancel_, &QPushButton::clicked, this, &ToleranceTab::cancel);
    connect(histogram_choice_, &QComboBox::currentIndexChanged, this, &ToleranceTab::show_histogram);
    show_calculation(nullptr, separator_);
    open_case.observe_selected(this,
                               [this, &open_case] { show_calculation(open_case.selected(), open_case.separator()); });
}

ToleranceTab::~ToleranceTab() { end_worker(); }

void ToleranceTab::show_calculation(const casefile::Calculation* entry, const numeric::DecimalSeparator& separator) {
    cancel();
    entry_ = entry ? std::optional<casefile::Calculation>(*entry) : std::nullopt;
    separator_ = separator;
    table_->setRowCount(0);
    counts_->clear();
    progress_->reset();
    summary_ = {};
    histogram_choice_->clear();
    if (!entry) {
        status_->setText(QStringLiteral("Není vybrán žádný výpočet."));
    } else if (const auto run = tolerance_run(*entry, separator, 1); const auto* problem = std::get_if<QString>(&run)) {
        status_->setText(*problem);
    } else {
        status_->setText(QStringLiteral("Tolerance %1 vstupů; rozbor metodou Monte Carlo.")
                             .arg(std::get<ToleranceRun>(run).tolerances.size()));
    }
    set_running(false);
}

void ToleranceTab::start() {
    if (!entry_ || job_) return;
    const auto samples = static_cast<std::uint64_t>(samples_->value());
    auto prepared = tolerance_run(*entry_, separator_, samples);
    if (const auto* problem = std::get_if<QString>(&prepared)) {
        status_->setText(*problem);
        return;
    }
    auto job = std::make_shared<Job>();
    job->run = std::move(std::get<ToleranceRun>(prepared));
    job->separator = separator_;
    job->settings.samples = samples;
    job->settings.seed = kSeed;
    job->settings.jobs = std::max(1u, std::thread::hardware_concurrency());
    job->settings.stop = &job->stop;
    job_ = job;
    table_->setRowCount(0);
    counts_->clear();
    summary_ = {};
    histogram_choice_->clear();
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    set_running(true);

    // The worker holds the job; the tab lives until it has joined the worker (see end_worker).
    worker_ = std::thread([job, tab = this] {
        run_below_the_window();
        const auto post = [&](auto call) {
            QMetaObject::invokeMethod(
                tab,
                [job, tab, call] {
                    if (tab->job_ == job && !job->stop.load()) call(*tab);
                },
                Qt::QueuedConnection);
        };
        const tolerance::SamplingSummary summary =
            tolerance::run_samples(*job->run.page, job->run.typed, job->separator, job->run.tolerances, job->settings,
                                   [&](std::uint64_t done, std::uint64_t total) {
                                       post([done, total](ToleranceTab& shown) { shown.show_progress(done, total); });
                                   });
        post([summary](ToleranceTab& shown) { shown.show_summary(summary); });
    });
}

void ToleranceTab::cancel() {
    if (!job_) return;
    end_worker();
    progress_->reset();
    status_->setText(QStringLiteral("Rozbor byl zrušen."));
    set_running(false);
}

void ToleranceTab::end_worker() {
    // The sampling looks at the flag before each block of samples, so the worker ends within
    // milliseconds; what it posted meanwhile is dropped, as the tab no longer shows its job.
    if (job_) job_->stop = true;
    job_.reset();
    if (worker_.joinable()) worker_.join();
}

void ToleranceTab::show_progress(std::uint64_t done, std::uint64_t total) {
    progress_->setValue(total == 0 ? 0 : static_cast<int>(done * 1000 / total));
}

void ToleranceTab::show_summary(const tolerance::SamplingSummary& summary) {
    job_.reset();
    if (worker_.joinable()) worker_.join();  // it has posted this, its last word
    progress_->setValue(progress_->maximum());
    fill_table(*table_, percentile_rows(summary));
    status_->setText(QStringLiteral("%1 vzorků, semínko %2.").arg(summary.samples).arg(summary.seed));
    counts_->setText(
        (counted(summary.warnings, QStringLiteral("Varování")) + counted(summary.faults, QStringLiteral("Chyba")))
            .trimmed());
    summary_ = summary;
    {
        const QSignalBlocker quiet(histogram_choice_);
        histogram_choice_->clear();
        for (std::size_t r = 0; r < summary.results.size(); ++r) {
            if (summary.results[r].count == 0) continue;
            const page::Field* field = entry_->scenario.page->find_field(summary.results[r].field);
            histogram_choice_->addItem(QStringLiteral("Histogram: %1 %2")
                                           .arg(qtshared::qt_text(summary.results[r].field),
                                                field ? qtshared::qt_text(field->accessible_name) : QString()),
                                       static_cast<int>(r));
        }
    }
    show_histogram(histogram_choice_->currentIndex());
    set_running(false);
    emit finished();
}

void ToleranceTab::show_histogram(int choice) {
    histogram_svg_.clear();
    if (choice >= 0 && entry_) {
        const auto& result = summary_.results.at(static_cast<std::size_t>(histogram_choice_->itemData(choice).toInt()));
        if (const page::Field* field = entry_->scenario.page->find_field(result.field)) {
            histogram_svg_ = QByteArray::fromStdString(report::histogram_svg(*field, result, separator_));
        }
    }
    histogram_view_->load(histogram_svg_);
    histogram_view_->setVisible(!histogram_svg_.isEmpty());
}

void ToleranceTab::set_running(bool running) {
    start_->setEnabled(!running && entry_ && entry_->tolerances);
    cancel_->setEnabled(running);
    samples_->setEnabled(!running);
}

}  // namespace vorlanex::spis
