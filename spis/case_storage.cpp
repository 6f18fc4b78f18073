#include "spis/case_storage.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <string>

#include "qtshared/qt_text.h"
#include "spis/case_error_text.h"
#include "spis/file_error_text.h"

namespace vorlanex::spis {

std::variant<casefile::CaseFile, QString> read_case(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Soubor „%1“ nelze otevřít: %2").arg(shown_name(path), file.errorString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return QStringLiteral("Soubor „%1“ nelze přečíst: %2").arg(shown_name(path), file.errorString());
    }
    const auto read =
        casefile::read_case_file(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (const auto* error = std::get_if<casefile::CaseError>(&read)) {
        // Only a newer format is a matter of this program's version; any other fault is damage.
        const QString why = error->kind == casefile::CaseError::Kind::NewerFormat
                                ? QStringLiteral("Případ uložila novější verze programu Vorlanex než tato")
                                : QStringLiteral("Soubor je poškozený nebo to není případ programu Vorlanex");
        return QStringLiteral("Soubor „%1“ nelze otevřít: %2.\n\n%3; nic nebylo otevřeno.")
            .arg(shown_name(path), czech_case_error(*error), why);
    }
    return std::get<casefile::CaseFile>(std::move(read));
}

namespace {

// Every byte to the file `handle`; 0, or the error number of the write that failed.
int write_all(int handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(handle, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

QString not_saved(const QString& path, int error_number, const QString& qt_text) {
    return QStringLiteral("Soubor „%1“ nelze uložit: %2")
        .arg(shown_name(path), czech_file_error(error_number, qt_text));
}

}  // namespace

// The bytes go straight to the temporary file's descriptor, so that the error number of a failed
// write (a full disk) is the one the message names; QSaveFile then renames the file over the target.
std::optional<QString> write_atomically(const QString& path, std::string_view bytes, Readers readers) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) return not_saved(path, errno, file.errorString());
    // The temporary file is sealed before a byte is in it; the rename keeps its mode.
    int failed = readers == Readers::OwnerOnly && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0 ? errno : 0;
    if (failed == 0) failed = write_all(file.handle(), bytes);
    if (failed == 0) {
        errno = 0;
        if (file.commit()) return std::nullopt;
        failed = errno;
    }
    const QString qt_text = file.errorString();
    file.cancelWriting();
    return not_saved(path, failed, qt_text) + QStringLiteral("\nSoubor na disku zůstal, jak byl.");
}

void make_private(const QString& path) {
    const bool folder = QFileInfo(path).isDir();
    QFile::setPermissions(path, folder ? QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                       : QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString shown_name(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace vorlanex::spis
