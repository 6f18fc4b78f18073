#include "winapp/window_program.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "numeric/application_title.h"
#include "numeric/arithmetic_mode.h"
#include "winapp/main_window.h"
#include "winapp/text_conversion.h"

namespace vorlanex::winapp {

Environment start_window_program(std::string_view executable_path) {
    numeric::set_arithmetic_mode();
    // WIC decodes the pictures through COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::string title = numeric::application_title(numeric::own_executable_path(executable_path));
    return {numeric::DecimalSeparator::from_regional_settings(), wide_text(title)};
}

int run_window_program(std::string_view executable_path) {
    MainWindow window(start_window_program(executable_path));
    window.quit_when_closed();
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    UpdateWindow(window.handle());
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, Shift+Tab, Space and the arrows move between and press the controls, as in a dialog.
        if (IsDialogMessageW(window.handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace vorlanex::winapp
