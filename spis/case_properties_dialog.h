#pragma once
// Soubor → Vlastnosti případu: the case's own description as the case file holds it (file
// reference, title, expert, date of creation, note), each a text; an empty one is none. One edit
// for each member of casefile::kCaseHeaderMembers, labelled as the table labels it.
#include <QDialog>
#include <array>

#include "casefile/case_file.h"

namespace vorlanex::spis {

class CasePropertiesDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CasePropertiesDialog(const casefile::CaseHeader& header, QWidget* parent = nullptr);

    // The description as edited.
    casefile::CaseHeader header() const;

    // The edit of one member: a QLineEdit, or a QPlainTextEdit for a text of several lines; and its text.
    QWidget* edit(casefile::CaseHeaderText member) const;
    QString text(casefile::CaseHeaderText member) const;
    void set_text(casefile::CaseHeaderText member, const QString& text);

private:
    std::array<QWidget*, casefile::kCaseHeaderMembers.size()> edits_{};  // in the table's order
};

}  // namespace vorlanex::spis
