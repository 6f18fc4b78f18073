#pragma once
// Case files on disk: read whole and checked before anything changes, written atomically (a
// temporary file beside the target, renamed over it only when every byte is written), so a failed
// save leaves the file on disk as it was.
#include <QString>
#include <optional>
#include <string_view>
#include <variant>

#include "casefile/case_file.h"

namespace vorlanex::spis {

// The case in the file at `path`, or a Czech message naming the file and the faulty line.
std::variant<casefile::CaseFile, QString> read_case(const QString& path);
// Who may read a file written: as the umask allows (a case, a protocol), or its owner alone (a
// recovery copy of a court case).
enum class Readers { AsUmaskAllows, OwnerOnly };
// Writes `bytes` to `path` atomically; a Czech message when it could not.
std::optional<QString> write_atomically(const QString& path, std::string_view bytes,
                                        Readers readers = Readers::AsUmaskAllows);
// Makes `path` (a file or a folder) its owner's alone: 0600, or 0700 for a folder.
void make_private(const QString& path);

// The window's text of a file name: "Případ.vorlanex".
QString shown_name(const QString& path);

}  // namespace vorlanex::spis
