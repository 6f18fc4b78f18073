#include "spis/calculation_view.h"

#include <QClipboard>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "qtshared/qt_text.h"
#include "report/document.h"
#include "spis/fault_text.h"
#include "spis/text_fit.h"
#include "tolerance/distribution_kinds.h"

namespace vorlanex::spis {

namespace {

// Shows `text` in a label that carries an accessible name of its own (the heading, a warning, a
// fault, a substitute, a tolerance's problem). Qt gives a screen reader the accessible name in place
// of a label's text, and Qt 6.4 gives a label no Text interface, so the text is also the label's
// accessible description, which AT-SPI serves (Accessible.Description) and a screen reader reads
// after the name; Qt announces each change of it.
void show_text(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleDescription(text);
}

QLabel* inline_message(QWidget* parent, const QString& accessible_name, const QString& style) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setAccessibleName(accessible_name);
    label->setStyleSheet(style);
    label->hide();
    return label;
}

QLineEdit* titled_line(QWidget* parent, const QString& accessible_name) {
    auto* line = new QLineEdit(parent);
    line->setAccessibleName(accessible_name);
    return line;
}

// The warning boxes' texts in order, each on its own line ("\r" separates a box's lines).
QString warnings_text(const casefile::RecordedRun& run) {
    QStringList lines;
    for (const std::string& warning : run.warnings()) {
        lines << QStringLiteral("⚠ ") + qtshared::qt_text(warning).replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    return lines.join(QLatin1Char('\n'));
}

// What a marked line looks like: an input a fault comes from, a tolerance refused.
const QString kMarkedLine = QStringLiteral("QLineEdit[marked=\"true\"] { border: 1px solid #b00020; }");

// Marks `line` (or clears its mark) as the style sheet above draws it.
void mark(QLineEdit* line, bool marked) {
    if (line->property("marked").toBool() == marked) return;
    line->setProperty("marked", marked);
    line->style()->unpolish(line);  // the style sheet reads the property anew
    line->style()->polish(line);
}

// The shortest a number's line is: room for a few digits to be typed before it grows.
const QString kShortestNumber = QStringLiteral("-0000,000");

// The line for a field's tolerance in short form, as wide as its text, with its forms explained.
QLineEdit* tolerance_line(QWidget* parent, const page::Field& field, const numeric::DecimalSeparator& separator) {
    auto* line = new QLineEdit(parent);
    line->setObjectName(QStringLiteral("tolerance:") + qtshared::qt_text(field.id));
    line->setAccessibleName(QStringLiteral("Tolerance: ") + qtshared::qt_text(field.accessible_name));
    const QString comma = qtshared::qt_text(separator.text());
    // The examples of the short forms are written with ",", the case's separator shown in its place.
    const auto example = [&](const tolerance::ShortPattern& pattern) {
        return qtshared::qt_text(pattern.window_example).replace(QLatin1Char(','), comma);
    };
    // Every short form on a line of its own: "od..do – rovnoměrné rozdělení, např. 18..22" (the
    // first names the noun the others share).
    QString tip = QStringLiteral("Tolerance vstupu (prázdné pole: žádná), desetinný oddělovač „%1“:").arg(comma);
    const tolerance::ShortPattern* first = nullptr;
    for (const tolerance::DistributionKind& kind : tolerance::distribution_kinds()) {
        for (const tolerance::ShortPattern& pattern : kind.patterns) {
            tip += QLatin1Char('\n') + qtshared::qt_text(tolerance::czech_pattern(pattern)) + QStringLiteral(" – ") +
                   qtshared::qt_text(pattern.czech) + (first ? QString() : QStringLiteral(" rozdělení")) +
                   QStringLiteral(", např. ") + example(pattern);
            if (!first) first = &pattern;
        }
    }
    line->setPlaceholderText(QStringLiteral("např. ") + example(*first));
    line->setToolTip(tip);
    line->setStyleSheet(kMarkedLine);
    fit_to_text(line, line->placeholderText());
    return line;
}

}  // namespace

CalculationView::CalculationView(QWidget* parent)
    : QWidget(parent),
      heading_(new QLabel(this)),
      title_(titled_line(this, QStringLiteral("Název výpočtu"))),
      note_(titled_line(this, QStringLiteral("Poznámka k výpočtu"))),
      inputs_(new QFormLayout),
      results_(new QFormLayout),
      warnings_(inline_message(this, QStringLiteral("Varování"), QStringLiteral("color: #8a5a00;"))),
      fault_(inline_message(this, QStringLiteral("Chyba výpočtu"), QStringLiteral("color: #b00020;"))),
      answer_(inline_message(this, QStringLiteral("Odpověď výpočtu"), QStringLiteral("font-weight: bold;"))) {
    heading_->setAccessibleName(QStringLiteral("Stránka výpočtu"));
    QFont bold = heading_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    heading_->setFont(bold);

    auto* description = new QFormLayout;
    description->addRow(QStringLiteral("Náz&ev:"), title_);
    description->addRow(QStringLiteral("Poznámk&a:"), note_);

    // A row too wide for the pane puts its caption above its line rather than narrowing the line.
    for (QFormLayout* form : {inputs_, results_}) form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    auto* inputs_box = new QGroupBox(QStringLiteral("Zadání"), this);
    inputs_box->setLayout(inputs_);
    auto* results_box = new QGroupBox(QStringLiteral("Výsledky (přesně jako v kalkulátoru)"), this);
    results_box->setLayout(results_);

    auto* column = new QVBoxLayout(this);
    column->addWidget(heading_);
    column->addLayout(description);
    column->addWidget(inputs_box);
    column->addWidget(warnings_);
    column->addWidget(fault_);
    column->addWidget(answer_);
    column->addWidget(results_box);
    column->addStretch();

    // textChanged, not textEdited: a text that an assistive technology writes (AT-SPI's EditableText
    // sets it as a program does) is an edit too. The view's own fills are silenced below.
    connect(title_, &QLineEdit::textChanged, this, &CalculationView::title_edited);
    connect(note_, &QLineEdit::textChanged, this, &CalculationView::note_edited);
    // A title or a note read from a file may be longer than a line edit's usual limit of 32767
    // characters: it is shown and edited whole, never cut to the limit by a keystroke.
    title_->setMaxLength(std::numeric_limits<int>::max());
    note_->setMaxLength(std::numeric_limits<int>::max());
    setEnabled(false);
}

void CalculationView::clear_fields() {
    while (inputs_->rowCount() > 0) inputs_->removeRow(0);
    while (results_->rowCount() > 0) results_->removeRow(0);
    inputs_by_id_.clear();
    linked_by_id_.clear();
    substitutes_by_id_.clear();
    tolerances_by_id_.clear();
    results_by_id_.clear();
    input_controls_.clear();
    result_controls_.clear();
}

QList<QWidget*> CalculationView::focus_order() const {
    return QList<QWidget*>{title_, note_} + input_controls_ + result_controls_;
}

void CalculationView::clear() {
    clear_fields();
    show_text(heading_, QString());
    const QSignalBlocker quiet_title(title_), quiet_note(note_);
    title_->clear();
    note_->clear();
    warnings_->hide();
    fault_->hide();
    answer_->hide();
    setEnabled(false);
}

void CalculationView::show_calculation(const casefile::Calculation& entry, const numeric::DecimalSeparator& separator,
                                       const casefile::RecordedRun& run, const LinkSources& sources) {
    // The rows are made while their boxes are hidden: a widget added to a box on the screen is shown
    // on its own a moment later, and each such show lays out the whole form again (about 180 times
    // for "Kinematika"). Shown with its box, the form is laid out once.
    QWidget* const boxes[] = {inputs_->parentWidget(), results_->parentWidget()};
    for (QWidget* box : boxes) box->hide();
    clear_fields();
    setEnabled(true);
    touched_ = !entry.scenario.fields.empty();
    show_text(heading_, qtshared::qt_text(report::page_name(*entry.scenario.page)));
    {
        const QSignalBlocker quiet_title(title_), quiet_note(note_);
        title_->setText(qtshared::qt_text(entry.title.value_or("")));
        note_->setText(qtshared::qt_text(entry.note.value_or("")));
    }
    title_->setCursorPosition(0);  // a long title or note shown from its beginning
    note_->setCursorPosition(0);
    for (const page::Field& field : entry.scenario.page->layout.fields) {
        const QString id = qtshared::qt_text(field.id);
        auto* text = new QLineEdit(this);
        text->setObjectName(id);
        text->setAccessibleName(qtshared::qt_text(field.accessible_name));
        auto* caption = new QLabel(qtshared::qt_text(report::caption_of(field)), this);
        caption->setBuddy(text);
        auto* row = new QHBoxLayout;
        row->addWidget(text, 1);
        auto* unit = new QLabel(qtshared::qt_text(field.unit), this);
        unit->setMinimumWidth(unit->fontMetrics().horizontalAdvance(QStringLiteral("km/h")));
        row->addWidget(unit);
        if (field.role == page::FieldRole::Input) {
            text->setText(qtshared::qt_text(entry.text(field.id, separator)));
            const auto source = sources.find(std::string(field.id));
            const bool linked = source != sources.end();
            text->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(text, &QLineEdit::customContextMenuRequested, this,
                    [this, text, id, linked](const QPoint& at) { show_input_menu(text, id, linked, at); });
            auto* substitute = new QLabel(this);
            substitute->setAccessibleName(QStringLiteral("Použitá hodnota: ") +
                                          qtshared::qt_text(field.accessible_name));
            row->addWidget(substitute);
            substitutes_by_id_[std::string(field.id)] = substitute;
            inputs_by_id_[std::string(field.id)] = text;
            text->setStyleSheet(kMarkedLine);
            fit_to_text(text, kShortestNumber);
            QToolButton* unlink = nullptr;
            if (linked) {
                // A linked input shows what it took (show_run) and is edited only by its source.
                text->setReadOnly(true);
                text->setStyleSheet(kMarkedLine + QStringLiteral(" QLineEdit { background: palette(window); }"));
                text->setToolTip(QStringLiteral("Převzato: %1").arg(source->second));
                linked_by_id_[std::string(field.id)] = text;
                auto* taken_from = new QLabel(source->second, this);
                taken_from->setObjectName(QStringLiteral("zdroj:") + id);
                row->addWidget(taken_from);
                unlink = new QToolButton(this);
                unlink->setText(QStringLiteral("×"));
                unlink->setObjectName(QStringLiteral("zrusit_prevzeti:") + id);
                unlink->setAccessibleName(QStringLiteral("Zrušit převzetí %1").arg(id));
                unlink->setToolTip(QStringLiteral("Zrušit převzetí: pole si ponechá převzatý text"));
                connect(unlink, &QToolButton::clicked, this, [this, id] { emit unlink_requested(id); });
                row->addWidget(unlink);
            } else {
                connect(text, &QLineEdit::textChanged, this, [this, id](const QString& typed) {
                    touched_ = true;
                    emit text_edited(id, typed);
                });
            }
            auto* tolerance = tolerance_line(this, field, separator);
            tolerance->setText(qtshared::qt_text(entry.tolerance_text(field.id)));
            tolerance->setCursorPosition(0);
            row->addWidget(tolerance);
            auto* problem =
                inline_message(this, QStringLiteral("Chyba tolerance: ") + qtshared::qt_text(field.accessible_name),
                               QStringLiteral("color: #b00020;"));
            tolerances_by_id_[std::string(field.id)] = {tolerance, problem};
            connect(tolerance, &QLineEdit::textChanged, this,
                    [this, id](const QString& typed) { emit tolerance_edited(id, typed); });
            connect(tolerance, &QLineEdit::editingFinished, this,
                    [this, id, tolerance] { emit tolerance_left(id, tolerance->text()); });
            auto* with_problem = new QVBoxLayout;
            with_problem->setSpacing(2);
            with_problem->addLayout(row);
            with_problem->addWidget(problem);
            inputs_->addRow(caption, with_problem);
            input_controls_ << text;
            if (unlink) input_controls_ << unlink;
            input_controls_ << tolerance;
        } else {
            text->setReadOnly(true);
            text->setStyleSheet(QStringLiteral("background: palette(window);"));
            fit_to_text(text, kShortestNumber);
            // [⧉] copies the result's text as shown, one result at a time: the desktop's copy icon,
            // else a glyph of two squares that the usual fonts have ("⧉" itself they lack).
            auto* copy = new QToolButton(this);
            copy->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
            if (copy->icon().isNull()) copy->setText(QStringLiteral("❐"));
            copy->setAccessibleName(QStringLiteral("Kopírovat %1").arg(id));
            copy->setToolTip(QStringLiteral("Zkopírovat hodnotu %1 do schránky").arg(id));
            connect(copy, &QToolButton::clicked, text, [text] { QGuiApplication::clipboard()->setText(text->text()); });
            row->addWidget(copy);
            results_by_id_[std::string(field.id)] = text;
            results_->addRow(caption, row);
            result_controls_ << text << copy;
        }
    }
    for (QWidget* box : boxes) box->show();
    show_run(run);
}

void CalculationView::show_input_menu(QLineEdit* line, const QString& field_id, bool linked, const QPoint& at) {
    QMenu* menu = line->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Převzít z výsledku…")), &QAction::triggered, this,
            [this, field_id] { emit take_requested(field_id); });
    if (linked) {
        connect(menu->addAction(QStringLiteral("Zrušit převzetí")), &QAction::triggered, this,
                [this, field_id] { emit unlink_requested(field_id); });
    }
    menu->popup(line->mapToGlobal(at));
}

