#pragma once
// The case file reader's faults in Czech, for the case window's messages: each kind of fault the
// reader tells has its Czech sentence, with the line and what the fault names
// ("řádek 3: neznámá položka „foo“"). vorlanex-calc keeps printing the reader's English message.
#include <QString>

#include "casefile/case_file.h"

namespace vorlanex::spis {

QString czech_case_error(const casefile::CaseError& error);

}  // namespace vorlanex::spis
