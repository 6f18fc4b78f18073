#pragma once
// What a case file on disk was when the window read or wrote it: its size, its modification time and
// the SHA-256 of its bytes. Before a save overwrites the file, the file as it is now is compared with
// the stamp, so the changes another window or program wrote in the meantime are not lost unasked.
#include <QDateTime>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace vorlanex::spis {

struct FileStamp {
    qint64 size = 0;
    QDateTime modified;
    std::string sha256;
};

// The file at `path` as it is now; none when it cannot be read (gone, or not there yet).
std::optional<FileStamp> stamp_of_file(const QString& path);
// The stamp of `bytes` just written to `path`.
FileStamp stamp_of_written(const QString& path, std::string_view bytes);
// True when the file at `path` holds other bytes than `stamp` says. A file that is gone holds nothing
// a save could overwrite.
bool changed_since(const FileStamp& stamp, const QString& path);

}  // namespace vorlanex::spis
