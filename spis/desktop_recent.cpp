#include "spis/desktop_recent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace vorlanex::spis {

namespace {

const QString kBookmarkNamespace = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNamespace = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
// The owner of the metadata that the desktop-bookmark format defines.
const QString kMetadataOwner = QStringLiteral("http://freedesktop.org");

QString time_stamp(const QDateTime& time) { return time.toUTC().toString(Qt::ISODateWithMs); }

void write_application(QXmlStreamWriter& writer, const QString& stamp, qlonglong count) {
    writer.writeEmptyElement(kBookmarkNamespace, QStringLiteral("application"));
    writer.writeAttribute(QStringLiteral("name"), QString::fromUtf8(kRecentApplicationName));
    writer.writeAttribute(QStringLiteral("exec"), QString::fromUtf8(kRecentApplicationExec));
    writer.writeAttribute(QStringLiteral("modified"), stamp);
    writer.writeAttribute(QStringLiteral("count"), QString::number(count));
}

// <info><metadata>: the file's MIME type and this program as the one that used it.
void write_info(QXmlStreamWriter& writer, const QString& stamp) {
    writer.writeStartElement(QStringLiteral("info"));
    writer.writeStartElement(QStringLiteral("metadata"));
    writer.writeAttribute(QStringLiteral("owner"), kMetadataOwner);
    writer.writeEmptyElement(kMimeNamespace, QStringLiteral("mime-type"));
    writer.writeAttribute(QStringLiteral("type"), QString::fromUtf8(kCaseMimeType));
    writer.writeStartElement(kBookmarkNamespace, QStringLiteral("applications"));
    write_application(writer, stamp, 1);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
}

void write_new_bookmark(QXmlStreamWriter& writer, const QString& href, const QString& stamp) {
    writer.writeStartElement(QStringLiteral("bookmark"));
    writer.writeAttribute(QStringLiteral("href"), href);
    writer.writeAttribute(QStringLiteral("added"), stamp);
    writer.writeAttribute(QStringLiteral("modified"), stamp);
    writer.writeAttribute(QStringLiteral("visited"), stamp);
    write_info(writer, stamp);
    writer.writeEndElement();
}

bool is_bookmark(const QXmlStreamReader& reader) {
    return reader.namespaceUri().isEmpty() && reader.name() == QStringLiteral("bookmark");
}

bool is_in_bookmark_namespace(const QXmlStreamReader& reader, const QString& name) {
    return reader.namespaceUri() == kBookmarkNamespace && reader.name() == name;
}

// The bookmark's start tag with its dates brought to `stamp` (the date it was added kept).
void write_updated_bookmark_start(QXmlStreamWriter& writer, const QXmlStreamReader& reader, const QString& stamp) {
    writer.writeStartElement(QStringLiteral("bookmark"));
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView name = attribute.qualifiedName();
        if (name != QStringLiteral("modified") && name != QStringLiteral("visited")) writer.writeAttribute(attribute);
    }
    if (!attributes.hasAttribute(QStringLiteral("added"))) writer.writeAttribute(QStringLiteral("added"), stamp);
    writer.writeAttribute(QStringLiteral("modified"), stamp);
    writer.writeAttribute(QStringLiteral("visited"), stamp);
}

QString fresh_list(const QString& href, const QString& stamp) {
    QString text;
    QXmlStreamWriter writer(&text);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeNamespace(kBookmarkNamespace, QStringLiteral("bookmark"));
    writer.writeNamespace(kMimeNamespace, QStringLiteral("mime"));
    writer.writeStartElement(QStringLiteral("xbel"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    write_new_bookmark(writer, href, stamp);
    writer.writeEndDocument();
    return text;
}

}  // namespace

std::optional<QString> with_recent_bookmark(const QString& xbel, const QString& path, const QDateTime& now) {
    const QString href = QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
    const QString stamp = time_stamp(now);
    if (xbel.trimmed().isEmpty()) return fresh_list(href, stamp);

    QString text;
    QXmlStreamWriter writer(&text);
    writer.setAutoFormatting(true);
    QXmlStreamReader reader(xbel);
    int depth = 0;
    bool bookmark_seen = false;
    // Inside the file's bookmark: the depth of its element, and whether this program is listed yet.
    int bookmark_depth = -1;
    bool application_written = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartDocument: writer.writeStartDocument(); break;
            case QXmlStreamReader::StartElement:
                ++depth;
                if (is_bookmark(reader) && reader.attributes().value(QStringLiteral("href")) == href) {
                    if (bookmark_seen) {
                        // A second bookmark of the same file: one is kept.
                        reader.skipCurrentElement();
                        --depth;
                        break;
                    }
                    bookmark_seen = true;
                    bookmark_depth = depth;
                    application_written = false;
                    write_updated_bookmark_start(writer, reader, stamp);
                } else if (bookmark_depth > 0 && is_in_bookmark_namespace(reader, QStringLiteral("application")) &&
                           reader.attributes().value(QStringLiteral("name")) ==
                               QString::fromUtf8(kRecentApplicationName)) {
                    const qlonglong count = reader.attributes().value(QStringLiteral("count")).toLongLong();
                    reader.skipCurrentElement();
                    --depth;
                    if (!application_written) write_application(writer, stamp, std::max<qlonglong>(count, 0) + 1);
                    application_written = true;
                } else {
                    writer.writeCurrentToken(reader);
                }
                break;
            case QXmlStreamReader::EndElement:
                if (depth == bookmark_depth) {
                    if (!application_written) write_info(writer, stamp);
                    bookmark_depth = -1;
                } else if (bookmark_depth > 0 && !application_written &&
                           is_in_bookmark_namespace(reader, QStringLiteral("applications"))) {
                    write_application(writer, stamp, 1);
                    application_written = true;
                } else if (depth == 1 && !bookmark_seen) {
                    write_new_bookmark(writer, href, stamp);
                }
                writer.writeEndElement();
                --depth;
                break;
            case QXmlStreamReader::Characters:
                // The indentation is the writer's own.
                if (!reader.isWhitespace()) writer.writeCurrentToken(reader);
                break;
            case QXmlStreamReader::EndDocument: writer.writeEndDocument(); break;
            default: writer.writeCurrentToken(reader); break;
        }
    }
    if (reader.hasError()) return std::nullopt;
    return text;
}

QString desktop_recent_file() {
    QString data_home = qEnvironmentVariable("XDG_DATA_HOME");
    if (data_home.isEmpty() || !QDir::isAbsolutePath(data_home)) {
        data_home = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return data_home + QStringLiteral("/recently-used.xbel");
}

void add_to_desktop_recent(const QString& path) {
    const QString list_file = desktop_recent_file();
    QString existing;
    if (QFile file(list_file); file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) return;
        existing = QString::fromUtf8(file.readAll());
    }
    const auto updated =
        with_recent_bookmark(existing, QFileInfo(path).absoluteFilePath(), QDateTime::currentDateTimeUtc());
    if (!updated || !QDir().mkpath(QFileInfo(list_file).absolutePath())) return;
    QSaveFile file(list_file);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(updated->toUtf8());
    file.commit();
}

}  // namespace vorlanex::spis
