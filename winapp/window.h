#pragma once
// A window of the program's own class whose messages go to a C++ object: the main window, a
// calculation page, a page that holds a nested page tree. Every one is a control parent, so Tab
// and the dialog keys reach the controls on it.
#include <windows.h>

namespace vorlanex::winapp {

class Window {
public:
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND handle() const { return handle_; }

protected:
    // A child window filling `area` of `parent`, or, without a parent, a top-level window whose
    // client area is `area` (its frame's top-left corner at the area's).
    Window(HWND parent, const RECT& area, const wchar_t* caption = L"");

    // Destroys the window (and the controls on it) now, before the derived object's members that
    // its controls use (fonts, bitmaps) go; the messages of its destruction still come here.
    void destroy();

    // Answers a message; false leaves it to Windows' default handling.
    virtual bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) = 0;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND handle_ = nullptr;
};

}  // namespace vorlanex::winapp
