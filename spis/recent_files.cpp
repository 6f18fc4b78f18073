#include "spis/recent_files.h"

#include <QFileInfo>
#include <QSettings>

#include "spis/case_storage.h"

namespace vorlanex::spis {

namespace {

const QString kKey = QStringLiteral("recentFiles");

// Two spellings of one file are one entry.
QString canonical(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.absoluteFilePath() : path;
}

}  // namespace

QStringList with_recent(QStringList list, const QString& path) {
    const QString entry = canonical(path);
    list.removeAll(entry);
    list.prepend(entry);
    while (list.size() > kMostRecentFiles) list.removeLast();
    return list;
}

QStringList stored_recent_files() {
    QStringList list = QSettings().value(kKey).toStringList();
    list.removeAll(QString());
    while (list.size() > kMostRecentFiles) list.removeLast();
    return list;
}

void store_recent_files(const QStringList& list) { store_private_setting(kKey, list); }

void store_private_setting(const QString& key, const QVariant& value) {
    QSettings settings;
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError) return;
    make_private(settings.fileName());
    make_private(QFileInfo(settings.fileName()).absolutePath());
}

}  // namespace vorlanex::spis
