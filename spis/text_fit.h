#pragma once
// Lines that show their whole text: a number cut at the line's edge ("0,170528590369" for
// 0,17052859036965) reads as another number. A fitted line is never narrower than its text in its
// own font, with the frame and the margins its style draws around it, and grows with what is set
// or typed in it, so the form around it grows (and scrolls) instead of cutting the number.
#include <QString>

class QLineEdit;

namespace vorlanex::spis {

// The width `line` needs to show `text` whole in its font, its style's frame and margins included.
int width_showing(const QLineEdit& line, const QString& text);

// Keeps `line` at least as wide as its text, and as `shortest` (a placeholder, an example of what
// is typed there), whenever its text changes.
void fit_to_text(QLineEdit* line, const QString& shortest);

}  // namespace vorlanex::spis
