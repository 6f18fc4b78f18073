#include "spis/open_case.h"

#include <algorithm>
#include <utility>

#include "casefile/case_links.h"
#include "casefile/case_writer.h"
#include "casefile/linked_run.h"
#include "qtshared/qt_text.h"
#include "spis/avoidability_chain.h"
#include "spis/case_edits.h"
#include "version/version.h"

namespace vorlanex::spis {

namespace {
// How long after a change the recovery copy is written: edits in a row make one write.
constexpr int kRecoveryDelayMs = 3000;

// The step's name as the undo stack gives it.
QString edit_text(CalculationPart part, std::string_view field_id) {
    switch (part) {
        case CalculationPart::Text: return QStringLiteral("Úprava pole %1").arg(qtshared::qt_text(field_id));
        case CalculationPart::Tolerance: return QStringLiteral("Úprava tolerance %1").arg(qtshared::qt_text(field_id));
        case CalculationPart::Title: return QStringLiteral("Úprava názvu výpočtu");
        case CalculationPart::Note: return QStringLiteral("Úprava poznámky výpočtu");
        case CalculationPart::Analyses:
            return field_id == "sweep" ? QStringLiteral("Nastavení průběhu výsledků")
                                       : QStringLiteral("Nastavení rozboru tolerancí");
    }
    return {};
}
}  // namespace

OpenCase::OpenCase(const numeric::DecimalSeparator& new_case_separator, QObject* parent)
    : QObject(parent), file_(casefile::new_case(new_case_separator)), new_case_separator_(new_case_separator) {
    recovery_timer_.setSingleShot(true);
    recovery_timer_.setInterval(kRecoveryDelayMs);
    connect(&recovery_timer_, &QTimer::timeout, this, [this] {
        if (const auto failed = write_recovery_copy()) emit problem(*failed);
    });
}

void OpenCase::replace(casefile::CaseFile file, const QString& path, std::optional<FileStamp> read) {
    undo_stack_.clear();  // the steps of the case before are no steps of this one
    file_ = std::move(file);
    run_all();
    path_ = path;
    on_disk_ = std::move(read);
    lock_ = path.isEmpty() ? CaseLock() : CaseLock(path);
    rows_changed(file_.calculations.empty() ? -1 : 0);  // the first calculation shown; an empty case none
    set_modified(false);
}

void OpenCase::saved_to(const QString& path, std::string_view bytes) {
    if (path != path_) lock_ = CaseLock(path);
    path_ = path;
    on_disk_ = stamp_of_written(path, bytes);
    casefile::number_lines(file_);
    // Each line written anew is the calculation's line as written now, so the next save keeps it.
    std::size_t start = bytes.find('\n') + 1;
    long line = 2;
    for (std::size_t i = 0; i < file_.calculations.size() && start > 0; ++i) {
        casefile::Calculation& calculation = file_.calculations[i];
        for (; line < calculation.line && start > 0; ++line) start = bytes.find('\n', start) + 1;
        if (!outcomes_[i] || start == 0) continue;
        const std::string_view written = bytes.substr(start, bytes.find('\n', start) - start);
        casefile::take_written_line(calculation, std::string(written), kVersion, *outcomes_[i]);
        outcomes_[i].reset();
    }
    set_modified(false);
}

void OpenCase::set_modified(bool modified) {
    if (modified) {
        undo_stack_.resetClean();  // no step leads back to a saved state
    } else {
        undo_stack_.setClean();
    }
    stepped();
}

bool OpenCase::changed_on_disk() const { return on_disk_ && changed_since(*on_disk_, path_); }

void OpenCase::undo() {
    undo_stack_.undo();
    stepped();
}

void OpenCase::redo() {
    undo_stack_.redo();
    stepped();
}

void OpenCase::push(QUndoCommand* step) {
    undo_stack_.push(step);
    stepped();
}

void OpenCase::stepped() {
    if (modified()) {
        recovery_timer_.start();
    } else {
        recovery_timer_.stop();
        recovery_.remove();
    }
    emit state_changed();
}

void OpenCase::run_selected() {
    if (selected_ < 0) {
        selected_run_.reset();
        return;
    }
    // A linked calculation runs after its sources, with the texts they show.
    selected_run_ = casefile::run_in_case(file_, static_cast<std::size_t>(selected_));
}

casefile::RecordedRun OpenCase::run(int row) {
    const auto at = static_cast<std::size_t>(row);
    const casefile::Calculation& calculation = file_.calculations[at];
    // A linked calculation runs after its sources, with the texts they show.
    casefile::RecordedRun ran =
        calculation.links.empty()
            ? casefile::RecordedRun(*calculation.scenario.page, calculation.scenario.fields, file_.separator)
            : casefile::run_in_case(file_, at);
    endings_[at] = ran.fault() ? Ending::Failed : ran.warnings().empty() ? Ending::Completed : Ending::Warned;
    // A line as written that records this very outcome by this program is saved as it is.
    const bool as_written = !calculation.written.empty() &&
                            calculation.written == casefile::calculation_line(calculation, kVersion, ran.outcome());
    outcomes_[at] = as_written ? std::nullopt : std::optional<std::string>(ran.outcome());
    return ran;
}

void OpenCase::run_dependents(int row) {
    // The calculations that take from the changed one, directly or through others, are run again
    // so that their rows, their kept outcomes and the form show the texts taken now.
    const std::optional<std::string>& id = file_.calculations[static_cast<std::size_t>(row)].id;
    if (!id) return;
    std::vector<std::string> changed{casefile::id_identity(*id)};
    std::vector<bool> done(file_.calculations.size(), false);
    done[static_cast<std::size_t>(row)] = true;
    const auto takes_from_changed = [&](const casefile::Calculation& calculation) {
        return std::any_of(calculation.links.begin(), calculation.links.end(), [&](const casefile::Link& link) {
            return std::find(changed.begin(), changed.end(), casefile::id_identity(link.from)) != changed.end();
        });
    };
    for (bool found = true; found;) {
        found = false;
        for (std::size_t i = 0; i < file_.calculations.size(); ++i) {
            const casefile::Calculation& calculation = file_.calculations[i];
            if (done[i] || calculation.links.empty() || !takes_from_changed(calculation)) continue;
            done[i] = found = true;
            if (calculation.id) changed.push_back(casefile::id_identity(*calculation.id));
            const int dependent = static_cast<int>(i);
            casefile::RecordedRun ran = run(dependent);
            emit row_changed(dependent);
            if (dependent == selected_) {
                selected_run_.emplace(std::move(ran));
                emit selected_ran();
            }
        }
    }
}

void OpenCase::run_all() {
    endings_.assign(file_.calculations.size(), Ending::Completed);
    outcomes_.assign(file_.calculations.size(), std::nullopt);
    for (int row = 0; row < count(); ++row) run(row);
}

std::string OpenCase::text() const { return casefile::case_file_text(file_, kVersion, outcomes_); }

std::string OpenCase::lines_written_anew() const {
    // The outcomes are a run's own writing (the batch's form); what is composed here is the rest.
    constexpr std::string_view kNoOutcome = R"("events":[],"fields":{})";
    // The case's line with the format its calculations need: a link added makes it format 2.
    std::string lines = casefile::case_line_text(file_) + '\n';
    for (std::size_t i = 0; i < outcomes_.size(); ++i) {
        if (!outcomes_[i]) continue;
        lines += casefile::calculation_line(file_.calculations[i], kVersion, kNoOutcome);
        lines += '\n';
    }
    return lines;
}

void OpenCase::select_ran(int row, casefile::RecordedRun ran) {
    selected_ = row;
    selected_run_.emplace(std::move(ran));
    emit selection_changed();
}

void OpenCase::select(int row) {
    const int chosen = row >= 0 && row < count() ? row : -1;
    if (chosen == selected_ && (chosen < 0 || selected_run_)) return;
    selected_ = chosen;
    run_selected();
    emit selection_changed();
}

void OpenCase::reselect(int row) {
    selected_ = -1;
    selected_run_.reset();
    select(row);
    if (selected_ < 0) emit selection_changed();
}

void OpenCase::rows_changed(int row) {
    selected_ = -1;
    selected_run_.reset();
    emit list_changed();
    reselect(row);
}

void OpenCase::add(const page::PageDefinition& page) {
    auto* step = new CalculationRowEdit(*this, CalculationRowEdit::Kind::Insert, count(),
                                        casefile::new_calculation(page), selected_);
    step->setText(QStringLiteral("Přidání výpočtu"));
    push(step);
}

void OpenCase::duplicate_selected() {
    if (selected_ < 0) return;
    auto* step = new CalculationRowEdit(*this, CalculationRowEdit::Kind::Insert, selected_ + 1,
                                        casefile::copy_of(calculation(selected_)), selected_);
    step->setText(QStringLiteral("Duplikování výpočtu"));
    push(step);
}

int OpenCase::remove_selected() {
    if (selected_ < 0) return 0;
    // The inputs that took from the removed calculation keep what they took last, typed.
    std::vector<casefile::Calculation> after = file_.calculations;
    int unlinked = 0;
    if (const std::optional<std::string>& id = calculation(selected_).id) {
        const std::string removed = casefile::id_identity(*id);
        const casefile::RecordedRun source_run = casefile::run_in_case(file_, static_cast<std::size_t>(selected_));
        for (casefile::Calculation& taker : after) {
            const std::vector<casefile::Link> links = taker.links;
            for (const casefile::Link& link : links) {
                if (casefile::id_identity(link.from) != removed) continue;
                const std::string taken = casefile::taken_text(source_run, link.field);
                taker.remove_link(link.input);
                if (!taken.empty()) taker.set_text(link.input, taken);
                ++unlinked;
            }
        }
    }
    if (unlinked == 0) {
        auto* step = new CalculationRowEdit(*this, CalculationRowEdit::Kind::Remove, selected_, calculation(selected_),
                                            selected_);
        step->setText(QStringLiteral("Odstranění výpočtu"));
        push(step);
        return 0;
    }
    after.erase(after.begin() + selected_);
    push_calculations(QStringLiteral("Odstranění výpočtu"), std::move(after),
                      std::min(selected_, static_cast<int>(file_.calculations.size()) - 2));
    return unlinked;
}

bool OpenCase::add_avoidability_chain(std::string_view speed_text) {
    if (selected_ < 0 || !is_avoidability_source(calculation(selected_))) return false;
    std::vector<casefile::Calculation> after = file_.calculations;
    casefile::Calculation& source = after[static_cast<std::size_t>(selected_)];
    if (!source.id) {
        source.id = new_id_token(file_, source);
        source.written.clear();  // its line is written anew with the id
    }
    after.insert(after.begin() + selected_ + 1, avoidability_calculation(*source.id, speed_text));
    push_calculations(QStringLiteral("Odvratitelnost při dovolené rychlosti"), std::move(after), selected_ + 1);
    return true;
}

std::optional<casefile::CaseError> OpenCase::link_selected(std::string_view input, int source_row,
                                                           std::string_view field) {
    if (selected_ < 0 || source_row < 0 || source_row >= count()) return std::nullopt;
    casefile::CaseFile tried = file_;
    casefile::Calculation& source = tried.calculations[static_cast<std::size_t>(source_row)];
    if (!source.id) {
        source.id = new_id_token(file_, source);
        source.written.clear();
    }
    const std::string from = *source.id;
    const auto target = static_cast<std::size_t>(selected_);
    if (auto refused = casefile::check_link(tried, target, {std::string(input), from, std::string(field)})) {
        return refused;
    }
    tried.calculations[target].set_link(input, from, std::string(field));
    push_calculations(QStringLiteral("Převzetí pole %1").arg(qtshared::qt_text(input)), std::move(tried.calculations),
                      selected_);
    return std::nullopt;
}

void OpenCase::unlink_selected(std::string_view input) {
    if (selected_ < 0) return;
    const casefile::Link* link = calculation(selected_).link_of(input);
    if (!link) return;
    const std::string taken = taken_now(*link);
    std::vector<casefile::Calculation> after = file_.calculations;
    casefile::Calculation& taker = after[static_cast<std::size_t>(selected_)];
    taker.remove_link(input);
    if (!taken.empty()) taker.set_text(input, taken);
    push_calculations(QStringLiteral("Zrušení převzetí %1").arg(qtshared::qt_text(input)), std::move(after), selected_);
}

std::string OpenCase::taken_now(const casefile::Link& link) const {
    const auto source = casefile::IdIndex(file_).find(link.from);
    if (!source) return {};
    return casefile::taken_text(casefile::run_in_case(file_, *source), link.field);
}

void OpenCase::push_calculations(const QString& name, std::vector<casefile::Calculation> after, int select) {
    auto* step = new CalculationsEdit(*this, file_.calculations, selected_, std::move(after), select);
    step->setText(name);
    push(step);
}

void OpenCase::put_calculations(const std::vector<casefile::Calculation>& calculations, int select) {
    file_.calculations = calculations;
    run_all();
    rows_changed(std::min(select, count() - 1));
}

void OpenCase::move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= count() || to >= count()) return;
    auto* step = new CalculationMove(*this, from, to);
    step->setText(QStringLiteral("Přesun výpočtu"));
    push(step);
}

