#include "spis/tolerance_tab.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <limits>
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

// The seed typed: a whole number from 0 to 2^64 − 1, blanks around it passed over.
std::optional<std::uint64_t> seed_of(const QString& text) {
    const std::string digits = qtshared::utf8(text.trimmed());
    std::uint64_t seed = 0;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return seed;
}

// The table's rows, one for each figure of a result: its count, min, a row "P2,5" for each
// percentile, max and the mean. Each result is a column, so that all its figures are in view
// together however many results the page has and however long their texts.
const QStringList kFigures = [] {
    QStringList figures{QStringLiteral("Počet"), QStringLiteral("Min")};
    for (const tolerance::PercentileLevel& level : tolerance::kPercentiles)
        figures << QStringLiteral("P") + qtshared::qt_text(level.czech_percent);
    return figures << QStringLiteral("Max") << QStringLiteral("Průměr");
}();

// A result's name broken into lines of about `width` characters at its spaces, for a column's header.
QString in_lines(const QString& name, qsizetype width) {
    QString lines;
    qsizetype line_length = 0;
    for (const QString& word : name.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (line_length > 0 && line_length + 1 + word.size() > width) {
            lines += QLatin1Char('\n');
            line_length = 0;
        } else if (line_length > 0) {
            lines += QLatin1Char(' ');
            ++line_length;
        }
        lines += word;
        line_length += word.size();
    }
    return lines;
}

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
    Made made;  // what the results will be made from
    numeric::DecimalSeparator separator;
    tolerance::SamplingSettings settings;
    std::atomic<bool> stop{false};
};

std::variant<ToleranceRun, QString> tolerance_run(const casefile::CaseFile& file, std::size_t row,
                                                  std::uint64_t samples) {
    const casefile::Calculation& entry = file.calculations.at(row);
    const QString none = QStringLiteral("Tento výpočet nemá v případu zadané tolerance vstupů („tolerances“).");
    if (!entry.tolerances && entry.links.empty()) return none;
    auto chain = casefile::chain_sampling_of(file, row, samples);
    if (const auto* error = std::get_if<tolerance::InputError>(&chain)) return qtshared::qt_text(error->message);
    auto& ready = std::get<casefile::ChainSampling>(chain);
    if (!ready.sampled()) return none;
    return ToleranceRun{entry.scenario.page, std::move(ready)};
}

namespace {

// A word result whose share of one text is said in a sentence: the page, the field, the text and
// the sentence with %1 for the share.
struct ShareSentence {
    std::string_view page;
    std::string_view field;
    std::string_view text;
    const char16_t* sentence;
};

constexpr ShareSentence kShareSentences[] = {
    {"draha-zastaveni", "C1", "Nedojde ke střetu ! ", u"Vozidlo by zastavilo před místem střetu v %1 vzorků."},
};

// A word result that stayed blank (spaces only) in every sample has nothing to tell.
bool blank_in_every_sample(const std::vector<tolerance::TextCount>& texts) {
    return std::all_of(texts.begin(), texts.end(),
                       [](const tolerance::TextCount& text) { return tolerance::shows_nothing(text.text); });
}

}  // namespace

QString word_shares(const page::PageDefinition& page, const tolerance::SamplingSummary& summary,
                    const numeric::DecimalSeparator& separator) {
    QString lines;
    for (const ShareSentence& share : kShareSentences) {
        if (share.page != page.key) continue;
        for (const tolerance::FieldSummary& field : summary.results) {
            if (field.field != share.field || !field.words) continue;
            std::uint64_t part = 0;
            for (const tolerance::TextCount& text : field.texts) {
                if (text.text == share.text) part = text.samples;
            }
            const std::string percent =
                tolerance::share_percent(part, tolerance::total_samples(field.texts), separator);
            lines += QString::fromUtf16(share.sentence).arg(qtshared::qt_text(percent)) + QLatin1Char('\n');
        }
    }
    for (const tolerance::FieldSummary& field : summary.results) {
        if (!field.words || blank_in_every_sample(field.texts)) continue;
        const page::Field* defined = page.find_field(field.field);
        lines += (defined ? qtshared::qt_text(report::field_title(*defined)) : qtshared::qt_text(field.field)) +
                 QStringLiteral(": ") + qtshared::qt_text(tolerance::texts_with_shares(field.texts, separator)) +
                 QLatin1Char('\n');
    }
    return lines;
}

std::vector<QStringList> percentile_rows(const page::PageDefinition& page, const tolerance::SamplingSummary& summary) {
    std::vector<QStringList> rows;
    for (const tolerance::FieldSummary& field : summary.results) {
        const page::Field* defined = page.find_field(field.field);
        QStringList row{defined ? qtshared::qt_text(report::field_title(*defined)) : qtshared::qt_text(field.field),
                        QString::number(field.count), qtshared::qt_text(field.min)};
        for (const std::string& percentile : field.percentiles) row << qtshared::qt_text(percentile);
        row << qtshared::qt_text(field.max) << qtshared::qt_text(field.mean);
        rows.push_back(row);
    }
    return rows;
}

