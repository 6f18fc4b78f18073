#pragma once
// The picture of an SVG, drawn on a thread of its own at the widget's size in device pixels: Qt's
// SVG module outlines every letter of a text as a path (about 3 ms for the path–time diagram's 23
// labels), which on the window's thread would hold up the results of every edit. One drawing at a
// time: a newer SVG or size asked for meanwhile is drawn when it ends; until then the last picture
// stays, scaled to fit.
#include <QImage>
#include <QThreadPool>
#include <QWidget>
#include <functional>

namespace vorlanex::spis {

class DiagramPicture final : public QWidget {
public:
    // `drawn` is called when the picture of the present SVG at the present size is on its way to
    // the screen.
    explicit DiagramPicture(std::function<void()> drawn, QWidget* parent);
    ~DiagramPicture() override;  // no drawing outlives the widget

    void set_svg(const QByteArray& svg);
    const QByteArray& svg() const { return svg_; }
    bool drawn() const { return svg_.isEmpty() || !isVisible() || shown_ == wanted(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override { draw_when_needed(); }
    void showEvent(QShowEvent*) override { draw_when_needed(); }

private:
    struct Key {
        quint64 generation = 0;
        QSize pixels;
        qreal ratio = 1;
        bool operator==(const Key&) const = default;
    };

    Key wanted() const;
    void draw_when_needed();
    void take(const QImage& picture, const Key& key);

    std::function<void()> drawn_;
    QByteArray svg_;
    quint64 generation_ = 0;
    bool drawing_ = false;
    QImage picture_;
    Key shown_;
    QThreadPool painter_;
};

// The SVG drawn into an image of `size` (device-independent pixels) at `ratio` device pixels each,
// on `background`.
QImage drawn_svg(const QByteArray& svg, const QSize& size, qreal ratio, const QColor& background);

}  // namespace vorlanex::spis