void OpenCase::set_header(const casefile::CaseHeader& header) {
    if (file_.header == header) return;
    auto* step = new HeaderEdit(*this, header);
    step->setText(QStringLiteral("Vlastnosti případu"));
    push(step);
}

void OpenCase::edit_selected(CalculationPart part, std::string_view field_id,
                             const std::function<void(casefile::Calculation&)>& edit) {
    if (selected_ < 0) return;
    const casefile::Calculation& before = calculation(selected_);
    casefile::Calculation after = before;
    edit(after);
    auto* step = new CalculationEdit(*this, selected_, part, std::string(field_id), before, std::move(after));
    step->setText(edit_text(part, field_id));
    push(step);
}

void OpenCase::set_text(std::string_view field_id, std::string_view text) {
    edit_selected(CalculationPart::Text, field_id,
                  [&](casefile::Calculation& calculation) { calculation.set_text(field_id, text); });
}

void OpenCase::set_description(std::optional<std::string> casefile::Calculation::*member,
                               std::optional<std::string> text) {
    const CalculationPart part =
        member == &casefile::Calculation::title ? CalculationPart::Title : CalculationPart::Note;
    edit_selected(part, {},
                  [&](casefile::Calculation& calculation) { calculation.set_description(member, std::move(text)); });
}

