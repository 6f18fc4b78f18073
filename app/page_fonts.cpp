#include "app/page_fonts.h"

#include <QApplication>

namespace vorlanex::app {

namespace {

// QLabel measures a plain text with its default alignment (left, with tabs expanded; the vertical
// centring is left out of the measure) in a box 2000 pixels wide and high.
constexpr int kLabelMeasureFlags = Qt::AlignLeft | Qt::TextExpandTabs;
constexpr int kLabelMeasureBox = 2000;

}  // namespace

PageFonts::PageFonts() : application_font_(QApplication::font()) {}

bool PageFonts::is_page_font(page::Font font) {
    return font.bold == page::kNormalFont.bold && font.pixel_size == page::kNormalFont.pixel_size;
}

const PageFonts::Face& PageFonts::face(page::Font font) {
    for (const Face& known : faces_) {
        if (known.font.pixel_size == font.pixel_size && known.font.bold == font.bold) return known;
    }
    QFont made = application_font_;
    made.setPixelSize(font.pixel_size);
    made.setBold(font.bold);
    return faces_.emplace_back(Face{font, made, QFontMetrics(made)});
}

const QFont& PageFonts::font(page::Font font) { return face(font).qfont; }

QSize PageFonts::label_size(page::Font font, const QString& text) {
    const auto key = std::make_tuple(font.pixel_size, font.bold, text);
    if (const auto found = label_sizes_.find(key); found != label_sizes_.end()) return found->second;
    const QSize size =
        face(font).metrics.boundingRect(0, 0, kLabelMeasureBox, kLabelMeasureBox, kLabelMeasureFlags, text).size();
    label_sizes_.emplace(key, size);
    return size;
}

int PageFonts::advance(page::Font font, const QString& text) { return face(font).metrics.horizontalAdvance(text); }

QRect PageFonts::ink(page::Font font, const QString& text) {
    const QFontMetrics& metrics = face(font).metrics;
    // The tight rectangle is measured from the baseline; a label's text starts at its top.
    return metrics.tightBoundingRect(text).translated(0, metrics.ascent());
}

}  // namespace vorlanex::app
