#pragma once

namespace vorlanex::app {

// The window's look: the classic raised-and-sunken style, and the 8-point face (11 pixels, so the
// fixed layout holds at any screen resolution) with a stand-in where the face is not installed.
// Call once, after the QApplication exists and before any widget is made.
void apply_window_look();

}  // namespace vorlanex::app
