#pragma once
// The path–time diagram of the selected calculation, drawn by Qt's SVG module from the very SVG
// the report prints; a sentence instead for a page without one or a run it could not be drawn from.
// The picture is drawn on a thread of its own: Qt's SVG module outlines every letter of a text as
// a path (about 3 ms for the diagram's 23 labels), which on the window's thread would hold up the
// results of every edit. Until the new picture is there, the last one stays on the screen.
#include <QWidget>

#include "casefile/recorded_run.h"

class QLabel;

namespace vorlanex::spis {

class OpenCase;

class DiagramPicture;

class DiagramPanel final : public QWidget {
    Q_OBJECT
public:
    // The diagram of the run of the case's selected calculation, shown anew with every run.
    explicit DiagramPanel(const OpenCase& open_case, QWidget* parent = nullptr);

    void show_run(const casefile::RecordedRun& run);
    void clear();
    // The SVG shown, empty when none: for the tests.
    const QByteArray& svg() const { return svg_; }
    // Whether the picture on the screen is the one of svg() at the panel's present size (true when
    // there is nothing to draw or the panel is hidden and so draws nothing).
    bool drawn() const;

signals:
    // The picture of svg() has been drawn and is on its way to the screen.
    void picture_drawn();

private:
    DiagramPicture* drawing_;
    QLabel* note_;
    QByteArray svg_;
};

}  // namespace vorlanex::spis
