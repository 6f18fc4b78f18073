#include "spis/file_stamp.h"

#include <QFile>
#include <QFileInfo>

#include "casefile/file_digest.h"

namespace vorlanex::spis {

std::optional<FileStamp> stamp_of_file(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return stamp_of_written(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

FileStamp stamp_of_written(const QString& path, std::string_view bytes) {
    return {static_cast<qint64>(bytes.size()), QFileInfo(path).lastModified(), casefile::sha256_hex(bytes)};
}

bool changed_since(const FileStamp& stamp, const QString& path) {
    if (!QFileInfo::exists(path)) return false;
    // The bytes decide: a file touched but not changed loses nothing when it is overwritten.
    if (QFileInfo(path).size() != stamp.size) return true;
    const std::optional<FileStamp> now = stamp_of_file(path);
    return !now || now->sha256 != stamp.sha256;
}

}  // namespace vorlanex::spis
