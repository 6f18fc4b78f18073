#include "spis/text_fit.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace vorlanex::spis {

namespace {

// The room QLineEdit keeps on each side of its text inside the frame, and the text cursor's width.
constexpr int kLineTextMargin = 2;
constexpr int kCursorWidth = 1;

// Fits its line to the line's text anew when the text, the font or the style changes.
class TextFit final : public QObject {
public:
    TextFit(QLineEdit* line, const QString& shortest) : QObject(line), line_(line), shortest_(shortest) {
        refit();
        connect(line, &QLineEdit::textChanged, this, &TextFit::refit);
        line->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched == line_ && (type == QEvent::FontChange || type == QEvent::StyleChange || type == QEvent::Polish)) {
            refit();
        }
        return false;
    }

private:
    void refit() {
        const int wanted = std::max(width_showing(*line_, line_->text()), width_showing(*line_, shortest_));
        if (line_->minimumWidth() != wanted) line_->setMinimumWidth(wanted);
    }

    QLineEdit* line_;
    QString shortest_;
};

}  // namespace

int width_showing(const QLineEdit& line, const QString& text) {
    // As QLineEdit measures its own size hint, with the text in place of its seventeen "x".
    QStyleOptionFrame option;
    option.initFrom(&line);
    option.rect = line.contentsRect();
    option.lineWidth = line.hasFrame() ? line.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &line) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (line.isReadOnly()) option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    const QMargins text_margins = line.textMargins();
    const QMargins contents_margins = line.contentsMargins();
    const int width = line.fontMetrics().horizontalAdvance(text) + 2 * kLineTextMargin + kCursorWidth +
                      text_margins.left() + text_margins.right() + contents_margins.left() + contents_margins.right();
    const QSize contents(width, line.sizeHint().height());
    return line.style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, &line).width();
}

void fit_to_text(QLineEdit* line, const QString& shortest) { new TextFit(line, shortest); }

}  // namespace vorlanex::spis
