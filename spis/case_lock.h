#pragma once
// The mark that a window has a case file open: a lock file in the user's runtime folder named by the
// SHA-256 of the case's canonical path, held while the window has the case open. A second window
// that opens the same file finds the lock held by a living window and says so; it opens the case
// all the same. The lock lives outside the case's folder, which may be read-only or an archive the
// expert hands over, and a lock left by a crashed window is taken over as stale.
#include <QLockFile>
#include <QString>
#include <memory>

namespace vorlanex::spis {

class CaseLock {
public:
    // No case file: nothing held.
    CaseLock();
    explicit CaseLock(const QString& case_path);
    ~CaseLock();
    CaseLock(CaseLock&&) noexcept;
    CaseLock& operator=(CaseLock&&) noexcept;

    // True when another living window holds the case (this one then holds nothing).
    bool held_elsewhere() const { return held_elsewhere_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool held_elsewhere_ = false;
};

// The folder of the locks of open cases.
QString case_lock_folder();

}  // namespace vorlanex::spis
