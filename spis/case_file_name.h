#pragma once
// The name a new case's file is offered under at its first save, made from the case's file
// reference: "ZP 17/2026" → "ZP-17-2026.vorlanex".
#include <QString>

namespace vorlanex::spis {

// A file name any usual file system takes: letters with their diacritics kept; slashes, spaces and
// the characters other systems refuse (\ : * ? " < > |) turned into one "-"; control and invisible
// formatting characters dropped; no dot or "-" at either end (no hidden file); a name that a
// Windows disk reserves (CON, NUL, COM1, …) or one that leaves nothing gives none (an empty text);
// at most 200 bytes before ".vorlanex".
QString case_file_name(const QString& reference);

}  // namespace vorlanex::spis
