// The Windows calculator window driven as a user would, for the tests and the screenshots:
//
//   vorlanex-window-check --examples        every page's worked example typed into its fields,
//                                           "Výpočet" clicked; one JSON line per page: the boxes
//                                           shown and every field's text afterwards; then the
//                                           page's keys (Tab order, Enter, Space), one line
//   vorlanex-window-check --screenshots DIR every page brought to the front, its client area
//                                           saved as DIR/<page>.png
//
// The boxes a page shows are answered by this program: each is read and closed with OK.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "page/layout.h"
#include "registry/page_tree.h"
#include "winapp/calculation_page.h"
#include "winapp/main_window.h"
#include "winapp/text_conversion.h"
#include "winapp/wic_pictures.h"
#include "winapp/window_program.h"

namespace {

using namespace vorlanex;

// The boxes shown while a page calculates, in order, each as {"warning":TEXT} or {"error":TEXT}.
std::vector<std::string> g_boxes;

std::string json_string(std::string_view text) {
    std::string quoted = "\"";
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (character == '"' || character == '\\') {
            quoted += '\\';
            quoted += character;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            quoted += escaped;
        } else {
            quoted += character;
        }
    }
    return quoted + "\"";
}

// Sets *shown when `control` is an icon that is shown: the error box has one, the warning box none.
BOOL CALLBACK note_icon(HWND control, LPARAM shown) {
    wchar_t class_name[16] = {};
    GetClassNameW(control, class_name, 16);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (_wcsicmp(class_name, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && (style & WS_VISIBLE)) {
        *reinterpret_cast<bool*>(shown) = true;
    }
    return TRUE;
}

// A message box of this thread that is shown and not yet answered: its text recorded (the error
// box is the one with an icon), and OK pressed. The mark dies with the box.
BOOL CALLBACK answer_box(HWND box, LPARAM) {
    constexpr wchar_t kAnswered[] = L"vorlanex-answered";
    wchar_t class_name[16] = {};
    GetClassNameW(box, class_name, 16);
    if (std::wstring_view(class_name) != L"#32770" || !IsWindowVisible(box) || GetPropW(box, kAnswered)) return TRUE;
    SetPropW(box, kAnswered, reinterpret_cast<HANDLE>(1));
    constexpr int kMessageText = 0xFFFF;  // the message box's static text
    HWND text = GetDlgItem(box, kMessageText);
    std::wstring message(static_cast<std::size_t>(GetWindowTextLengthW(text)) + 1, L'\0');
    message.resize(static_cast<std::size_t>(GetWindowTextW(text, message.data(), static_cast<int>(message.size()))));
    for (wchar_t& character : message) {
        if (character == L'\n') character = L'\r';  // the page's own line breaks
    }
    bool error = false;
    EnumChildWindows(box, note_icon, reinterpret_cast<LPARAM>(&error));
    g_boxes.push_back(std::string("{\"") + (error ? "error" : "warning") +
                      "\":" + json_string(winapp::utf8_text(message)) + "}");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Every few milliseconds, also inside a box's own message loop: the boxes shown are answered.
void CALLBACK answer_boxes(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), answer_box, 0); }

std::string field_text(HWND field) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return winapp::utf8_text(text);
}

// Types `text` into the field, as a paste would.
void type_text(HWND field, std::string_view text) { SetWindowTextW(field, winapp::wide_text(text).c_str()); }

// Clicks "Výpočet" of the page and prints one JSON line: the boxes it showed and every field's text.
void calculate_and_print(winapp::CalculationPage& calculation, std::string_view variant) {
    const page::PageDefinition* definition = &calculation.definition();
    g_boxes.clear();
    SetFocus(calculation.calculate_button());
    SendMessageW(calculation.calculate_button(), BM_CLICK, 0, 0);
    std::string line =
        "{\"page\":" + json_string(definition->key) + ",\"variant\":" + json_string(variant) + ",\"boxes\":[";
    for (std::size_t index = 0; index < g_boxes.size(); ++index) line += (index ? "," : "") + g_boxes[index];
    line += "],\"fields\":{";
    const char* comma = "";
    for (const page::Field& placed : definition->layout.fields) {
        line += comma + json_string(placed.id) + ":" + json_string(field_text(calculation.field(placed.id)));
        comma = ",";
    }
    std::printf("%s}}\n", line.c_str());
}

// A key pressed and released on the focused control, through the dialog keys of the window as its
// message loop hands them over.
void press_key(HWND window, UINT key) {
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        const LPARAM flags = message == WM_KEYUP ? LPARAM{1} | (LPARAM{3} << 30) : LPARAM{1};
        MSG pressed{GetFocus(), message, key, flags, GetTickCount(), {}};
        if (!IsDialogMessageW(window, &pressed)) {
            TranslateMessage(&pressed);
            DispatchMessageW(&pressed);
        }
    }
}

// The id of the field that has the focus, "Výpočet" for the button, "" for anything else.
std::string focused(const winapp::CalculationPage& calculation) {
    HWND focus = GetFocus();
    if (focus && focus == calculation.calculate_button()) return "Výpočet";
    for (const page::Field& placed : calculation.definition().layout.fields) {
        if (focus && calculation.field(placed.id) == focus) return std::string(placed.id);
    }
    return {};
}