ToleranceTab::ToleranceTab(OpenCase& open_case, QWidget* parent)
    : QWidget(parent),
      case_(open_case),
      status_(new QLabel(this)),
      samples_(new QSpinBox(this)),
      seed_(new QLineEdit(QString::number(kSeed), this)),
      start_(new QPushButton(QStringLiteral("Sp&ustit"), this)),
      cancel_(new QPushButton(QStringLiteral("&Zrušit"), this)),
      remove_(new QPushButton(QStringLiteral("Odebrat ze spisu"), this)),
      progress_(new QProgressBar(this)),
      notice_(new QLabel(this)),
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
    seed_->setAccessibleName(QStringLiteral("Semínko náhodných čísel"));
    seed_->setMaximumWidth(seed_->fontMetrics().horizontalAdvance(QStringLiteral("18446744073709551615")) + 16);
    remove_->setAccessibleName(QStringLiteral("Odebrat nastavení rozboru tolerancí ze spisu"));
    remove_->setToolTip(QStringLiteral("Rozbor se přestane uchovávat ve spisu a tisknout v protokolu."));
    notice_->setText(out_of_date_text());
    notice_->setWordWrap(true);
    notice_->setStyleSheet(QStringLiteral("color: #b00020;"));
    notice_->hide();
    start_->setAccessibleName(QStringLiteral("Spustit rozbor tolerancí"));
    cancel_->setAccessibleName(QStringLiteral("Zrušit rozbor tolerancí"));
    progress_->setAccessibleName(QStringLiteral("Průběh rozboru"));
    table_->setAccessibleName(QStringLiteral("Percentily výsledků"));
    table_->setRowCount(static_cast<int>(kFigures.size()));
    table_->setVerticalHeaderLabels(kFigures);
    // Rows as high as a line of text: every figure of a result in view at the window's first size.
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(true);
    histogram_choice_->setAccessibleName(QStringLiteral("Výsledek v histogramu"));
    histogram_view_->setAccessibleName(QStringLiteral("Histogram výsledku"));
    histogram_view_->setMinimumHeight(160);

    auto* settings = new QHBoxLayout;
    settings->addWidget(new QLabel(QStringLiteral("Vzorků:"), this));
    settings->addWidget(samples_);
    auto* seed_caption = new QLabel(QStringLiteral("Semín&ko:"), this);
    seed_caption->setBuddy(seed_);
    settings->addWidget(seed_caption);
    settings->addWidget(seed_);
    settings->addStretch();
    // The buttons on a line of their own and the progress below them, so that the tab stays narrow
    // enough for the side panel of a small screen.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    buttons->addWidget(remove_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addLayout(settings);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->addWidget(notice_);
    layout->addWidget(table_, 1);
    layout->addWidget(counts_);
    layout->addWidget(histogram_choice_);
    layout->addWidget(histogram_view_, 1);

    connect(start_, &QPushButton::clicked, this, &ToleranceTab::start);
    connect(cancel_, &QPushButton::clicked, this, &ToleranceTab::cancel);
    connect(remove_, &QPushButton::clicked, this,
            [this] { case_.set_analysis(std::optional<casefile::ToleranceAnalysis>()); });
    connect(histogram_choice_, &QComboBox::currentIndexChanged, this, &ToleranceTab::show_histogram);
    show_calculation(nullptr, separator_, -1);
    open_case.observe_selected(this, [this, &open_case] {
        show_calculation(open_case.selected(), open_case.separator(), open_case.selected_row());
    });
}

ToleranceTab::~ToleranceTab() { end_worker(); }

void ToleranceTab::show_calculation(const casefile::Calculation* entry, const numeric::DecimalSeparator& separator,
                                    int row) {
    const bool same = entry && entry_ && row == row_ && entry->scenario.page == entry_->scenario.page;
    const std::optional<casefile::ToleranceAnalysis> kept_before =
        entry_ ? entry_->analyses.tolerance : std::optional<casefile::ToleranceAnalysis>();
    if (!same && job_) {
        end_worker();
        progress_->reset();
    }
    entry_ = entry ? std::optional<casefile::Calculation>(*entry) : std::nullopt;
    row_ = entry ? row : -1;
    separator_ = separator;
    if (!same) clear_results();
    if (!same || (entry && entry->analyses.tolerance != kept_before)) {
        show_settings(entry ? entry->analyses.tolerance : std::nullopt);
    }
    // A calculation with tolerances can be started (a bad one then says why), and so can one
    // without tolerances of its own that takes inputs from calculations with some.
    runnable_ = false;
    if (!entry) {
        status_->setText(QStringLiteral("Není vybrán žádný výpočet."));
    } else {
        const auto run = tolerance_run(case_.file(), static_cast<std::size_t>(row), 1);
        runnable_ = entry->tolerances || std::holds_alternative<ToleranceRun>(run);
        if (const auto* problem = std::get_if<QString>(&run)) {
            status_->setText(*problem);
        } else if (!made_ && !job_) {
            const ToleranceRun& ready = std::get<ToleranceRun>(run);
            QString text =
                QStringLiteral("Tolerance %1 vstupů; rozbor metodou Monte Carlo.").arg(ready.tolerances().size());
            if (!ready.chain.through.empty()) {
                QStringList sources;
                for (const std::string& id : ready.chain.through) sources << qtshared::qt_text(id);
                text += QStringLiteral(" Převzaté vstupy se vzorkují spolu se zdroji: %1.")
                            .arg(sources.join(QStringLiteral(", ")));
            }
            status_->setText(text);
        }
    }
    judge_results();
    set_running(job_ != nullptr);
}