void CalculationView::show_answer(const QString& verdict, const QString& times) {
    const QString text = times.isEmpty() ? verdict : verdict + QLatin1Char('\n') + times;
    show_text(answer_, text);
    answer_->setVisible(!text.isEmpty());
}

void CalculationView::show_tolerance_problem(const QString& field_id, const QString& problem) {
    const auto found = tolerances_by_id_.find(qtshared::utf8(field_id));
    if (found == tolerances_by_id_.end()) return;
    auto [line, message] = found->second;
    mark(line, !problem.isEmpty());
    show_text(message, problem);
    message->setVisible(!problem.isEmpty());
}

void CalculationView::show_run(const casefile::RecordedRun& run) {
    for (const auto& [id, line] : results_by_id_) line->setText(qtshared::qt_text(run.text_after(id)));
    for (const auto& [id, line] : linked_by_id_) line->setText(qtshared::qt_text(run.text_before(id)));
    for (const auto& [id, substitute] : substitutes_by_id_) {
        const std::string& used = run.text_after(id);
        const bool replaced = used != run.text_before(id);
        show_text(substitute, replaced ? QStringLiteral("→ použito %1").arg(qtshared::qt_text(used)) : QString());
        substitute->setVisible(replaced);
    }
    const QString warnings = warnings_text(run);
    show_text(warnings_, warnings);
    warnings_->setVisible(!warnings.isEmpty());
    // A calculation nothing has been typed in yet shows no fault: its empty fields are no mistake.
    const std::optional<ShownFault> fault = touched_ ? czech_fault(run) : std::nullopt;
    for (const auto& [id, line] : inputs_by_id_) mark(line, fault && fault->field_id == id);
    if (fault) {
        QStringList unwritten;
        for (const page::Field& field : run.page().layout.fields) {
            if (field.role == page::FieldRole::Result && !run.written(field.id)) {
                unwritten << qtshared::qt_text(field.accessible_name);
            }
        }
        QString text = QStringLiteral("✗ ") + fault->text;
        if (!unwritten.isEmpty()) text += QStringLiteral("\nNezapsaná pole: ") + unwritten.join(QStringLiteral(", "));
        show_text(fault_, text);
    }
    fault_->setVisible(fault.has_value());
}

}  // namespace vorlanex::spis