// True when `key` pressed on `target` filled a result field (all emptied before).
bool key_calculates(HWND window, winapp::CalculationPage& calculation, HWND target, UINT key) {
    std::vector<HWND> results;
    for (const page::Field& placed : calculation.definition().layout.fields) {
        if (placed.role == page::FieldRole::Result) results.push_back(calculation.field(placed.id));
    }
    for (HWND result : results) type_text(result, "");
    SetFocus(target);
    press_key(window, key);
    for (HWND result : results) {
        if (GetWindowTextLengthW(result) > 0) return true;
    }
    return false;
}

// The page's keys: where Tab goes from the first input on, one step for every input, and whether
// Enter in a field, Enter on "Výpočet" and Space on it start the calculation.
void print_keys(HWND window, winapp::CalculationPage& calculation) {
    const page::PageDefinition& definition = calculation.definition();
    std::string line = "{\"keys\":" + json_string(definition.key) + ",\"tab_order\":[";
    SetFocus(calculation.field(definition.layout.fields.front().id));
    line += json_string(focused(calculation));
    for (const page::Field& placed : definition.layout.fields) {
        if (placed.role != page::FieldRole::Input) continue;
        press_key(window, VK_TAB);
        line += "," + json_string(focused(calculation));
    }
    HWND first_input = calculation.field(definition.layout.fields.front().id);
    auto answer = [](bool yes) { return yes ? "true" : "false"; };
    line += std::string("],\"enter_in_field\":") + answer(key_calculates(window, calculation, first_input, VK_RETURN));
    line += std::string(",\"enter_on_button\":") +
            answer(key_calculates(window, calculation, calculation.calculate_button(), VK_RETURN));
    line += std::string(",\"space_on_button\":") +
            answer(key_calculates(window, calculation, calculation.calculate_button(), VK_SPACE));
    std::printf("%s}\n", line.c_str());
}

// Each page three times: its worked example, then the same with its first input unreadable ("x"),
// which the error box reports, and then with 3000 "x" there, which the error box quotes cut.
int run_examples(winapp::MainWindow& window, const winapp::Environment& environment) {
    const UINT_PTR answering = SetTimer(nullptr, 0, 10, answer_boxes);
    // Shown, so its controls can take the focus.
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    std::printf("{\"separator\":%s}\n", json_string(environment.separator.text()).c_str());
    for (const page::PageDefinition* definition : registry::calculation_pages()) {
        window.show_page(definition->key);
        winapp::CalculationPage& calculation = *window.page(definition->key);
        for (const page::FieldText& typed : definition->worked_example) {
            type_text(calculation.field(typed.id), page::with_separator(typed.text, environment.separator));
        }
        calculate_and_print(calculation, "example");
        // The keys leave the fields as the example did: the last of them calculates it again.
        print_keys(window.handle(), calculation);
        type_text(calculation.field(definition->layout.fields.front().id), "x");
        calculate_and_print(calculation, "unreadable");
        type_text(calculation.field(definition->layout.fields.front().id), std::string(3000, 'x'));
        calculate_and_print(calculation, "long");
    }
    KillTimer(nullptr, answering);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

void pump_messages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int save_screenshots(winapp::MainWindow& window, const std::string& folder) {
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    SetForegroundWindow(window.handle());
    int failures = 0;
    for (const page::PageDefinition* definition : registry::calculation_pages()) {
        window.show_page(definition->key);
        RedrawWindow(window.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        for (int round = 0; round < 5; ++round) {
            pump_messages();
            Sleep(40);
        }
        RECT client{};
        GetClientRect(window.handle(), &client);
        HDC window_device = GetDC(window.handle());
        HDC copy_device = CreateCompatibleDC(window_device);
        HBITMAP copy = CreateCompatibleBitmap(window_device, client.right, client.bottom);
        HGDIOBJ previous = SelectObject(copy_device, copy);
        BitBlt(copy_device, 0, 0, client.right, client.bottom, window_device, 0, 0, SRCCOPY);
        SelectObject(copy_device, previous);
        const std::wstring path = winapp::wide_text(folder + "\\" + std::string(definition->key) + ".png");
        if (!winapp::save_png(copy, path)) {
            std::fprintf(stderr, "vorlanex-window-check: cannot write %s\n", winapp::utf8_text(path).c_str());
            ++failures;
        }
        DeleteObject(copy);
        DeleteDC(copy_device);
        ReleaseDC(window.handle(), window_device);
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (!(mode == "--examples" && argc == 2) && !(mode == "--screenshots" && argc == 3)) {
        std::fprintf(stderr, "usage: vorlanex-window-check --examples | --screenshots DIR\n");
        return 2;
    }
    const winapp::Environment environment = winapp::start_window_program(argv[0]);
    winapp::MainWindow window(environment);
    return mode == "--examples" ? run_examples(window, environment) : save_screenshots(window, argv[2]);
}