void ToleranceTab::clear_results() {
    table_->setColumnCount(0);
    counts_->clear();
    progress_->reset();
    summary_ = {};
    made_.reset();
    histogram_choice_->clear();
}

void ToleranceTab::show_settings(const std::optional<casefile::ToleranceAnalysis>& kept) {
    const casefile::ToleranceAnalysis shown = kept.value_or(casefile::ToleranceAnalysis{kDefaultSamples, kSeed});
    samples_->setValue(static_cast<int>(shown.samples));
    seed_->setText(QString::number(shown.seed));
}

void ToleranceTab::judge_results() {
    const bool stale = made_ && entry_ && made_->out_of_date(*entry_, entry_->analyses.tolerance);
    if (stale == out_of_date_) return;
    out_of_date_ = stale;
    mark_out_of_date(*table_, *notice_, stale);
}

void ToleranceTab::start() {
    if (!entry_ || job_) return;
    const auto samples = static_cast<std::uint64_t>(samples_->value());
    const std::optional<std::uint64_t> seed = seed_of(seed_->text());
    if (!seed) {
        status_->setText(QStringLiteral("Semínko musí být celé číslo od 0 do %1; zadáno „%2“.")
                             .arg(QString::number(std::numeric_limits<std::uint64_t>::max()), seed_->text()));
        return;
    }
    auto prepared = tolerance_run(case_.file(), static_cast<std::size_t>(row_), samples);
    if (const auto* problem = std::get_if<QString>(&prepared)) {
        status_->setText(*problem);
        return;
    }
    auto job = std::make_shared<Job>();
    job->run = std::move(std::get<ToleranceRun>(prepared));
    job->made = Made{*entry_, casefile::ToleranceAnalysis{samples, *seed}};
    job->separator = separator_;
    job->settings.samples = samples;
    job->settings.seed = *seed;
    job->settings.jobs = std::max(1u, std::thread::hardware_concurrency());
    job->settings.stop = &job->stop;
    job_ = job;
    clear_results();
    judge_results();
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    set_running(true);
    status_->setText(QStringLiteral("Probíhá rozbor %1 vzorků, semínko %2.").arg(samples).arg(*seed));
    // The settings run are kept in the case, an undoable step (none when they were kept already).
    case_.set_analysis(std::optional<casefile::ToleranceAnalysis>(job->made.settings));

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
        const tolerance::SamplingSummary summary = tolerance::run_chain_samples(
            job->run.chain.chain, job->separator, job->settings, [&](std::uint64_t done, std::uint64_t total) {
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
    const Made made = job_->made;
    job_.reset();
    if (worker_.joinable()) worker_.join();  // it has posted this, its last word
    progress_->setValue(progress_->maximum());
    made_ = made;
    show_results(percentile_rows(*entry_->scenario.page, summary));
    status_->setText(QStringLiteral("%1 vzorků, semínko %2.").arg(summary.samples).arg(summary.seed));
    counts_->setText((word_shares(*entry_->scenario.page, summary, separator_) +
                      counted(summary.warnings, QStringLiteral("Varování")) +
                      counted(summary.faults, QStringLiteral("Chyba")))
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
    judge_results();
    emit finished();
}

void ToleranceTab::show_results(const std::vector<QStringList>& results) {
    QStringList names;
    std::vector<QStringList> figures(static_cast<std::size_t>(kFigures.size()));
    for (const QStringList& result : results) {
        names << in_lines(result.front(), kHeaderLineCharacters);
        for (qsizetype f = 0; f < kFigures.size(); ++f) figures[static_cast<std::size_t>(f)] << result.value(f + 1);
    }
    table_->setColumnCount(static_cast<int>(names.size()));
    table_->setHorizontalHeaderLabels(names);
    fill_table(*table_, figures);
}

std::vector<QStringList> ToleranceTab::shown_results() const {
    std::vector<QStringList> results;
    for (int c = 0; c < table_->columnCount(); ++c) {
        QStringList result{table_->horizontalHeaderItem(c)->text().replace(QLatin1Char('\n'), QLatin1Char(' '))};
        for (int f = 0; f < table_->rowCount(); ++f)
            result << (table_->item(f, c) ? table_->item(f, c)->text() : QString());
        results.push_back(result);
    }
    return results;
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
    start_->setEnabled(!running && runnable_);
    cancel_->setEnabled(running);
    samples_->setEnabled(!running);
    seed_->setEnabled(!running);
    remove_->setEnabled(entry_ && entry_->analyses.tolerance);
}

}  // namespace vorlanex::spis
