#pragma once
// One calculation page built from its layout: labels, group boxes, pictures, fields, the "?"
// buttons and the "Výpočet" button, at their places. Its fields are the page's port: the
// calculation reads and writes them through it.
//
// The page's widgets are made when it is first shown, or when its fields or its button are first
// asked for: the window starts without building, measuring and decoding pictures for the pages
// behind its first one, which the user may never open.
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

class PageFonts;

class CalculationPage : public QWidget {
public:
    // `fonts` are the window's, shared by its pages, and must outlive the page's building;
    // `program_help_buttons` are "?" buttons of the program (not of the calculation) that stand on
    // this page.
    CalculationPage(const page::PageDefinition& definition, const Environment& environment, PageFonts& fonts,
                    std::span<const page::HelpButton> program_help_buttons = {}, QWidget* parent = nullptr);

    const page::PageDefinition& definition() const { return definition_; }
    // The field with this id (nullptr for none) and the "Výpočet" button; the page is built first
    // if it is not yet.
    QLineEdit* field(std::string_view id);
    QPushButton* calculate_button();

    // One press of "Výpočet": the page's calculation, a fault shown in the error box.
    void calculate();

    // Makes the page's widgets now, unless they are made already.
    void build();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void add_group_boxes();
    void add_labels();
    // Where a subscript or power of `symbol` starts: after the symbol's text, in the face used.
    int index_left(const page::Label& symbol);
    // Where a sign starts so that its ink stands centred in its width.
    int ink_centred_left(const page::Label& sign, const QString& text);
    void add_pictures();
    void add_fields();
    void add_help_buttons(std::span<const page::HelpButton> help_buttons);
    void add_calculate_button();

    const page::PageDefinition& definition_;
    const Environment& environment_;
    PageFonts& fonts_;
    std::span<const page::HelpButton> program_help_buttons_;
    bool built_ = false;
    std::map<std::string, QLineEdit*, std::less<>> fields_;
    QPushButton* calculate_button_ = nullptr;
};

}  // namespace vorlanex::app
