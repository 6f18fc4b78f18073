#pragma once
// One calculation page built from its layout: labels, group boxes, pictures, fields, the "?"
// buttons and the "Výpočet" button, at their places. Its fields are the page's port: the
// calculation reads and writes them through it.
#include <QWidget>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "app/environment.h"
#include "page/page_definition.h"

class QLineEdit;
class QPushButton;

namespace vorlanex::app {

class CalculationPage : public QWidget {
public:
    // `program_help_buttons` are "?" buttons of the program (not of the calculation) that stand on
    // this page.
    CalculationPage(const page::PageDefinition& definition, const Environment& environment,
                    std::span<const page::HelpButton> program_help_buttons = {}, QWidget* parent = nullptr);

    const page::PageDefinition& definition() const { return definition_; }
    QLineEdit* field(std::string_view id) const;
    QPushButton* calculate_button() const { return calculate_button_; }

    // One press of "Výpočet": the page's calculation, a fault shown in the error box.
    void calculate();

private:
    void add_group_boxes();
    void add_labels();
    void add_pictures();
    void add_fields();
    void add_help_buttons(std::span<const page::HelpButton> help_buttons);
    void add_calculate_button();

    const page::PageDefinition& definition_;
    const Environment& environment_;
    std::map<std::string, QLineEdit*, std::less<>> fields_;
    QPushButton* calculate_button_ = nullptr;
};

}  // namespace vorlanex::app
