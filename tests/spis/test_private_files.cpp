// The files the case window writes about the user's court cases are the user's alone: the recovery
// folder 0700, its copies and their locks 0600, the settings file with the recent cases 0600 in a
// folder 0700, under a umask that lets everyone read; a case saved where the user chose keeps the
// umask's mode.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "spis/case_storage.h"
#include "spis/recent_files.h"
#include "spis/recovery.h"

namespace vorlanex::spis {
namespace {

struct WrittenMode {
    QString path;
    mode_t mode;
};

// The modes the files written must have, and what must live while they are looked at (a recovery
// copy's lock goes with its copy).
struct Written {
    std::vector<WrittenMode> modes;
    std::shared_ptr<RecoveryCopy> held;
};

struct PrivateWrite {
    const char* name;
    // Writes into `folder`, a temporary folder, or where the program writes.
    std::function<Written(const QString& folder)> write;
};

class WrittenFiles : public ::testing::TestWithParam<PrivateWrite> {};

mode_t mode_of(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return 07777;
    return status.st_mode & 07777;
}

TEST_P(WrittenFiles, HaveTheirModeUnderAUmaskThatLetsEveryoneRead) {
    const mode_t old_umask = ::umask(022);
    QTemporaryDir folder;
    const Written written = GetParam().write(folder.path());
    ::umask(old_umask);
    for (const WrittenMode& file : written.modes) {
        EXPECT_EQ(mode_of(file.path), file.mode) << file.path.toStdString();
    }
    if (written.held) written.held->remove();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(PrivateFiles, WrittenFiles, ::testing::Values(
    PrivateWrite{"RecoveryCopyItsLockAndFolder", [](const QString&) {
        // A folder left readable by an older version is sealed as well.
        QDir().mkpath(recovery_folder());
        QFile::setPermissions(recovery_folder(), QFile::permissions(recovery_folder()) | QFileDevice::ReadOther |
                                                     QFileDevice::ExeOther);
        auto copy = std::make_shared<RecoveryCopy>();
        EXPECT_EQ(copy->write("{\"format\":1}\n"), std::nullopt);
        EXPECT_EQ(copy->write("{\"format\":1}\n"), std::nullopt);  // written over, still sealed
        return Written{{{recovery_folder(), 0700}, {copy->path(), 0600},
                        {copy->path() + QStringLiteral(".lock"), 0600}}, copy};
    }},
    PrivateWrite{"RecentCasesSettings", [](const QString& folder) {
        store_recent_files({folder + QStringLiteral("/Soudní případ.vorlanex")});
        store_recent_files({folder + QStringLiteral("/Jiný případ.vorlanex")});
        return Written{{{QSettings().fileName(), 0600}, {QFileInfo(QSettings().fileName()).absolutePath(), 0700}},
                       nullptr};
    }},
    PrivateWrite{"CaseSavedByTheUser", [](const QString& folder) {
        const QString path = folder + QStringLiteral("/případ.vorlanex");
        EXPECT_EQ(write_atomically(path, "{}\n"), std::nullopt);
        return Written{{{path, 0644}}, nullptr};
    }}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vorlanex::spis
