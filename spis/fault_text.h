#pragma once
// The fault that stopped a calculation's run, as the case window says it: in Czech, with the input
// it comes from when the fault names a text that an input holds ("'x' is not a valid floating point
// value" is the input holding "x"), so the form can mark that input.
#include <QString>
#include <optional>
#include <string>

#include "casefile/recorded_run.h"

namespace vorlanex::spis {

struct ShownFault {
    QString text;          // one Czech sentence
    std::string field_id;  // the input it comes from; empty when it names none
};

// The run's fault in Czech; a fault the window does not know is shown as the error box wrote it.
// Nothing when the run ended without a fault.
std::optional<ShownFault> czech_fault(const casefile::RecordedRun& run);

}  // namespace vorlanex::spis
