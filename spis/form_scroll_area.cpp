#include "spis/form_scroll_area.h"

#include <QEvent>
#include <QScrollBar>
#include <algorithm>

namespace vorlanex::spis {

FormScrollArea::FormScrollArea(QWidget* form, QWidget* parent) : QScrollArea(parent) {
    setWidget(form);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form->installEventFilter(this);
}

QSize FormScrollArea::minimumSizeHint() const {
    // The form's narrowest width, the vertical scroll bar beside it and the frame around both.
    const int width = widget()->minimumSizeHint().width() + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    return {width, QScrollArea::minimumSizeHint().height()};
}

QSize FormScrollArea::sizeHint() const {
    const QSize wanted = QScrollArea::sizeHint();
    return {std::max(wanted.width(), minimumSizeHint().width()), wanted.height()};
}

bool FormScrollArea::eventFilter(QObject* watched, QEvent* event) {
    // The form's rows changed (another calculation, a longer result): its narrowest width may have
    // too, and the splitter asks again.
    if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

}  // namespace vorlanex::spis
