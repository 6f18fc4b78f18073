#include "winapp/calculation_page.h"

#include <commctrl.h>

#include <algorithm>

#include "page/press_calculate.h"
#include "registry/window_furniture.h"
#include "winapp/message_boxes.h"
#include "winapp/page_fonts.h"
#include "winapp/picture_bytes.h"
#include "winapp/text_conversion.h"
#include "winapp/wic_pictures.h"

namespace vorlanex::winapp {

namespace {

constexpr int kCalculateId = 10;
constexpr int kFirstHelpId = 100;

std::string window_text(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return utf8_text(text);
}

void set_window_text(HWND control, std::string_view text) {
    SetWindowTextW(control, wide_text(text).c_str());
    // A value too long for its field shows its leading digits.
    SendMessageW(control, EM_SETSEL, 0, 0);
    SendMessageW(control, EM_SCROLLCARET, 0, 0);
}

// The calculation's view of the page: the fields' texts, and warning boxes over the window.
class ControlPort final : public page::Port {
public:
    ControlPort(const std::map<std::string, HWND, std::less<>>& fields, const Environment& environment, HWND owner)
        : fields_(fields), environment_(environment), owner_(owner) {}

    // A field the page does not have reads as empty and takes no text, as on the page without a
    // window, so both front ends answer a calculation alike.
    std::string text(std::string_view field_id) const override {
        const auto found = fields_.find(field_id);
        return found != fields_.end() ? window_text(found->second) : std::string();
    }
    void set_text(std::string_view field_id, std::string_view text) override {
        if (const auto found = fields_.find(field_id); found != fields_.end()) set_window_text(found->second, text);
    }
    void warning(std::string_view message) override {
        show_warning_box(owner_, environment_.application_title, message);
    }
    const numeric::DecimalSeparator& separator() const override { return environment_.separator; }

private:
    const std::map<std::string, HWND, std::less<>>& fields_;
    const Environment& environment_;
    HWND owner_;
};

// "Výpočet" is not a default button; Space on it presses it as on every push button, and so do
// Enter and Return, once for each press however long the key is held.
LRESULT CALLBACK calculate_button_keys(HWND button, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    constexpr LPARAM kRepeated = LPARAM{1} << 30;
    if (message == WM_GETDLGCODE && lparam) {
        const auto* key = reinterpret_cast<const MSG*>(lparam);
        if ((key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN) {
            return DefSubclassProc(button, message, wparam, lparam) | DLGC_WANTMESSAGE;
        }
    }
    if (message == WM_KEYDOWN && wparam == VK_RETURN) {
        if (!(lparam & kRepeated)) SendMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (message == WM_CHAR && wparam == VK_RETURN) return 0;
    return DefSubclassProc(button, message, wparam, lparam);
}

page::Rect picture_rect(const page::PicturePlacement& placement, HBITMAP bitmap) {
    BITMAP described{};
    GetObjectW(bitmap, sizeof(described), &described);
    return {placement.left, placement.top, described.bmWidth, described.bmHeight};
}

}  // namespace

CalculationPage::CalculationPage(HWND parent, const RECT& area, const page::PageDefinition& definition,
                                 const Environment& environment, PageFonts& fonts,
                                 std::span<const page::HelpButton> program_help_buttons)
    : Window(parent, area), definition_(definition), environment_(environment), fonts_(fonts) {
    // Made in tab order, which is the order the dialog keys visit them: the fields (inputs first,
    // in reading order), the buttons; then the texts, the pictures and at the back the group boxes,
    // which Windows stacks under what was made before them.
    add_fields();
    add_help_buttons(program_help_buttons);
    add_help_buttons(definition_.layout.help_buttons);
    add_calculate_button();
    add_labels();
    add_pictures();
    add_group_boxes();
}

CalculationPage::~CalculationPage() {
    destroy();  // the pictures' controls first, then their bitmaps
    for (HBITMAP bitmap : bitmaps_) DeleteObject(bitmap);
}

HWND CalculationPage::field(std::string_view id) const {
    const auto found = fields_.find(id);
    return found != fields_.end() ? found->second : nullptr;
}

void CalculationPage::calculate() {
    HWND owner = GetAncestor(handle(), GA_ROOT);
    ControlPort port(fields_, environment_, owner);
    if (const std::optional<std::string> error_box = page::press_calculate(definition_, port)) {
        show_error_box(owner, environment_.application_title, *error_box);
    }
}

HWND CalculationPage::add_control(const wchar_t* window_class, std::string_view text, DWORD style,
                                  const page::Rect& rect, page::Font font, int id, DWORD extended_style) {
    HWND control =
        CreateWindowExW(extended_style, window_class, wide_text(text).c_str(), WS_CHILD | WS_VISIBLE | style, rect.left,
                        rect.top, rect.width, rect.height, handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.font(font)), FALSE);
    return control;
}

void CalculationPage::add_fields() {
    for (const page::Field& placed : definition_.layout.fields) {
        const bool input = placed.role == page::FieldRole::Input;
        // Results are grey and outside the tab order, but the user may still click into one and type.
        const DWORD style = ES_AUTOHSCROLL | (input ? WS_TABSTOP : 0);
        const std::string text = input ? page::default_text(placed, environment_.separator) : std::string();
        HWND edit = add_control(WC_EDITW, text, style, placed.rect, placed.look.font, 0,
                                placed.look.frame ? WS_EX_CLIENTEDGE : 0);
        // A field holds a text of any length, as the command does.
        SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
        fields_.emplace(std::string(placed.id), edit);
        field_layouts_.emplace(edit, &placed);
    }
}

void CalculationPage::add_help_buttons(std::span<const page::HelpButton> help_buttons) {
    for (const page::HelpButton& help_button : help_buttons) {
        const int id = kFirstHelpId + static_cast<int>(help_texts_.size());
        add_control(WC_BUTTONW, "?", BS_PUSHBUTTON, help_button.rect, page::kNormalFont, id);
        help_texts_.emplace(id, help_button.text);
    }
}

void CalculationPage::add_calculate_button() {
    calculate_button_ = add_control(WC_BUTTONW, registry::kCalculateCaption, BS_PUSHBUTTON | WS_TABSTOP,
                                    definition_.layout.calculate_button, page::kNormalFont, kCalculateId);
    SetWindowSubclass(calculate_button_, calculate_button_keys, 0, 0);
}

void CalculationPage::add_labels() {
    const page::Label* previous = nullptr;
    for (const page::Label& label : definition_.layout.labels) {
        if (label.text.empty()) continue;
        const std::wstring text = wide_text(label.text);
        const SIZE size = fonts_.text_size(label.font, text);
        page::Rect rect{label.left, label.top, size.cx, size.cy};
        DWORD alignment = SS_LEFT;
        if (label.ink_centred) {
            // The ink, not the blanks beside it, centred in the width.
            const auto [before, after] = fonts_.side_bearings(label.font, text);
            const int ink_width = size.cx - before - after;
            rect.left = label.left + (label.centre_width - ink_width) / 2 - before;
        } else if (label.centre_width > 0) {
            alignment = SS_CENTER;
            rect.width = label.centre_width;
        } else if (label.after_previous && previous) {
            rect.left = std::max(label.left, index_left(*previous));
        }
        labels_.insert(add_control(WC_STATICW, label.text, alignment | SS_NOPREFIX, rect, label.font));
        if (!label.power.empty()) {
            // The power sits raised in the blank that the bracket keeps for it after the unit.
            const SIZE power_size = fonts_.text_size(page::kNormalFont, wide_text(label.power));
            labels_.insert(add_control(WC_STATICW, label.power, SS_LEFT | SS_NOPREFIX,
                                       {index_left(label), label.top - 3, power_size.cx, power_size.cy},
                                       page::kNormalFont));
        }
        previous = &label;
    }
}

int CalculationPage::index_left(const page::Label& symbol) {
    // The blank kept for the index is the first run of two spaces or more: "EES   =", "m    =",
    // "[km.h   ]". One pixel clears the symbol's last stroke.
    const std::wstring text = wide_text(symbol.text);
    const std::wstring before_blank = text.substr(0, text.find(L"  "));
    return symbol.left + fonts_.text_size(symbol.font, before_blank).cx + 1;
}

void CalculationPage::add_pictures() {
    for (const page::PicturePlacement& placement : definition_.layout.pictures) {
        HBITMAP bitmap = decoded_picture(picture_bytes(placement.picture), GetSysColor(COLOR_BTNFACE));
        if (!bitmap) continue;
        bitmaps_.push_back(bitmap);
        HWND image = add_control(WC_STATICW, "", SS_BITMAP | WS_CLIPSIBLINGS, picture_rect(placement, bitmap),
                                 page::kNormalFont);
        SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }
}

void CalculationPage::add_group_boxes() {
    for (const page::GroupBox& group : definition_.layout.group_boxes) {
        add_control(WC_BUTTONW, group.caption, BS_GROUPBOX | WS_CLIPSIBLINGS, group.rect, group.font);
    }
}

HBRUSH CalculationPage::field_colours(HWND edit, HDC device) {
    const auto found = field_layouts_.find(edit);
    if (found == field_layouts_.end()) return nullptr;
    const page::Field& placed = *found->second;
    if (placed.look.colour == page::TextColour::Red) SetTextColor(device, RGB(255, 0, 0));
    if (placed.role == page::FieldRole::Input) {
        SetBkColor(device, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    SetBkColor(device, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

bool CalculationPage::on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    if (message == WM_CTLCOLORSTATIC && labels_.contains(reinterpret_cast<HWND>(lparam))) {
        // A label's text is drawn over what stands behind it: a subscript in the blank kept for it
        // leaves the text around the blank whole.
        SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    }
    if (message == WM_CTLCOLOREDIT) {
        HBRUSH brush = field_colours(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam));
        result = reinterpret_cast<LRESULT>(brush);
        return brush != nullptr;
    }
    if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return false;
    const int id = LOWORD(wparam);
    if (id == kCalculateId) {
        calculate();
    } else if (const auto help = help_texts_.find(id); help != help_texts_.end()) {
        show_warning_box(GetAncestor(handle(), GA_ROOT), environment_.application_title, help->second);
    } else {
        return false;
    }
    result = 0;
    return true;
}

}  // namespace vorlanex::winapp
