#pragma once
// The case files opened or saved last, most recent first, kept in the program's settings (the
// case window may keep settings; the calculator window keeps nothing).
#include <QString>
#include <QStringList>
#include <QVariant>

namespace vorlanex::spis {

inline constexpr qsizetype kMostRecentFiles = 8;

// `list` with `path` first, once, and no more than kMostRecentFiles entries.
QStringList with_recent(QStringList list, const QString& path);

// The list as the settings hold it, and the list written back to them.
QStringList stored_recent_files();
void store_recent_files(const QStringList& list);

// Writes one value to the program's settings, which name the user's court cases and experts: the
// settings file is its owner's alone (0600), in a folder of the owner's alone (0700).
void store_private_setting(const QString& key, const QVariant& value);

}  // namespace vorlanex::spis
