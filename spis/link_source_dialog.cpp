#include "spis/link_source_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "qtshared/qt_text.h"
#include "report/document.h"

namespace vorlanex::spis {

namespace {

// A calculation as the list names it: its title, else its page's name.
QString calculation_name(const casefile::Calculation& calculation) {
    return calculation.title && !calculation.title->empty()
               ? qtshared::qt_text(*calculation.title)
               : qtshared::qt_text(report::page_name(*calculation.scenario.page));
}

// The source's fields, results first (what is usually taken), each "R15 – caption [unit]".
void list_fields(QComboBox* fields, const casefile::Calculation& source) {
    fields->clear();
    for (const page::FieldRole role : {page::FieldRole::Result, page::FieldRole::Input}) {
        for (const page::Field& field : source.scenario.page->layout.fields) {
            if (field.role != role) continue;
            QString shown = qtshared::qt_text(field.id) + QStringLiteral(" – ") +
                            qtshared::qt_text(report::caption_of(field)).trimmed();
            if (!field.unit.empty()) shown += QStringLiteral(" [%1]").arg(qtshared::qt_text(field.unit));
            fields->addItem(shown, qtshared::qt_text(field.id));
        }
    }
}

}  // namespace

std::optional<LinkSourceChoice> choose_link_source(QWidget* parent, const casefile::CaseFile& file, int target,
                                                   const QString& input) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Převzít z výsledku – %1").arg(input));
    auto* calculations = new QComboBox(&dialog);
    calculations->setAccessibleName(QStringLiteral("Výpočet"));
    for (int row = 0; row < static_cast<int>(file.calculations.size()); ++row) {
        if (row == target) continue;
        calculations->addItem(calculation_name(file.calculations[static_cast<std::size_t>(row)]), row);
    }
    auto* fields = new QComboBox(&dialog);
    fields->setAccessibleName(QStringLiteral("Pole"));
    const auto show_fields = [&] {
        if (calculations->currentIndex() < 0) return fields->clear();
        list_fields(fields, file.calculations[calculations->currentData().toUInt()]);
    };
    QObject::connect(calculations, &QComboBox::currentIndexChanged, &dialog, show_fields);
    show_fields();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("&Výpočet:"), calculations);
    form->addRow(QStringLiteral("&Pole:"), fields);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || calculations->currentIndex() < 0 || fields->currentIndex() < 0) {
        return std::nullopt;
    }
    return LinkSourceChoice{calculations->currentData().toInt(), qtshared::utf8(fields->currentData().toString())};
}

}  // namespace vorlanex::spis
