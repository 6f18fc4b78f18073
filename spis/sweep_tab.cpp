#include "spis/sweep_tab.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "qtshared/qt_text.h"
#include "report/document.h"
#include "report/tolerance_report.h"
#include "spis/open_case.h"
#include "spis/table_text.h"

namespace vorlanex::spis {

namespace {

// "Počáteční rychlost (I1)": a field as the tab names it, its caption and its symbol.
QString field_name(const page::Field& field) {
    return QStringLiteral("%1 (%2)").arg(qtshared::qt_text(report::caption_of(field)), qtshared::qt_text(field.id));
}

QString column_name(const page::Field& field) {
    return field.unit.empty() || field.unit == "1"
               ? qtshared::qt_text(field.id)
               : QStringLiteral("%1 [%2]").arg(qtshared::qt_text(field.id), qtshared::qt_text(field.unit));
}

QString one_line(const std::string& text) {
    return qtshared::qt_text(text).replace(QLatin1Char('\r'), QLatin1Char(' '));
}

QString czech_problem(const tolerance::SweepError& error, const SweepSettings& settings,
                      const numeric::DecimalSeparator& separator) {
    using Kind = tolerance::SweepError::Kind;
    const QString rules = QStringLiteral(" (číslo podle pravidel čísel, desetinný oddělovač případu „%1“).")
                              .arg(qtshared::qt_text(separator.text()));
    switch (error.kind) {
        case Kind::Form:
        case Kind::NoSuchField:
        case Kind::ResultField: return QStringLiteral("Vyberte vstupní pole, jehož hodnota se má měnit.");
        case Kind::Steps:
            return QStringLiteral("Počet kroků musí být celé číslo od 1 do %1; zadáno „%2“.")
                .arg(QLocale(QLocale::Czech).toString(kMostWindowSweepSteps), settings.steps);
        case Kind::From: return QStringLiteral("Hodnota „Od“ není číslo: „%1“").arg(settings.from) + rules;
        case Kind::To: return QStringLiteral("Hodnota „Do“ není číslo: „%1“").arg(settings.to) + rules;
    }
    return qtshared::qt_text(error.message);
}

}  // namespace

std::variant<tolerance::SweepRange, QString> checked_sweep(const page::PageDefinition& page,
                                                           const SweepSettings& settings,
                                                           const numeric::DecimalSeparator& separator) {
    auto checked = tolerance::check_sweep(page, qtshared::utf8(settings.field), qtshared::utf8(settings.from.trimmed()),
                                          qtshared::utf8(settings.to.trimmed()),
                                          qtshared::utf8(settings.steps.trimmed()), separator, kMostWindowSweepSteps);
    if (const auto* error = std::get_if<tolerance::SweepError>(&checked))
        return czech_problem(*error, settings, separator);
    return std::get<tolerance::SweepRange>(checked);
}

QStringList sweep_columns(const page::PageDefinition& page, const tolerance::SweepRange& range) {
    QStringList columns;
    if (const page::Field* swept = page.find_field(range.field)) columns << column_name(*swept);
    for (const page::Field& field : page.layout.fields) {
        if (field.role == page::FieldRole::Result) columns << column_name(field);
    }
    return columns << QStringLiteral("Varování a chyba");
}

std::vector<QStringList> sweep_table_rows(const page::PageDefinition& page,
                                          const std::vector<tolerance::SweepRow>& rows) {
    std::vector<QStringList> table;
    for (const tolerance::SweepRow& row : rows) {
        QStringList cells{qtshared::qt_text(row.input)};
        for (const page::Field& field : page.layout.fields) {
            if (field.role != page::FieldRole::Result) continue;
            QString text;
            for (const auto& [id, written] : row.results) {
                if (id == field.id) text = qtshared::qt_text(written);
            }
            cells << text;
        }
        QStringList remarks;
        for (const std::string& warning : row.warnings) remarks << QStringLiteral("⚠ ") + one_line(warning);
        if (row.fault) remarks << QStringLiteral("✗ ") + one_line(*row.fault);
        table.push_back(cells << remarks.join(QStringLiteral("; ")));
    }
    return table;
}

SweepTab::SweepTab(OpenCase& open_case, QWidget* parent)
    : QWidget(parent),
      case_(open_case),
      status_(new QLabel(this)),
      field_(new QComboBox(this)),
      from_(new QLineEdit(this)),
      to_(new QLineEdit(this)),
      steps_(new QLineEdit(QStringLiteral("10"), this)),
      run_(new QPushButton(QStringLiteral("Spočítat &průběh"), this)),
      remove_(new QPushButton(QStringLiteral("Odebrat ze spisu"), this)),
      message_(new QLabel(this)),
      notice_(new QLabel(this)),
      table_(new QTableWidget(this)),
      chart_choice_(new QComboBox(this)),
      chart_view_(new QSvgWidget(this)) {
    status_->setWordWrap(true);
    status_->setAccessibleName(QStringLiteral("Stav průběhu"));
    field_->setAccessibleName(QStringLiteral("Měněné vstupní pole"));
    from_->setAccessibleName(QStringLiteral("Od: první hodnota pole"));
    to_->setAccessibleName(QStringLiteral("Do: poslední hodnota pole"));
    steps_->setAccessibleName(QStringLiteral("Počet kroků"));
    run_->setAccessibleName(QStringLiteral("Spočítat průběh výsledků"));
    message_->setAccessibleName(QStringLiteral("Chyba zadání průběhu"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    message_->setStyleSheet(QStringLiteral("color: #b00020;"));
    message_->hide();
    remove_->setAccessibleName(QStringLiteral("Odebrat nastavení průběhu ze spisu"));
    remove_->setToolTip(QStringLiteral("Průběh se přestane uchovávat ve spisu a tisknout v protokolu."));
    notice_->setText(out_of_date_text());
    notice_->setWordWrap(true);
    notice_->setStyleSheet(QStringLiteral("color: #b00020;"));
    notice_->hide();
    table_->setAccessibleName(QStringLiteral("Průběh výsledků"));
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    chart_choice_->setAccessibleName(QStringLiteral("Výsledek v grafu"));
    chart_view_->setAccessibleName(QStringLiteral("Graf výsledku v závislosti na vstupu"));
    chart_view_->setMinimumHeight(160);
    chart_view_->hide();

    auto* settings = new QFormLayout;
    auto* field_caption = new QLabel(QStringLiteral("&Měněné pole:"), this);
    field_caption->setBuddy(field_);
    settings->addRow(field_caption, field_);
    auto* bounds = new QHBoxLayout;
    auto* from_caption = new QLabel(QStringLiteral("&Od:"), this);
    from_caption->setBuddy(from_);
    auto* to_caption = new QLabel(QStringLiteral("Do:"), this);
    to_caption->setBuddy(to_);
    auto* steps_caption = new QLabel(QStringLiteral("&Kroků:"), this);
    steps_caption->setBuddy(steps_);
    bounds->addWidget(from_caption);
    bounds->addWidget(from_, 2);
    bounds->addWidget(to_caption);
    bounds->addWidget(to_, 2);
    bounds->addWidget(steps_caption);
    bounds->addWidget(steps_, 1);
    // The buttons on a line of their own, so that the tab stays narrow enough for the side panel of a
    // small screen.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(run_);
    buttons->addStretch();
    buttons->addWidget(remove_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addLayout(settings);
    layout->addLayout(bounds);
    layout->addLayout(buttons);
    layout->addWidget(message_);
    layout->addWidget(notice_);
    layout->addWidget(table_, 1);
    layout->addWidget(chart_choice_);
    layout->addWidget(chart_view_, 1);
    for (auto [first, second] : {std::pair<QWidget*, QWidget*>{field_, from_},
                                 {from_, to_},
                                 {to_, steps_},
                                 {steps_, run_},
                                 {run_, table_},
                                 {table_, chart_choice_}}) {
        setTabOrder(first, second);
    }

    connect(run_, &QPushButton::clicked, this, &SweepTab::run);
    connect(remove_, &QPushButton::clicked, this,
            [this] { case_.set_analysis(std::optional<casefile::SweepAnalysis>()); });
    for (QLineEdit* edit : {from_, to_, steps_}) connect(edit, &QLineEdit::returnPressed, this, &SweepTab::run);
    connect(field_, &QComboBox::activated, this, [this] { clear_outcome(); });
    connect(chart_choice_, &QComboBox::currentIndexChanged, this, &SweepTab::show_chart);
    show_calculation(nullptr, separator_, -1);
    open_case.observe_selected(this, [this, &open_case] {
        show_calculation(open_case.selected(), open_case.separator(), open_case.selected_row());
    });
}

void SweepTab::show_calculation(const casefile::Calculation* entry, const numeric::DecimalSeparator& separator,
                                int row) {
    const bool same_page = entry && entry_ && entry->scenario.page == entry_->scenario.page;
    const bool same = same_page && row == row_;
    const std::optional<casefile::SweepAnalysis> kept_before =
        entry_ ? entry_->analyses.sweep : std::optional<casefile::SweepAnalysis>();
    entry_ = entry ? std::optional<casefile::Calculation>(*entry) : std::nullopt;
    row_ = entry ? row : -1;
    separator_ = separator;
    if (!same_page) {
        const QString chosen = field_->currentData().toString();
        field_->clear();
        if (entry) {
            for (const page::Field& field : entry->scenario.page->layout.fields) {
                if (field.role == page::FieldRole::Input)
                    field_->addItem(field_name(field), qtshared::qt_text(field.id));
            }
            field_->setCurrentIndex(std::max(0, field_->findData(chosen)));
        }
    }
    status_->setText(entry ? QStringLiteral("Výpočet stránky pro rovnoměrně rozložené hodnoty jednoho vstupu, "
                                            "ostatní pole jako v zadání.")
                           : QStringLiteral("Není vybrán žádný výpočet."));
    for (QWidget* control : std::initializer_list<QWidget*>{field_, from_, to_, steps_, run_})
        control->setEnabled(entry != nullptr);
    const std::optional<casefile::SweepAnalysis> kept =
        entry ? entry->analyses.sweep : std::optional<casefile::SweepAnalysis>();
    remove_->setEnabled(kept.has_value());
    if (same) {
        // The calculation edited: its table stays as it is, out of date when its inputs changed.
        if (kept && kept != kept_before) show_settings(*kept);
        judge_outcome();
        return;
    }
    clear_outcome();
    if (!kept) return;
    show_settings(*kept);
    auto range = typed_range();
    if (const auto* problem = std::get_if<QString>(&range)) {
        show_problem(*problem);
        return;
    }
    sweep(std::get<tolerance::SweepRange>(range));
}

void SweepTab::show_settings(const casefile::SweepAnalysis& kept) {
    field_->setCurrentIndex(std::max(0, field_->findData(qtshared::qt_text(kept.field))));
    from_->setText(qtshared::qt_text(kept.from));
    to_->setText(qtshared::qt_text(kept.to));
    steps_->setText(QString::number(kept.steps));
}

std::variant<tolerance::SweepRange, QString> SweepTab::typed_range() const {
    const SweepSettings settings{field_->currentData().toString(), from_->text(), to_->text(), steps_->text()};
    return checked_sweep(*entry_->scenario.page, settings, separator_);
}

bool SweepTab::run() {
    if (!entry_) return false;
    if (!entry_->links.empty()) {  // its linked inputs would hold texts of its own, not their sources'
        show_problem(QStringLiteral("Výpočet přebírá vstupy z jiných výpočtů; jejich průběh zatím nelze zobrazit."));
        return false;
    }
    auto checked = typed_range();
    if (const auto* problem = std::get_if<QString>(&checked)) {
        show_problem(*problem);
        return false;
    }
    sweep(std::get<tolerance::SweepRange>(checked));
    // The settings run are kept in the case, an undoable step (none when they were kept already).
    case_.set_analysis(std::optional<casefile::SweepAnalysis>(made_->settings));
    return true;
}

void SweepTab::sweep(const tolerance::SweepRange& range) {
    const QString chosen = chart_choice_->currentData().toString();
    message_->hide();
    range_ = range;
    rows_ = tolerance::run_sweep(*entry_->scenario.page, entry_->scenario.fields, separator_, *range_);
    const QStringList columns = sweep_columns(*entry_->scenario.page, *range_);
    if (table_->columnCount() != columns.size()) table_->setColumnCount(static_cast<int>(columns.size()));
    for (int c = 0; c < columns.size(); ++c) {
        QTableWidgetItem* header = table_->horizontalHeaderItem(c);
        if (!header) {
            table_->setHorizontalHeaderItem(c, new QTableWidgetItem(columns[c]));
        } else if (header->text() != columns[c]) {
            header->setText(columns[c]);
        }
    }
    fill_table(*table_, sweep_table_rows(*entry_->scenario.page, rows_));
    {
        const QSignalBlocker quiet(chart_choice_);
        chart_choice_->clear();
        for (const page::Field& field : entry_->scenario.page->layout.fields) {
            if (field.role != page::FieldRole::Result) continue;
            if (report::sweep_chart(*entry_->scenario.page, field.id, *range_, rows_, separator_)) {
                chart_choice_->addItem(QStringLiteral("Graf: %1").arg(field_name(field)), qtshared::qt_text(field.id));
            }
        }
        chart_choice_->setCurrentIndex(std::max(0, chart_choice_->findData(chosen)));
    }
    show_chart(chart_choice_->currentIndex());
    made_ = Made{*entry_, casefile::SweepAnalysis{range_->field, qtshared::utf8(from_->text().trimmed()),
                                                  qtshared::utf8(to_->text().trimmed()), range_->steps}};
    judge_outcome();
}

void SweepTab::judge_outcome() {
    const bool stale = made_ && entry_ && made_->out_of_date(*entry_, entry_->analyses.sweep);
    if (stale == out_of_date_) return;
    out_of_date_ = stale;
    mark_out_of_date(*table_, *notice_, stale);
}

void SweepTab::clear_outcome() {
    range_.reset();
    rows_.clear();
    made_.reset();
    table_->setRowCount(0);
    table_->setColumnCount(0);
    message_->hide();
    {
        const QSignalBlocker quiet(chart_choice_);
        chart_choice_->clear();
    }
    show_chart(-1);
    judge_outcome();
}

void SweepTab::show_problem(const QString& problem) {
    clear_outcome();
    message_->setText(problem);
    message_->show();
}

void SweepTab::show_chart(int choice) {
    chart_svg_.clear();
    if (choice >= 0 && entry_ && range_) {
        const std::string field = qtshared::utf8(chart_choice_->itemData(choice).toString());
        if (auto chart = report::sweep_chart(*entry_->scenario.page, field, *range_, rows_, separator_)) {
            chart_svg_ = QByteArray::fromStdString(chart->svg);
        }
    }
    chart_view_->load(chart_svg_);
    chart_view_->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
    chart_view_->setVisible(!chart_svg_.isEmpty());
    chart_choice_->setVisible(chart_choice_->count() > 0);
}

}  // namespace vorlanex::spis
