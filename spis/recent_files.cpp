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

// The list names the user's court cases: the settings file is the user's alone.
void store_recent_files(const QStringList& list) {
    QSettings settings;
    settings.setValue(kKey, list);
    settings.sync();
    if (settings.status() == QSettings::NoError) make_private(settings.fileName());
}

}  // namespace vorlanex::spis
