#pragma once
// Recovery copies: a few seconds after each change of an unsaved case, the case's text as it would
// be saved goes to a file of its own window in the program's data folder. The window holds a lock
// beside its copy while it lives, so a copy whose lock is free belongs to a window that is gone
// without a clean close (a crash): that is the copy offered at the next start.
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string_view>

namespace vorlanex::spis {

// The folder of the recovery copies.
QString recovery_folder();

// The copy of one window: its file and its lock.
class RecoveryCopy {
public:
    RecoveryCopy();
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // Written atomically; a Czech message when it could not be.
    std::optional<QString> write(std::string_view bytes);
    // The same, with the path of the case file the copy is of in "<copy>.path" beside it (none for a
    // new case), so the recovered case is that file's again.
    std::optional<QString> write(std::string_view bytes, const QString& case_path);
    void remove();
    const QString& path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

// The copies no living window holds, newest first. Each returned copy's lock is taken for this
// program, so no other start offers it as well; forget_orphan drops the file and its lock.
QStringList orphaned_copies();
void forget_orphan(const QString& path);
// The path of the case file the copy at `copy` was made of; empty for a new case.
QString recovered_case_path(const QString& copy);

}  // namespace vorlanex::spis
