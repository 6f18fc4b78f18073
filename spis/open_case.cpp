#include "spis/open_case.h"

#include <algorithm>
#include <utility>

#include "casefile/case_writer.h"
#include "version/version.h"

namespace vorlanex::spis {

namespace {
// How long after a change the recovery copy is written: edits in a row make one write.
constexpr int kRecoveryDelayMs = 3000;
}  // namespace

OpenCase::OpenCase(const numeric::DecimalSeparator& new_case_separator, QObject* parent)
    : QObject(parent), file_(casefile::new_case(new_case_separator)), new_case_separator_(new_case_separator) {
    recovery_timer_.setSingleShot(true);
    recovery_timer_.setInterval(kRecoveryDelayMs);
    connect(&recovery_timer_, &QTimer::timeout, this, [this] {
        if (const auto failed = write_recovery_copy()) emit problem(*failed);
    });
}

void OpenCase::replace(casefile::CaseFile file, const QString& path) {
    file_ = std::move(file);
    path_ = path;
    selected_ = -1;
    selected_run_.reset();
    emit list_changed();
    // The first calculation is shown; an empty case as nothing selected.
    select(file_.calculations.empty() ? -1 : 0);
    if (file_.calculations.empty()) emit selection_changed();
    set_modified(false);
}

void OpenCase::saved_to(const QString& path) {
    path_ = path;
    casefile::number_lines(file_);
    set_modified(false);
}

void OpenCase::set_modified(bool modified) {
    modified_ = modified;
    if (modified) {
        recovery_timer_.start();
    } else {
        recovery_timer_.stop();
        recovery_.remove();
    }
    emit state_changed();
}

void OpenCase::changed() { set_modified(true); }

void OpenCase::run_selected() {
    if (selected_ < 0) {
        selected_run_.reset();
        return;
    }
    const casefile::Calculation& shown = calculation(selected_);
    selected_run_.emplace(*shown.scenario.page, shown.scenario.fields, file_.separator);
}

void OpenCase::select(int row) {
    const int chosen = row >= 0 && row < count() ? row : -1;
    if (chosen == selected_ && (chosen < 0 || selected_run_)) return;
    selected_ = chosen;
    run_selected();
    emit selection_changed();
}

void OpenCase::add(const page::PageDefinition& page) {
    file_.calculations.push_back(casefile::new_calculation(page));
    changed();
    emit list_changed();
    selected_ = -1;
    select(count() - 1);
}

void OpenCase::duplicate_selected() {
    const int row = selected_;
    if (row < 0) return;
    file_.calculations.insert(file_.calculations.begin() + row + 1, casefile::copy_of(calculation(row)));
    changed();
    emit list_changed();
    selected_ = -1;
    select(row + 1);
}

void OpenCase::remove_selected() {
    const int row = selected_;
    if (row < 0) return;
    file_.calculations.erase(file_.calculations.begin() + row);
    changed();
    emit list_changed();
    selected_ = -1;
    select(std::min(row, count() - 1));
    if (selected_ < 0) emit selection_changed();
}

void OpenCase::move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= count() || to >= count()) return;
    auto& calculations = file_.calculations;
    if (from < to) {
        std::rotate(calculations.begin() + from, calculations.begin() + from + 1, calculations.begin() + to + 1);
    } else {
        std::rotate(calculations.begin() + to, calculations.begin() + from, calculations.begin() + from + 1);
    }
    changed();
    emit list_changed();
    selected_ = -1;
    select(to);
}

void OpenCase::set_header(const casefile::CaseHeader& header) {
    if (casefile::set_case_header(file_, header)) changed();
}

void OpenCase::set_text(std::string_view field_id, std::string_view text) {
    if (selected_ < 0) return;
    file_.calculations[static_cast<std::size_t>(selected_)].set_text(field_id, text);
    changed();
    run_selected();
    emit selected_ran();
    emit row_changed(selected_);
}

void OpenCase::set_description(std::optional<std::string> casefile::Calculation::*member,
                               std::optional<std::string> text) {
    if (selected_ < 0) return;
    file_.calculations[static_cast<std::size_t>(selected_)].set_description(member, std::move(text));
    changed();
    emit row_changed(selected_);  // the list names a calculation by its title; its results stay as they are
}

std::optional<tolerance::InputError> OpenCase::set_tolerance(std::string_view field_id, std::string_view short_form) {
    if (selected_ < 0) return std::nullopt;
    auto refused =
        file_.calculations[static_cast<std::size_t>(selected_)].set_tolerance(field_id, short_form, file_.separator);
    if (refused) return refused;
    changed();
    emit selected_ran();          // the tolerance tab follows
    emit row_changed(selected_);  // the list's "±"
    return std::nullopt;
}

std::optional<QString> OpenCase::write_recovery_copy() {
    recovery_timer_.stop();
    return recovery_.write(casefile::case_file_text(file_, kVersion));
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
