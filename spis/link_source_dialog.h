#pragma once
// "Převzít z výsledku…": the calculation of the case and its field (a result or an input) an input
// is to take its text from, chosen in a small dialog.
#include <QWidget>
#include <optional>
#include <string>

#include "casefile/case_file.h"

namespace vorlanex::spis {

struct LinkSourceChoice {
    int row = -1;       // the source's row in the case
    std::string field;  // its field
};

// The choice made for the input `input` of the calculation at `target`, or nothing when cancelled.
std::optional<LinkSourceChoice> choose_link_source(QWidget* parent, const casefile::CaseFile& file, int target,
                                                   const QString& input);

}  // namespace vorlanex::spis
