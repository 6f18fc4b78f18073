#include "spis/case_properties_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "qtshared/qt_text.h"

namespace vorlanex::spis {

namespace {

// "Zn&alec:": the label with its access key marked.
QString form_label(const casefile::CaseHeaderMember& member) {
    QString label = qtshared::qt_text(member.label);
    const qsizetype key = label.indexOf(QLatin1Char(member.access_key));
    if (key >= 0) label.insert(key, QLatin1Char('&'));
    return label + QLatin1Char(':');
}

QWidget* edit_of(const casefile::CaseHeaderMember& member, const std::optional<std::string>& text, QWidget* parent) {
    const QString shown = qtshared::qt_text(text.value_or(""));
    QWidget* edit = nullptr;
    if (member.several_lines) {
        auto* box = new QPlainTextEdit(shown, parent);
        box->setTabChangesFocus(true);
        edit = box;
    } else {
        auto* line = new QLineEdit(shown, parent);
        if (!member.example.empty())
            line->setPlaceholderText(QStringLiteral("např. ") + qtshared::qt_text(member.example));
        edit = line;
    }
    edit->setAccessibleName(qtshared::qt_text(casefile::accessible_name(member)));
    return edit;
}

std::optional<std::string> text_of(const QString& text) {
    return text.trimmed().isEmpty() ? std::nullopt : std::optional<std::string>(qtshared::utf8(text));
}

std::size_t index_of(casefile::CaseHeaderText member) {
    std::size_t i = 0;
    while (i < casefile::kCaseHeaderMembers.size() && casefile::kCaseHeaderMembers[i].text != member) ++i;
    return i;
}

}  // namespace

CasePropertiesDialog::CasePropertiesDialog(const casefile::CaseHeader& header, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Vlastnosti případu"));
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        const casefile::CaseHeaderMember& member = casefile::kCaseHeaderMembers[i];
        edits_[i] = edit_of(member, header.*member.text, this);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    for (std::size_t i = 0; i < edits_.size(); ++i)
        form->addRow(form_label(casefile::kCaseHeaderMembers[i]), edits_[i]);
    form->addRow(buttons);
    resize(480, sizeHint().height());
}

casefile::CaseHeader CasePropertiesDialog::header() const {
    casefile::CaseHeader header;
    for (const casefile::CaseHeaderMember& member : casefile::kCaseHeaderMembers) {
        header.*member.text = text_of(text(member.text));
    }
    return header;
}

QWidget* CasePropertiesDialog::edit(casefile::CaseHeaderText member) const {
    const std::size_t i = index_of(member);
    return i < edits_.size() ? edits_[i] : nullptr;
}

QString CasePropertiesDialog::text(casefile::CaseHeaderText member) const {
    QWidget* shown = edit(member);
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(shown)) return box->toPlainText();
    if (const auto* line = qobject_cast<const QLineEdit*>(shown)) return line->text();
    return {};
}

void CasePropertiesDialog::set_text(casefile::CaseHeaderText member, const QString& text) {
    QWidget* shown = edit(member);
    if (auto* box = qobject_cast<QPlainTextEdit*>(shown)) box->setPlainText(text);
    if (auto* line = qobject_cast<QLineEdit*>(shown)) line->setText(text);
}

}  // namespace vorlanex::spis
