#pragma once
// The window's style: the classic Windows look of Qt, with group box captions that end before the
// frame. A caption's blanks and letters are laid out in a face other than the one the layout was
// drawn in; where a caption would reach into the frame's right edge, the box would lose its
// top-right corner (the caption's gap in the top line runs into it).
#include <QProxyStyle>

namespace vorlanex::app {

class CaptionFittingStyle : public QProxyStyle {
public:
    // Takes ownership of `base`, Qt's "Windows" style.
    explicit CaptionFittingStyle(QStyle* base);

    // A group box's caption keeps its trailing blanks only as far as there is room for them; a
    // caption still too wide starts nearer the left edge. Either way its gap in the top line ends
    // before the frame's two right lines and the pixel of top line that turns into them.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
};

}  // namespace vorlanex::app
