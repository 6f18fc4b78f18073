#pragma once
// The desktop's list of recently used files (recently-used.xbel in the user's data folder, in the
// XBEL format with the desktop-bookmark metadata), to which the case window adds every case it
// opens or saves, so that file managers and file dialogs of other programs offer it too.
#include <QDateTime>
#include <QString>

#include <optional>

namespace vorlanex::spis {

// The case file's MIME type as resources/io.github.vorlanex.spis.mime.xml declares it, and the name
// and command line this program is listed under.
inline constexpr char kCaseMimeType[] = "application/x-vorlanex-case";
inline constexpr char kRecentApplicationName[] = "Vorlanex Spis";
inline constexpr char kRecentApplicationExec[] = "'vorlanex-spis %u'";

// `xbel` (the file's text; empty when there is none yet) with exactly one bookmark for the file at
// the absolute path `path`, marked as modified and visited at `now` and once more used by this
// program; every other bookmark kept as it was. Nothing when `xbel` is not readable XML, so that a
// damaged list is left for its owner rather than replaced.
std::optional<QString> with_recent_bookmark(const QString& xbel, const QString& path, const QDateTime& now);

// The list's file: $XDG_DATA_HOME/recently-used.xbel, or ~/.local/share/recently-used.xbel.
QString desktop_recent_file();

// Adds `path` to the desktop's list, written atomically and readable by the user alone. A list that
// cannot be read or written is left alone: the desktop's list is a convenience, never a reason to
// fail opening or saving a case.
void add_to_desktop_recent(const QString& path);

}  // namespace vorlanex::spis
