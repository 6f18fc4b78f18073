#pragma once
// The fonts of the pages' texts and fields, each made once for the whole window, and the size of
// each one-line text in them, each measured once. The window holds some 280 static texts in four
// fonts, many of them alike ("[m]", "[s]"); letting every label measure itself (QLabel's size hint
// lays its text out three times) was the largest part of the window's start-up.
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>
#include <deque>
#include <map>
#include <tuple>

#include "page/layout.h"

namespace vorlanex::app {

class PageFonts {
public:
    // The fonts derive from the application font as it is now: make this after apply_window_look().
    PageFonts();

    // The page font with this size and weight.
    const QFont& font(page::Font font);
    // True for the font every page widget inherits from the page (no font of its own needed).
    static bool is_page_font(page::Font font);
    // The size of a QLabel holding the one-line plain `text` in `font`, with no frame, margin or
    // indent: its size hint, the size QLabel::adjustSize() would give it.
    QSize label_size(page::Font font, const QString& text);
    // The width of `text` in `font` up to where the next text would start.
    int advance(page::Font font, const QString& text);
    // The pixels `text` inks in `font`, relative to where a label draws it from (its top-left).
    QRect ink(page::Font font, const QString& text);

private:
    struct Face {
        page::Font font;
        QFont qfont;
        QFontMetrics metrics;
    };
    const Face& face(page::Font font);

    QFont application_font_;
    std::deque<Face> faces_;  // a deque: references stay valid as faces are added
    std::map<std::tuple<int, bool, QString>, QSize> label_sizes_;
};

}  // namespace vorlanex::app