std::optional<tolerance::InputError> OpenCase::set_tolerance(std::string_view field_id, std::string_view short_form) {
    if (selected_ < 0) return std::nullopt;
    casefile::Calculation tried = calculation(selected_);
    if (auto refused = tried.set_tolerance(field_id, short_form, file_.separator)) return refused;
    edit_selected(CalculationPart::Tolerance, field_id,
                  [&](casefile::Calculation& calculation) { calculation = std::move(tried); });
    return std::nullopt;
}

void OpenCase::set_analysis(std::optional<casefile::ToleranceAnalysis> tolerance) {
    if (selected_ < 0) return;
    casefile::Analyses analyses = calculation(selected_).analyses;
    analyses.tolerance = std::move(tolerance);
    set_analyses("tolerance", analyses);
}

void OpenCase::set_analysis(std::optional<casefile::SweepAnalysis> sweep) {
    if (selected_ < 0) return;
    casefile::Analyses analyses = calculation(selected_).analyses;
    analyses.sweep = std::move(sweep);
    set_analyses("sweep", analyses);
}

void OpenCase::set_analyses(std::string_view which, const casefile::Analyses& analyses) {
    if (calculation(selected_).analyses == analyses) return;
    edit_selected(CalculationPart::Analyses, which,
                  [&](casefile::Calculation& calculation) { calculation.set_analyses(analyses); });
}

