#pragma once
// The selected calculation in the centre of the case window: its title and note, its inputs as a
// form built from the page's own fields (caption, text, unit; a substitute the page wrote shown
// beside the typed text) and a tolerance in short form beside each input, its results as the calculator shows them
// (read-only, selectable), its warnings in order and its fault with the fields it left unwritten, all inline.
// Every number's line is as wide as its text; the form grows instead of cutting a number. A fault is
// said in Czech and marks the input it comes from, once something has been typed in the calculation.
#include <QList>
#include <QWidget>
#include <map>
#include <string>
#include <utility>

#include "casefile/case_file.h"
#include "casefile/recorded_run.h"

class QLabel;
class QLineEdit;
class QFormLayout;

namespace vorlanex::spis {

// Beside each linked input, where it takes its text from ("← Rekonstrukce brzdění, R15").
using LinkSources = std::map<std::string, QString>;

class CalculationView final : public QWidget {
    Q_OBJECT
public:
    explicit CalculationView(QWidget* parent = nullptr);

    // Builds the form for `entry` and shows `run`, its outcome. A linked input (one of `sources`)
    // is not typed in: it shows the text it took, with its source beside it.
    void show_calculation(const casefile::Calculation& entry, const numeric::DecimalSeparator& separator,
                          const casefile::RecordedRun& run, const LinkSources& sources = {});
    // A chain's answer in words above the results ("Vozidlo by …"); empty texts hide it.
    void show_answer(const QString& verdict, const QString& times);
    // Shows a new outcome of the same calculation, the form left as it is.
    void show_run(const casefile::RecordedRun& run);
    // Nothing selected.
    void clear();
    // Why the tolerance typed for the field was refused, shown under it with the line marked; an
    // empty problem clears both.
    void show_tolerance_problem(const QString& field_id, const QString& problem);
    // The controls in the order Tab visits them: title, note, each input with its tolerance in the
    // page's order, each result with its copy button.
    QList<QWidget*> focus_order() const;

signals:
    void text_edited(const QString& field_id, const QString& text);
    // The tolerance's short form typed beside the field's value ("14..16"; empty for none).
    void tolerance_edited(const QString& field_id, const QString& text);
    // The tolerance's line was left (or Enter pressed in it) holding `text`.
    void tolerance_left(const QString& field_id, const QString& text);
    void title_edited(const QString& title);
    void note_edited(const QString& note);
    // The input is to take a field of a calculation ("Převzít z výsledku…"), or to be typed again.
    void take_requested(const QString& field_id);
    void unlink_requested(const QString& field_id);

private:
    void clear_fields();
    // The input's menu: the line's own, then taking a field or typing it again.
    void show_input_menu(QLineEdit* line, const QString& field_id, bool linked, const QPoint& at);

    QLabel* heading_;
    QLineEdit* title_;
    QLineEdit* note_;
    QFormLayout* inputs_;
    QFormLayout* results_;
    QLabel* warnings_;
    QLabel* fault_;
    QLabel* answer_;
    std::map<std::string, QLineEdit*> inputs_by_id_;
    std::map<std::string, QLineEdit*> linked_by_id_;  // the linked inputs, showing what they took
    std::map<std::string, QLabel*> substitutes_by_id_;
    std::map<std::string, std::pair<QLineEdit*, QLabel*>> tolerances_by_id_;  // the line, its problem
    std::map<std::string, QLineEdit*> results_by_id_;
    bool touched_ = false;  // something typed in the calculation shown (its fault is shown only then)
    // The form's own controls, in the page's order: the inputs' box, then the results'.
    QList<QWidget*> input_controls_, result_controls_;
};

}  // namespace vorlanex::spis
