#pragma once
// Vorlanex Spis's main window: the case's calculations on the left, the selected one in the
// centre, its path–time diagram on the right; the menus for the case file and the calculations.
// Every outcome shown is a run of the page's own calculation on a page without a window, made
// anew on every edit.
#include <QMainWindow>
#include <QString>
#include <functional>

#include "spis/case_document.h"
#include "spis/recovery.h"

class QBoxLayout;
class QListWidget;
class QMenu;
class QTabWidget;
class QTimer;

namespace vorlanex::report {
class RecordedRun;
}

namespace vorlanex::spis {

class CalculationView;
class DiagramPanel;
class ToleranceTab;

class CaseWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit CaseWindow(const numeric::DecimalSeparator& separator, QWidget* parent = nullptr);

    // The steps behind the menus, without dialogs: each returns a Czech message when it failed,
    // and a failure leaves the case as it was.
    std::optional<QString> open_case(const QString& path);
    std::optional<QString> save_case(const QString& path);
    std::optional<QString> export_html(const QString& path);

    void add_calculation(const page::PageDefinition& page);
    void select_calculation(int row);

    // The recovery copy of the unsaved case, written now (the window writes it by itself a few
    // seconds after each change).
    void write_recovery_copy();
    const RecoveryCopy& recovery_copy() const { return recovery_; }
    // Offers the copies of windows gone without a clean close, newest first: `ask` is told when
    // the copy was written and answers whether to take it. The first taken opens here as an unsaved
    // case; a declined copy is discarded. True when one was taken.
    bool offer_recovery(const std::function<bool(const QString& written_at)>& ask);

    const CaseDocument& document() const { return document_; }
    const QString& path() const { return path_; }
    int selected_row() const;
    CalculationView* calculation_view() const { return view_; }
    DiagramPanel* diagram_panel() const { return diagram_; }
    ToleranceTab* tolerance_tab() const { return tolerance_; }
    QListWidget* calculation_list() const { return list_; }
    // Soubor → Nedávné soubory: the case files opened or saved last, most recent first.
    QMenu* recent_menu() const { return recent_menu_; }
    // The step behind an entry of that menu: a file that has gone is dropped from the list, with a
    // Czech message.
    std::optional<QString> open_recent(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The menus, and the buttons below the list that do what some of their actions do.
    void build_menus(QBoxLayout* list_buttons);
    void start_new_case();
    void choose_and_open();
    bool save();
    bool choose_and_save();
    void choose_and_export_html();
    void duplicate_selected();
    void remove_selected();
    void move_selected(int step);
    void show_about();
    void remember_file(const QString& path);
    void refresh_recent_menu();

    // True when there are no unsaved changes or the expert chose to save or to discard them.
    bool may_discard_changes();
    void take_document(CaseDocument document, const QString& path);
    void set_modified(bool modified);
    void refresh_list();
    void refresh_item(int row, const report::RecordedRun& run);
    void show_selected();
    void rerun_selected();
    void edit_text(const QString& field_id, const QString& text);
    // The title or the note of the selected calculation; empty is none.
    void edit_description(std::optional<std::string> CalculationEntry::*member, const QString& text);
    void update_status();
    void report_problem(const std::optional<QString>& problem);

    CaseDocument document_;
    numeric::DecimalSeparator new_case_separator_;
    QString path_;
    QListWidget* list_;
    CalculationView* view_;
    QTabWidget* tabs_;
    DiagramPanel* diagram_;
    ToleranceTab* tolerance_;
    QTimer* recovery_timer_;
    QMenu* recent_menu_ = nullptr;
    RecoveryCopy recovery_;
};

}  // namespace vorlanex::spis
