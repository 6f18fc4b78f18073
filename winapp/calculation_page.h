#pragma once
// One calculation page built from its layout in Windows' controls: static labels, group boxes,
// pictures, single-line edits, the "?" buttons and the "Výpočet" button, at their places. Its
// fields are the page's port: the calculation reads and writes them through it.
#include <windows.h>

#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "page/page_definition.h"
#include "winapp/environment.h"
#include "winapp/window.h"

namespace vorlanex::winapp {

class PageFonts;

class CalculationPage final : public Window {
public:
    // `environment` and `fonts` are the window's and must outlive the page; `program_help_buttons`
    // are "?" buttons of the program (not of the calculation) that stand on this page.
    CalculationPage(HWND parent, const RECT& area, const page::PageDefinition& definition,
                    const Environment& environment, PageFonts& fonts,
                    std::span<const page::HelpButton> program_help_buttons = {});
    ~CalculationPage() override;

    const page::PageDefinition& definition() const { return definition_; }
    // The edit control of the field with this id, or nullptr.
    HWND field(std::string_view id) const;
    HWND calculate_button() const { return calculate_button_; }

    // One press of "Výpočet": the page's calculation, a fault shown in the error box.
    void calculate();

private:
    bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

    HWND add_control(const wchar_t* window_class, std::string_view text, DWORD style, const page::Rect& rect,
                     page::Font font, int id = 0, DWORD extended_style = 0);
    void add_fields();
    void add_help_buttons(std::span<const page::HelpButton> help_buttons);
    void add_calculate_button();
    void add_labels();
    void add_pictures();
    void add_group_boxes();
    // Where a subscript or power of `symbol` starts: after the symbol's text, in the face used.
    int index_left(const page::Label& symbol);
    // The colours of a field's edit control as it is painted; nullptr for Windows' own.
    HBRUSH field_colours(HWND edit, HDC device);

    const page::PageDefinition& definition_;
    const Environment& environment_;
    PageFonts& fonts_;
    std::map<std::string, HWND, std::less<>> fields_;
    std::map<HWND, const page::Field*> field_layouts_;
    std::set<HWND> labels_;
    std::map<int, std::string_view> help_texts_;  // a "?" button's text by its control id
    std::vector<HBITMAP> bitmaps_;
    HWND calculate_button_ = nullptr;
};

}  // namespace vorlanex::winapp