void OpenCase::put_calculation(int row, const casefile::Calculation& calculation, bool as_typed) {
    file_.calculations[static_cast<std::size_t>(row)] = calculation;
    casefile::RecordedRun ran = run(row);
    emit row_changed(row);
    if (as_typed && row == selected_) {
        selected_run_.emplace(std::move(ran));
        emit selected_ran();  // the form keeps what is being typed; the results and the tabs follow
    } else {
        select_ran(row, std::move(ran));  // the form shows the calculation as it is now
    }
    run_dependents(row);
}

void OpenCase::insert_calculation(int row, const casefile::Calculation& calculation) {
    const auto at = static_cast<std::ptrdiff_t>(row);
    file_.calculations.insert(file_.calculations.begin() + at, calculation);
    endings_.insert(endings_.begin() + at, Ending::Completed);
    outcomes_.insert(outcomes_.begin() + at, std::nullopt);
    run(row);
    rows_changed(row);
    run_dependents(row);
}

void OpenCase::erase_calculation(int row, int select) {
    const auto at = static_cast<std::ptrdiff_t>(row);
    file_.calculations.erase(file_.calculations.begin() + at);
    endings_.erase(endings_.begin() + at);
    outcomes_.erase(outcomes_.begin() + at);
    rows_changed(std::min(select, count() - 1));
}

void OpenCase::move_calculation(int from, int to) {
    const auto move_row = [from, to](auto& rows) {
        if (from < to) {
            std::rotate(rows.begin() + from, rows.begin() + from + 1, rows.begin() + to + 1);
        } else {
            std::rotate(rows.begin() + to, rows.begin() + from, rows.begin() + from + 1);
        }
    };
    move_row(file_.calculations);
    move_row(endings_);
    move_row(outcomes_);
    rows_changed(to);
}

void OpenCase::put_header(const std::string& line, const casefile::CaseHeader& header) {
    if (line.empty()) {
        casefile::set_case_header(file_, header);
        return;
    }
    file_.header = header;
    file_.header_line = line;
}

std::optional<QString> OpenCase::write_recovery_copy() {
    recovery_timer_.stop();
    return recovery_.write(text(), path_);
}

void OpenCase::observe_selected(QObject* panel, const std::function<void()>& refresh) const {
    connect(this, &OpenCase::selection_changed, panel, refresh);
    connect(this, &OpenCase::selected_ran, panel, refresh);
}

void OpenCase::close() {
    recovery_timer_.stop();
    recovery_.remove();
}

}  // namespace vorlanex::spis
