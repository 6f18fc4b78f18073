#include "spis/case_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "casefile/file_digest.h"

namespace vorlanex::spis {

namespace {

QString lock_path(const QString& case_path) {
    const QFileInfo info(case_path);
    // A file saved for the first time has no canonical path until it exists.
    const QString canonical = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray key = canonical.toUtf8();
    const std::string digest =
        casefile::sha256_hex(std::string_view(key.constData(), static_cast<std::size_t>(key.size())));
    return case_lock_folder() + QStringLiteral("/case-%1.lock").arg(QString::fromLatin1(digest.c_str()));
}

}  // namespace

QString case_lock_folder() {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) runtime = QDir::tempPath();
    return runtime + QStringLiteral("/vorlanex-spis");
}

CaseLock::CaseLock() = default;

CaseLock::CaseLock(const QString& case_path) {
    QDir().mkpath(case_lock_folder());
    lock_ = std::make_unique<QLockFile>(lock_path(case_path));
    lock_->setStaleLockTime(0);  // only a lock whose process is gone is stale
    if (!lock_->tryLock(0)) {
        held_elsewhere_ = lock_->error() == QLockFile::LockFailedError;
        lock_.reset();
    }
}

CaseLock::~CaseLock() = default;
CaseLock::CaseLock(CaseLock&&) noexcept = default;
CaseLock& CaseLock::operator=(CaseLock&&) noexcept = default;

}  // namespace vorlanex::spis
