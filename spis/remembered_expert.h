#pragma once
// A new case's description filled in as the expert would fill it: created today, by the expert who
// described a case last (kept in the program's settings, which are the user's alone).
#include <QDate>
#include <QString>

#include "casefile/case_header.h"

namespace vorlanex::spis {

QString remembered_expert();
// Keeps `expert` for the next new case; an empty name keeps the one before.
void remember_expert(const QString& expert);

// The description of a new case: "created" as the file writes it ("2026-03-14"), and the expert.
casefile::CaseHeader new_case_header(const QDate& today, const QString& expert);

}  // namespace vorlanex::spis
