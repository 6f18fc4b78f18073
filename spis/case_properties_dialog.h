#pragma once
// Soubor → Vlastnosti případu: the case's own description as the case file holds it (file
// reference, title, expert, date of creation, note), each a text; an empty one is none.
#include <QDialog>

#include "casefile/case_file.h"

class QLineEdit;
class QPlainTextEdit;

namespace vorlanex::spis {

class CasePropertiesDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CasePropertiesDialog(const casefile::CaseHeader& header, QWidget* parent = nullptr);

    // The description as edited.
    casefile::CaseHeader header() const;

    QLineEdit* reference_edit() const { return reference_; }
    QLineEdit* title_edit() const { return title_; }
    QLineEdit* expert_edit() const { return expert_; }
    QLineEdit* created_edit() const { return created_; }
    QPlainTextEdit* note_edit() const { return note_; }

private:
    QLineEdit* reference_;
    QLineEdit* title_;
    QLineEdit* expert_;
    QLineEdit* created_;
    QPlainTextEdit* note_;
};

}  // namespace vorlanex::spis
