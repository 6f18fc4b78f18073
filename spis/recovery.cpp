#include "spis/recovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

#include "spis/case_storage.h"

namespace vorlanex::spis {

namespace {

QString lock_path(const QString& copy) { return copy + QStringLiteral(".lock"); }
QString case_path_file(const QString& copy) { return copy + QStringLiteral(".path"); }

// The locks of orphans taken by this program, kept until the orphan is forgotten or the end.
std::vector<std::unique_ptr<QLockFile>>& taken_locks() {
    static std::vector<std::unique_ptr<QLockFile>> locks;
    return locks;
}

}  // namespace

QString recovery_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/obnova");
}

RecoveryCopy::RecoveryCopy()
    : path_(recovery_folder() +
            QStringLiteral("/spis-%1.vorlanex").arg(QUuid::createUuid().toString(QUuid::WithoutBraces))) {}

RecoveryCopy::~RecoveryCopy() = default;  // the file stays: a window gone without a clean close

std::optional<QString> RecoveryCopy::write(std::string_view bytes) {
    if (!lock_) {
        // The copies are of court cases: the folder, the copies and their locks are the user's alone.
        QDir().mkpath(recovery_folder());
        make_private(recovery_folder());
        lock_ = std::make_unique<QLockFile>(lock_path(path_));
        lock_->setStaleLockTime(0);
        if (!lock_->tryLock(0)) {
            lock_.reset();
            return QStringLiteral("Záložní kopii nelze uzamknout: %1").arg(lock_path(path_));
        }
        make_private(lock_path(path_));
    }
    return write_atomically(path_, bytes, Readers::OwnerOnly);
}

std::optional<QString> RecoveryCopy::write(std::string_view bytes, const QString& case_path) {
    // The copy's case path first: a copy is never left beside the path of another case.
    if (case_path.isEmpty()) {
        QFile::remove(case_path_file(path_));
    } else {
        QDir().mkpath(recovery_folder());
        const QByteArray path = case_path.toUtf8();
        if (auto problem = write_atomically(
                case_path_file(path_), std::string_view(path.constData(), static_cast<std::size_t>(path.size())))) {
            return problem;
        }
    }
    return write(bytes);
}

QString recovered_case_path(const QString& copy) {
    QFile file(case_path_file(copy));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

void RecoveryCopy::remove() {
    QFile::remove(case_path_file(path_));
    QFile::remove(path_);
    lock_.reset();  // unlocks and removes the lock file
}

QStringList orphaned_copies() {
    QStringList orphans;
    const QFileInfoList copies =
        QDir(recovery_folder()).entryInfoList({QStringLiteral("*.vorlanex")}, QDir::Files, QDir::Time);
    for (const QFileInfo& copy : copies) {
        auto lock = std::make_unique<QLockFile>(lock_path(copy.absoluteFilePath()));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) continue;  // its window is alive
        orphans << copy.absoluteFilePath();
        taken_locks().push_back(std::move(lock));
    }
    return orphans;
}

void forget_orphan(const QString& path) {
    QFile::remove(case_path_file(path));
    QFile::remove(path);
    std::erase_if(taken_locks(),
                  [&](const std::unique_ptr<QLockFile>& lock) { return lock->fileName() == lock_path(path); });
}

}  // namespace vorlanex::spis
