#pragma once
// Vorlanex Spis's main window: the case's calculations on the left, the selected one in the
// centre, its path–time diagram on the right; the menus for the case file and the calculations.
// Every outcome shown is a run of the page's own calculation on a page without a window, made
// anew on every edit.
#include <QList>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "spis/case_document.h"
#include "spis/recovery.h"

class QAction;
class QBoxLayout;
class QListWidget;
class QMenu;
class QPrinter;
class QProcess;
class QTabWidget;
class QTemporaryDir;
class QTimer;

namespace vorlanex::report {
class RecordedRun;
}

namespace vorlanex::spis {

class CalculationView;
class DiagramPanel;
class SweepTab;
class ToleranceTab;

class CaseWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit CaseWindow(const numeric::DecimalSeparator& separator, QWidget* parent = nullptr);
    ~CaseWindow() override;

    // The steps behind the menus, without dialogs: each returns a Czech message when it failed,
    // and a failure leaves the case as it was.
    std::optional<QString> open_case(const QString& path);
    std::optional<QString> save_case(const QString& path);
    std::optional<QString> export_html(const QString& path);
    // The same protocol as an A4 PDF at `path`, or on paper as the print dialog set up `printer` (a
    // PDF file when it prints to a file). vorlanex-protocol makes it in the background while the
    // window stays usable; the PDF is written atomically only when it succeeded. A Czech message at
    // once when it cannot start; otherwise protocol_finished tells how it ended (and a message box
    // shows a failure).
    std::optional<QString> export_pdf(const QString& path);
    std::optional<QString> print_protocol(const QPrinter& printer);
    bool protocol_running() const;
    // Where vorlanex-protocol is: beside the window's own program unless set here (the tests).
    void set_protocol_program(const QString& path) { protocol_program_ = path; }

    void add_calculation(const page::PageDefinition& page);
    // The case's own description (Soubor → Vlastnosti případu); a change marks the case unsaved.
    void set_case_properties(const casefile::CaseHeader& header);
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
    SweepTab* sweep_tab() const { return sweep_; }
    QListWidget* calculation_list() const { return list_; }
    // Soubor → Nedávné soubory: the case files opened or saved last, most recent first.
    QMenu* recent_menu() const { return recent_menu_; }
    // The step behind an entry of that menu: a file that has gone is dropped from the list, with a
    // Czech message.
    std::optional<QString> open_recent(const QString& path);

signals:
    // The protocol is written or printed (an empty `problem`), or it is not and why.
    void protocol_finished(const QString& problem);

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
    void edit_case_properties();
    void choose_and_export_pdf();
    void choose_and_print();
    // The case report, the bytes export_html writes, or a Czech message.
    std::variant<std::string, QString> protocol_html() const;
    // Runs vorlanex-protocol on the report with `arguments` (after --html); `target` is where the
    // PDF it makes is written when it succeeds, empty when it prints.
    std::optional<QString> start_protocol(QStringList arguments, const QString& target, const QString& busy,
                                          const QString& done);
    void protocol_ended(std::optional<QString> problem);
    void stop_protocol();
    void duplicate_selected();
    void remove_selected();
    void move_selected(int step);
    // The list's row `from` moved before the row `before` (by a drag, Nahoru or Dolů): the case's
    // calculation moves with it and stays selected.
    void calculation_moved(int from, int before);
    // Výpočet → Kopírovat výsledky: the selected calculation's results, warnings and fault on the
    // clipboard as text and as an HTML table.
    void copy_results();
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
    // A tolerance typed in short form: taken into the calculation, or its refusal shown under it.
    void edit_tolerance(const QString& field_id, const QString& text);
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
    SweepTab* sweep_;
    QTimer* recovery_timer_;
    QMenu* recent_menu_ = nullptr;
    RecoveryCopy recovery_;
    // The protocol being made: vorlanex-protocol's process, its folder (the report's HTML, the PDF), where the PDF
    // goes, what the status bar says meanwhile and after, and the actions that wait for it.
    QString protocol_program_;
    QProcess* protocol_ = nullptr;
    std::unique_ptr<QTemporaryDir> protocol_folder_;
    QString protocol_target_;
    QString protocol_busy_;
    QString protocol_done_;
    QList<QAction*> protocol_actions_;
};

}  // namespace vorlanex::spis
