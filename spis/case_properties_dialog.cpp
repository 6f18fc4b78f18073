#include "spis/case_properties_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "qtshared/qt_text.h"

namespace vorlanex::spis {

namespace {

QLineEdit* line_of(const std::optional<std::string>& text, const QString& accessible_name, QWidget* parent) {
    auto* line = new QLineEdit(qtshared::qt_text(text.value_or("")), parent);
    line->setAccessibleName(accessible_name);
    return line;
}

std::optional<std::string> text_of(const QString& text) {
    return text.trimmed().isEmpty() ? std::nullopt : std::optional<std::string>(qtshared::utf8(text));
}

}  // namespace

CasePropertiesDialog::CasePropertiesDialog(const casefile::CaseHeader& header, QWidget* parent)
    : QDialog(parent),
      reference_(line_of(header.reference, QStringLiteral("Spisová značka"), this)),
      title_(line_of(header.title, QStringLiteral("Název případu"), this)),
      expert_(line_of(header.expert, QStringLiteral("Znalec"), this)),
      created_(line_of(header.created, QStringLiteral("Založeno"), this)),
      note_(new QPlainTextEdit(qtshared::qt_text(header.note.value_or("")), this)) {
    setWindowTitle(QStringLiteral("Vlastnosti případu"));
    note_->setAccessibleName(QStringLiteral("Poznámka k případu"));
    note_->setTabChangesFocus(true);
    created_->setPlaceholderText(QStringLiteral("např. 2026-03-14"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Spisová značka:"), reference_);
    form->addRow(QStringLiteral("&Název případu:"), title_);
    form->addRow(QStringLiteral("Zn&alec:"), expert_);
    form->addRow(QStringLiteral("&Založeno:"), created_);
    form->addRow(QStringLiteral("&Poznámka:"), note_);
    form->addRow(buttons);
    resize(480, sizeHint().height());
}

casefile::CaseHeader CasePropertiesDialog::header() const {
    return {text_of(reference_->text()), text_of(title_->text()), text_of(expert_->text()), text_of(created_->text()),
            text_of(note_->toPlainText())};
}

}  // namespace vorlanex::spis
