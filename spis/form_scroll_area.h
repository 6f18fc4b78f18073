#pragma once
// The scroll area around the calculation's form: it scrolls the form up and down only, and is never
// narrower than the form's narrowest layout, so the splitter beside it takes room from the other
// panes before a line of the form is cut or pushed out of sight sideways.
#include <QScrollArea>

namespace vorlanex::spis {

class FormScrollArea final : public QScrollArea {
public:
    explicit FormScrollArea(QWidget* form, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vorlanex::spis
