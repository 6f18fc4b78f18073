#include "app/calculation_page.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "app/boxes.h"
#include "app/look.h"
#include "app/page_fonts.h"
#include "app/pictures.h"
#include "page/press_calculate.h"
#include "qtshared/qt_text.h"
#include "registry/window_furniture.h"

namespace vorlanex::app {

namespace {

// A field's look beyond its role: its border, its font (only where it differs from the page's,
// so that ordinary fields keep inheriting it) and its text colour.
void apply_look(QLineEdit* edit, const page::FieldLook& look, PageFonts& fonts) {
    if (!look.frame) edit->setFrame(false);
    if (!PageFonts::is_page_font(look.font)) edit->setFont(fonts.font(look.font));
    if (look.colour == page::TextColour::Red) {
        QPalette red_text = edit->palette();
        red_text.setColor(QPalette::Text, Qt::red);
        edit->setPalette(red_text);
    }
}

// The calculation's view of the page: the fields' texts, and warning boxes over the window.
class WidgetPort : public page::Port {
public:
    WidgetPort(const std::map<std::string, QLineEdit*, std::less<>>& fields, const Environment& environment,
               QWidget* window)
        : fields_(fields), environment_(environment), window_(window) {}

    // A field the page does not have reads as empty and takes no text, as on the page without a
    // window, so both front ends answer a calculation alike.
    std::string text(std::string_view field_id) const override {
        const QLineEdit* field = edit(field_id);
        return field ? field->text().toStdString() : std::string();
    }
    void set_text(std::string_view field_id, std::string_view text) override {
        QLineEdit* field = edit(field_id);
        if (!field) return;
        field->setText(qtshared::qt_text(text));
        field->setCursorPosition(0);  // a value too long for its field shows its leading digits
    }
    void warning(std::string_view message) override {
        show_warning_box(window_, environment_.application_title, message);
    }
    const numeric::DecimalSeparator& separator() const override { return environment_.separator; }

private:
    QLineEdit* edit(std::string_view field_id) const {
        const auto found = fields_.find(field_id);
        return found != fields_.end() ? found->second : nullptr;
    }

    const std::map<std::string, QLineEdit*, std::less<>>& fields_;
    const Environment& environment_;
    QWidget* window_;
};

// "Výpočet". No button of the window is a default button, and it is not auto-default either: an
// auto-default button is drawn one pixel inside its area to leave room for the default frame.
// Space on the focused button presses it (as on every push button), and so do Enter and Return.
class CalculateButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
            QPushButton::keyPressEvent(event);
            return;
        }
        if (!event->isAutoRepeat()) click();  // once for each press, however long the key is held
        event->accept();
    }
};

}  // namespace

CalculationPage::CalculationPage(const page::PageDefinition& definition, const Environment& environment,
                                 PageFonts& fonts, std::span<const page::HelpButton> program_help_buttons,
                                 QWidget* parent)
    : QWidget(parent),
      definition_(definition),
      environment_(environment),
      fonts_(fonts),
      program_help_buttons_(program_help_buttons) {
    setObjectName(qtshared::qt_text(definition.key));
}

void CalculationPage::build() {
    if (built_) return;
    built_ = true;
    // Stacking order: boxes at the back, then pictures, then texts (a caption that reaches into a
    // picture's white margin stays readable), then the controls.
    add_group_boxes();
    add_pictures();
    add_labels();
    add_fields();
    add_help_buttons(program_help_buttons_);
    add_help_buttons(definition_.layout.help_buttons);
    add_calculate_button();
    apply_reading_order(this, environment_.reading_order);
}

void CalculationPage::showEvent(QShowEvent* event) {
    if (!built_) {
        // Built before the page's first paint. Qt has shown the page's children by the time the
        // page hears it is shown, so the ones made now are shown here.
        build();
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->show();
    }
    QWidget::showEvent(event);
}

QLineEdit* CalculationPage::field(std::string_view id) {
    build();
    const auto it = fields_.find(id);
    return it == fields_.end() ? nullptr : it->second;
}

QPushButton* CalculationPage::calculate_button() {
    build();
    return calculate_button_;
}

void CalculationPage::calculate() {
    build();
    WidgetPort port(fields_, environment_, window());
    if (const std::optional<std::string> error_box = page::press_calculate(definition_, port)) {
        show_error_box(window(), environment_.application_title, *error_box);
    }
}

void CalculationPage::add_group_boxes() {
    for (const page::GroupBox& group : definition_.layout.group_boxes) {
        auto* box = new QGroupBox(qtshared::qt_text(group.caption), this);
        // The caption takes the font; the box's contents keep the page's.
        if (!PageFonts::is_page_font(group.font)) box->setFont(fonts_.font(group.font));
        box->setGeometry(group.rect.left, group.rect.top, group.rect.width, group.rect.height);
    }
}

