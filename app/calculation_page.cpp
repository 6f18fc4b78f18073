#include "app/calculation_page.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/boxes.h"
#include "app/pictures.h"
#include "numeric/faults.h"
#include "page/help_texts.h"

namespace vorlanex::app {

namespace {

QString qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont font_of(page::Font font) {
    QFont result = QApplication::font();
    result.setPixelSize(font.pixel_size);
    result.setBold(font.bold);
    return result;
}

// The calculation's view of the page: the fields' texts, and warning boxes over the window.
class WidgetPort : public page::Port {
public:
    WidgetPort(const std::map<std::string, QLineEdit*, std::less<>>& fields, const Environment& environment,
               QWidget* window)
        : fields_(fields), environment_(environment), window_(window) {}

    std::string text(std::string_view field_id) const override { return edit(field_id)->text().toStdString(); }
    void set_text(std::string_view field_id, std::string_view text) override {
        QLineEdit* field = edit(field_id);
        field->setText(qstring(text));
        field->setCursorPosition(0);  // a value too long for its field shows its leading digits
    }
    void warning(std::string_view message) override {
        show_warning_box(window_, environment_.application_title, message);
    }
    const numeric::DecimalSeparator& separator() const override { return environment_.separator; }

private:
    QLineEdit* edit(std::string_view field_id) const { return fields_.find(field_id)->second; }

    const std::map<std::string, QLineEdit*, std::less<>>& fields_;
    const Environment& environment_;
    QWidget* window_;
};

}  // namespace

CalculationPage::CalculationPage(const page::PageDefinition& definition, const Environment& environment,
                                 QWidget* parent)
    : QWidget(parent), definition_(definition), environment_(environment) {
    setObjectName(qstring(definition.key));
    // Stacking order: boxes at the back, then texts and pictures, then the controls.
    add_group_boxes();
    add_labels();
    add_pictures();
    add_fields();
    add_buttons();
}

QLineEdit* CalculationPage::field(std::string_view id) const {
    const auto it = fields_.find(id);
    return it == fields_.end() ? nullptr : it->second;
}

void CalculationPage::calculate() {
    WidgetPort port(fields_, environment_, window());
    try {
        definition_.calculate(port);
    } catch (const numeric::Fault& fault) {
        show_error_box(window(), environment_.application_title, numeric::error_box_text(fault.message()));
    }
}

void CalculationPage::add_group_boxes() {
    for (const page::GroupBox& group : definition_.layout.group_boxes) {
        auto* box = new QGroupBox(qstring(group.caption), this);
        box->setGeometry(group.rect.left, group.rect.top, group.rect.width, group.rect.height);
    }
}

void CalculationPage::add_labels() {
    const QFont power_font = font_of(page::kNormalFont);
    for (const page::Label& text_label : definition_.layout.labels) {
        auto* label = new QLabel(qstring(text_label.text), this);
        label->setFont(font_of(text_label.font));
        label->adjustSize();
        if (text_label.centre_width > 0) {
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setGeometry(text_label.left, text_label.top, text_label.centre_width, label->height());
        } else {
            label->move(text_label.left, text_label.top);
        }
        if (!text_label.power.empty()) {
            // The power sits raised in the blank that the bracket keeps for it after the unit.
            const QString text = qstring(text_label.text);
            const int blank = static_cast<int>(text.indexOf(u' '));
            const int offset = QFontMetrics(label->font()).horizontalAdvance(text.left(blank));
            auto* power = new QLabel(qstring(text_label.power), this);
            power->setFont(power_font);
            power->adjustSize();
            power->move(text_label.left + offset + 1, text_label.top - 3);
        }
    }
}

void CalculationPage::add_pictures() {
    for (const page::PicturePlacement& placement : definition_.layout.pictures) {
        auto* image = new QLabel(this);
        const QPixmap pixmap = picture(placement.picture);
        image->setPixmap(pixmap);
        image->setGeometry(placement.left, placement.top, pixmap.width(), pixmap.height());
    }
}

void CalculationPage::add_fields() {
    QPalette result_palette = palette();
    result_palette.setColor(QPalette::Base, result_palette.color(QPalette::Button));
    QFont bold_font = font();
    bold_font.setBold(true);
    for (const page::Field& placed : definition_.layout.fields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(qstring(placed.id));
        edit->setAccessibleName(qstring(placed.accessible_name));
        edit->setGeometry(placed.rect.left, placed.rect.top, placed.rect.width, placed.rect.height);
        edit->setTextMargins(0, 0, 0, 0);
        if (placed.role == page::FieldRole::Input) {
            edit->setText(qstring(page::default_text(placed, environment_.separator)));
        } else {
            // Grey and outside the tab order, but the user may still click into it and type.
            edit->setPalette(result_palette);
            edit->setFocusPolicy(Qt::ClickFocus);
        }
        if (placed.look == page::Look::Borderless) edit->setFrame(false);
        if (placed.look == page::Look::Bold) edit->setFont(bold_font);
        fields_.emplace(std::string(placed.id), edit);
    }
}

void CalculationPage::add_buttons() {
    for (const page::HelpButton& help_button : definition_.layout.help_buttons) {
        auto* help = new QPushButton(QStringLiteral("?"), this);
        help->setAccessibleName(qstring(help_button.accessible_name));
        help->setFocusPolicy(Qt::NoFocus);
        help->setGeometry(help_button.rect.left, help_button.rect.top, help_button.rect.width, help_button.rect.height);
        const page::HelpText which = help_button.text;
        connect(help, &QPushButton::clicked, this, [this, which] { show_help(which); });
    }
    const page::Rect& rect = definition_.layout.calculate_button;
    calculate_button_ = new QPushButton(QStringLiteral("Výpočet"), this);
    calculate_button_->setObjectName(QStringLiteral("calculate"));
    calculate_button_->setGeometry(rect.left, rect.top, rect.width, rect.height);
    // Enter or Space on the focused button presses it; outside a dialog no button is the default,
    // so Enter in a field starts nothing.
    calculate_button_->setAutoDefault(true);
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

void CalculationPage::show_help(page::HelpText which) {
    show_warning_box(window(), environment_.application_title, page::help_text(which));
}

}  // namespace vorlanex::app
