#pragma once
// Vorlanex Spis's main window: the case's calculations on the left, the selected one in the
// centre, the diagram and the analyses on the right, the menus for the case file and the
// calculations. The case itself is an OpenCase that the panels observe; the window holds the
// menus, the dialogs and the protocol export. Every outcome shown is a run of the page's own
// calculation on a page without a window, made anew on every edit.
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "casefile/case_file.h"
#include "spis/calculation_view.h"
#include "spis/case_actions.h"
#include "spis/open_case.h"
#include "spis/recovery.h"

class QAction;
class QBoxLayout;
class QLabel;
class QListWidget;
class QMenu;
class QPrinter;
class QSplitter;
class QTabWidget;

namespace vorlanex::spis {

class DiagramPanel;
class FormScrollArea;
class GuideWindow;
class ProtocolExport;
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
    // Saving over the case's own file that another window or program changed since it was read or
    // written is refused with a message unless `overwrite` is Always (the menu's Save asks first).
    enum class Overwrite { IfUnchanged, Always };
    std::optional<QString> save_case(const QString& path, Overwrite overwrite = Overwrite::IfUnchanged);
    // The Czech warning that another window has the open case's file open too; none when none has.
    std::optional<QString> open_elsewhere_warning() const;
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
    void set_protocol_program(const QString& path);

    void add_calculation(const page::PageDefinition& page);
    // The case's own description (Soubor → Vlastnosti případu); a change marks the case unsaved.
    void set_case_properties(const casefile::CaseHeader& header);
    void select_calculation(int row);
    // Výpočet → Odvratitelnost při dovolené rychlosti…: the chain at `speed_text` km/h after the
    // selected reconstruction, selected; or why not, in Czech (the speed is no positive number).
    std::optional<QString> add_avoidability_chain(const QString& speed_text);
    // "Převzít z výsledku…": the selected calculation's `input` takes `field` of the calculation at
    // `source_row`; or why not, in Czech (a cycle, another unit), the case then unchanged.
    std::optional<QString> take_into_input(const QString& input, int source_row, const QString& field);
    // "Zrušit převzetí": the input is typed again, holding the text it took last.
    void unlink_input(const QString& input);

    // The recovery copy of the unsaved case, written now (the window writes it by itself a few
    // seconds after each change).
    void write_recovery_copy();
    const RecoveryCopy& recovery_copy() const { return case_.recovery_copy(); }
    // Offers the copies of windows gone without a clean close, newest first: `ask` is told when
    // the copy was written and answers whether to take it. The first taken opens here as an unsaved
    // case of the file the copy was made of (a new case when it had none); a declined copy is
    // discarded. True when one was taken.
    bool offer_recovery(const std::function<bool(const QString& written_at)>& ask);

    const OpenCase& open_case() const { return case_; }
    const casefile::CaseFile& document() const { return case_.file(); }
    const QString& path() const { return case_.path(); }
    int selected_row() const { return case_.selected_row(); }
    CalculationView* calculation_view() const { return view_; }
    DiagramPanel* diagram_panel() const { return diagram_; }
    ToleranceTab* tolerance_tab() const { return tolerance_; }
    SweepTab* sweep_tab() const { return sweep_; }
    QListWidget* calculation_list() const { return list_; }
    // The case's state as the status bar shows it: "Uloženo · 3 výpočty · Vorlanex …".
    QString state_text() const;
    // The action of a row of the action table.
    QAction* action(CaseAction action) const { return actions_.value(static_cast<int>(action)); }
    // Soubor → Nedávné soubory: the case files opened or saved last, most recent first.
    QMenu* recent_menu() const { return recent_menu_; }
    // Nápověda → Návod (F1): the guide's window, opened at the heading with this anchor when given.
    GuideWindow* show_guide(const QString& anchor = {});
    // Where Soubor → Uložit offers to save a case that has no file yet: the folder of the case used
    // last (else the home folder) and a name made of the case's file reference (else none).
    QString proposed_save_path() const;
    // The step behind an entry of that menu: a file that has gone is dropped from the list, with a
    // Czech message.
    std::optional<QString> open_recent(const QString& path);

signals:
    // The protocol is written or printed (an empty `problem`), or it is not and why.
    void protocol_finished(const QString& problem);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The menus from the action table, and the buttons below the list that do what some of them do.
    void build_menus(QBoxLayout* list_buttons);
    void trigger(CaseAction action);
    // What can be used now: the one place that enables and disables the actions.
    void update_actions();
    // The controls Tab visits: the list, the selected calculation's title, note, inputs and results,
    // the tabs beside it and the panel in front, the buttons below the list.
    QList<QWidget*> focus_order() const;
    // A new case described as the expert would describe it: created today, by the expert named last.
    void start_new_case();
    void choose_and_open();
    bool save();
    enum class ChangedFileAnswer { Overwrite, SaveAs, Cancel };
    ChangedFileAnswer ask_about_changed_file();
    // A case opened from a menu: its problem, or the warning that another window has it open.
    void report_opened(const std::optional<QString>& problem);
    bool choose_and_save();
    void choose_and_export_html();
    void edit_case_properties();
    void choose_and_export_pdf();
    void choose_and_print();
    std::optional<QString> start_protocol(QStringList arguments, const QString& target, const QString& busy,
                                          const QString& done);
    void protocol_ended(const QString& problem, const QString& done);
    void move_selected(int step);
    // The list's row `from` moved before the row `before` (by a drag, Nahoru or Dolů): the case's
    // calculation moves with it and stays selected.
    void calculation_moved(int from, int before);
    // Výpočet → Kopírovat výsledky: the selected calculation's results, warnings and fault on the
    // clipboard as text and as an HTML table.
    void copy_results();
    void ask_avoidability_chain();
    void choose_and_take(const QString& input);
    // The selected calculation removed; the links taken from it, if any, said in the status line.
    void remove_selected();
    // The selected calculation's linked inputs with their sources, and a chain's answer, shown.
    LinkSources link_sources() const;
    void show_answer();
    void show_about();
    void remember_file(const QString& path);
    void refresh_recent_menu();

    // True when there are no unsaved changes or the expert chose to save or to discard them.
    bool may_discard_changes();
    // What the open case tells.
    void show_list();
    void show_row(int row);
    void show_selected();
    void show_state();
    // A tolerance typed in short form: taken into the calculation when it can be.
    void edit_tolerance(const QString& field_id, const QString& text);
    // A tolerance's line left: why its text was not taken shown under it, or nothing.
    void check_tolerance(const QString& field_id, const QString& text);
    void update_status();
    void report_problem(const std::optional<QString>& problem);

    OpenCase case_;
    QListWidget* list_;
    CalculationView* view_;
    QSplitter* splitter_ = nullptr;
    bool panes_fitted_ = false;  // the panes shared out once, when the window is first shown
    FormScrollArea* centre_;     // the selected calculation's form, scrolled
    QTabWidget* tabs_;
    DiagramPanel* diagram_;
    ToleranceTab* tolerance_;
    SweepTab* sweep_;
    ProtocolExport* protocol_;
    QLabel* state_;  // the case's state in the status bar: saved or not, how many calculations
    QMenu* recent_menu_ = nullptr;
    QList<QWidget*> list_buttons_;  // below the list: Přidat, Duplikovat, Odstranit
    GuideWindow* guide_ = nullptr;
    QHash<int, QAction*> actions_;
};

}  // namespace vorlanex::spis
