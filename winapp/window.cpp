#include "winapp/window.h"

namespace vorlanex::winapp {

namespace {

constexpr wchar_t kClassName[] = L"Vorlanex";

// Registered on first use, in the module that holds this code.
void register_class_once() {
    static const bool registered = [] {
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof(window_class);
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        window_class.lpszClassName = kClassName;
        return RegisterClassExW(&window_class) != 0;
    }();
    (void)registered;
}

}  // namespace

Window::Window(HWND parent, const RECT& area, const wchar_t* caption) {
    register_class_once();
    const DWORD extended_style = WS_EX_CONTROLPARENT;
    // A page paints its background under its group boxes, which paint only their frame and caption;
    // so only the top-level window leaves its children's areas to them.
    DWORD style = 0;
    RECT frame = area;
    if (parent) {
        style |= WS_CHILD;
    } else {
        style |= WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        AdjustWindowRectEx(&frame, style, FALSE, extended_style);
        OffsetRect(&frame, area.left - frame.left, area.top - frame.top);
    }
    handle_ =
        CreateWindowExW(extended_style, kClassName, caption, style, frame.left, frame.top, frame.right - frame.left,
                        frame.bottom - frame.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    // Messages sent during creation went to the default handling; from now on they come here.
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::procedure));
}

Window::~Window() {
    // By now the derived object is gone: the window's last messages go to the default handling.
    if (IsWindow(handle_)) SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    destroy();
}

void Window::destroy() {
    if (IsWindow(handle_)) DestroyWindow(handle_);
}

LRESULT CALLBACK Window::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* target = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (target && target->on_message(message, wparam, lparam, result)) return result;
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace vorlanex::winapp
