#pragma once
// The path–time diagram of the selected calculation, drawn by Qt's SVG module from the very SVG
// the report prints (on a thread of its own, diagram_picture.h); a sentence instead for a page
// without one or a run it could not be drawn from. "Zvětšit…" shows it in a window of its own with
// its labels as large as the window's text; "Uložit obrázek…" saves it as SVG or PNG (both also in
// the picture's context menu).
#include <QPointer>
#include <QWidget>
#include <optional>

#include "casefile/recorded_run.h"

class QAction;
class QLabel;
class QPushButton;

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
    // The diagram in its own window, which follows the selected calculation; nullptr when there is
    // no diagram.
    QWidget* enlarge();
    // The diagram saved at `path` (".svg" or ".png", the PNG as large as the enlarged one); a Czech
    // message when it could not be.
    std::optional<QString> save_picture(const QString& path) const;

signals:
    // The picture of svg() has been drawn and is on its way to the screen.
    void picture_drawn();

private:
    void show_svg(const QByteArray& svg);
    void choose_and_save();

    DiagramPicture* drawing_;
    QLabel* note_;
    QAction* enlarge_;
    QAction* save_;
    QPointer<QWidget> enlarged_;                 // the diagram's own window while it is open
    QPointer<DiagramPicture> enlarged_picture_;  // goes with the window that holds it
    QByteArray svg_;
};

}  // namespace vorlanex::spis