void CalculationPage::add_labels() {
    // Each label takes the size of its text, measured once for the window: the size adjustSize()
    // would give it, without laying the text out again for every label alike.
    const page::Label* previous = nullptr;
    for (const page::Label& text_label : definition_.layout.labels) {
        if (text_label.text.empty()) continue;
        const QString text = qtshared::qt_text(text_label.text);
        auto* label = new QLabel(text, this);
        if (!PageFonts::is_page_font(text_label.font)) label->setFont(fonts_.font(text_label.font));
        const QSize size = fonts_.label_size(text_label.font, text);
        if (text_label.ink_centred) {
            label->setGeometry(QRect(QPoint(ink_centred_left(text_label, text), text_label.top), size));
        } else if (text_label.centre_width > 0) {
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setGeometry(text_label.left, text_label.top, text_label.centre_width, size.height());
        } else if (text_label.after_previous && previous) {
            label->setGeometry(QRect(QPoint(std::max(text_label.left, index_left(*previous)), text_label.top), size));
        } else {
            label->setGeometry(QRect(QPoint(text_label.left, text_label.top), size));
        }
        if (!text_label.power.empty()) {
            // The power sits raised in the blank that the bracket keeps for it after the unit.
            const QString power_text = qtshared::qt_text(text_label.power);
            auto* power = new QLabel(power_text, this);
            power->setGeometry(QRect(QPoint(index_left(text_label), text_label.top - 3),
                                     fonts_.label_size(page::kNormalFont, power_text)));
        }
        previous = &text_label;
    }
}

int CalculationPage::index_left(const page::Label& symbol) {
    // The blank kept for the index is the first run of two spaces or more: "EES   =", "m    =",
    // "Hodnotu EES   stanovíme", "[km.h   ]". One pixel clears the symbol's last stroke.
    const QString text = qtshared::qt_text(symbol.text);
    const qsizetype blank = text.indexOf(QStringLiteral("  "));
    return symbol.left + fonts_.advance(symbol.font, text.left(blank)) + 1;
}

int CalculationPage::ink_centred_left(const page::Label& sign, const QString& text) {
    const QRect ink = fonts_.ink(sign.font, text);
    // The ink's centre on the centre of the width, rounded to the left as the pixels fall.
    return sign.left + (sign.centre_width - ink.width()) / 2 - ink.left();
}

void CalculationPage::add_pictures() {
    for (const page::PicturePlacement& placement : definition_.layout.pictures) {
        auto* image = new QLabel(this);
        const QPixmap pixmap = picture(placement.picture);
        image->setObjectName(qtshared::qt_text(placement.picture));
        image->setPixmap(pixmap);
        // In page pixels: on a scaled screen the pixmap holds more device pixels than that.
        image->setGeometry(QRect(QPoint(placement.left, placement.top), pixmap.deviceIndependentSize().toSize()));
    }
}

void CalculationPage::add_fields() {
    QPalette result_palette = palette();
    result_palette.setColor(QPalette::Base, result_palette.color(QPalette::Button));
    for (const page::Field& placed : definition_.layout.fields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(qtshared::qt_text(placed.id));
        edit->setAccessibleName(qtshared::qt_text(placed.accessible_name));
        edit->setGeometry(placed.rect.left, placed.rect.top, placed.rect.width, placed.rect.height);
        // A field holds a text of any length, as the command does (Qt would cut it at 32767).
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->setTextMargins(0, 0, 0, 0);
        if (placed.role == page::FieldRole::Input) {
            edit->setText(qtshared::qt_text(page::default_text(placed, environment_.separator)));
        } else {
            // Grey and outside the tab order, but the user may still click into it and type.
            edit->setPalette(result_palette);
            edit->setFocusPolicy(Qt::ClickFocus);
        }
        apply_look(edit, placed.look, fonts_);
        fields_.emplace(std::string(placed.id), edit);
    }
}

void CalculationPage::add_help_buttons(std::span<const page::HelpButton> help_buttons) {
    for (const page::HelpButton& help_button : help_buttons) {
        auto* help = new QPushButton(QStringLiteral("?"), this);
        help->setAccessibleName(qtshared::qt_text(help_button.accessible_name));
        help->setFocusPolicy(Qt::NoFocus);
        help->setGeometry(help_button.rect.left, help_button.rect.top, help_button.rect.width, help_button.rect.height);
        const std::string_view text = help_button.text;
        connect(help, &QPushButton::clicked, this,
                [this, text] { show_warning_box(window(), environment_.application_title, text); });
    }
}

void CalculationPage::add_calculate_button() {
    const page::Rect& rect = definition_.layout.calculate_button;
    calculate_button_ = new CalculateButton(qtshared::qt_text(registry::kCalculateCaption), this);
    calculate_button_->setObjectName(QStringLiteral("calculate"));
    calculate_button_->setGeometry(rect.left, rect.top, rect.width, rect.height);
    // Outside a dialog no button is the default, so Enter in a field starts nothing.
    calculate_button_->setAutoDefault(false);
    connect(calculate_button_, &QPushButton::clicked, this, [this] { calculate(); });

    // Tab visits the input fields in reading order, then the button.
    QWidget* previous = nullptr;
    for (const page::Field& placed : definition_.layout.fields) {
        if (placed.role != page::FieldRole::Input) continue;
        QWidget* current = field(placed.id);
        if (previous) setTabOrder(previous, current);
        previous = current;
    }
    if (previous) setTabOrder(previous, calculate_button_);
}

}  // namespace vorlanex::app
