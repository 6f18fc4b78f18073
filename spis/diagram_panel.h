#pragma once
// The path–time diagram of the selected calculation, drawn by Qt's SVG module from the very SVG
// the report prints; a sentence instead for a page without one or a run it could not be drawn from.
#include <QWidget>

#include "report/recorded_run.h"

class QLabel;
class QSvgWidget;

namespace vorlanex::spis {

class DiagramPanel final : public QWidget {
    Q_OBJECT
public:
    explicit DiagramPanel(QWidget* parent = nullptr);

    void show_run(const report::RecordedRun& run);
    void clear();
    // The SVG shown, empty when none: for the tests.
    const QByteArray& svg() const { return svg_; }

private:
    QSvgWidget* drawing_;
    QLabel* note_;
    QByteArray svg_;
};

}  // namespace vorlanex::spis
