#pragma once
// The results of a run as the clipboard takes them: plain text, one line a result in the layout's
// order ("Rychlost po střetu (R2) = 42,702 km/h"), then the warnings and the fault; and the same as a
// small HTML table, for word processors.
#include <QString>

#include "casefile/recorded_run.h"

class QMimeData;

namespace vorlanex::spis {

QString results_text(const casefile::RecordedRun& run);
QString results_html(const casefile::RecordedRun& run);
// Both forms in one, for QClipboard::setMimeData (the caller owns it until it hands it over).
QMimeData* results_mime_data(const casefile::RecordedRun& run);

}  // namespace vorlanex::spis
