// Why a save failed, in Czech: each error number the disk gives has its sentence, Qt's text follows
// only when it says more, and a save onto a really full disk (a small tmpfs, when this user may
// mount one) says the disk is full and leaves the file on disk as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <string>

#include "spis/case_storage.h"
#include "spis/file_error_text.h"

namespace vorlanex::spis {
namespace {

struct ErrorCase {
    const char* name;
    int error_number;
    QString qt_text;
    QString expected;
};

class FileErrorText : public ::testing::TestWithParam<ErrorCase> {};

// The system's own text of an error number, in the language of the locale the test runs under:
// "%usual%" in a row, put in when the row runs (the rows are made before the locale is set).
const QString kUsual = QStringLiteral("%usual%");
QString usual(int error_number) { return QString::fromLocal8Bit(std::strerror(error_number)); }

TEST_P(FileErrorText, IsCzechWithQtsTextOnlyWhenItSaysMore) {
    const QString system_text = usual(GetParam().error_number);
    QString qt_text = GetParam().qt_text, expected = GetParam().expected;
    EXPECT_EQ(czech_file_error(GetParam().error_number, qt_text.replace(kUsual, system_text)).toStdString(),
              expected.replace(kUsual, system_text).toStdString());
}

const QString kUnknown = QStringLiteral("Unknown error");

// clang-format off
INSTANTIATE_TEST_SUITE_P(FileErrors, FileErrorText, ::testing::Values(
    ErrorCase{"FullDisk", ENOSPC, kUnknown, "Disk je plný: na disku není pro soubor místo."},
    ErrorCase{"FullDiskQtSaysTheUsual", ENOSPC, kUsual, "Disk je plný: na disku není pro soubor místo."},
    ErrorCase{"Quota", EDQUOT, QStringLiteral("Neznámá chyba"), "Vyčerpána kvóta disku: uživatel nemá na disku další místo."},
    ErrorCase{"NoAccess", EACCES, kUsual, "Přístup odepřen: k souboru nebo složce nemáte oprávnění."},
    ErrorCase{"NotPermitted", EPERM, {}, "Operace není povolena: soubor nebo složku nelze takto změnit."},
    ErrorCase{"ReadOnlyDisk", EROFS, kUnknown, "Disk je připojen jen pro čtení."},
    ErrorCase{"NoSuchFolder", ENOENT, kUsual, "Soubor nebo složka neexistuje."},
    ErrorCase{"PathThroughAFile", ENOTDIR, kUnknown, "Část cesty není složka."},
    ErrorCase{"FolderInTheWay", EISDIR, kUnknown, "Na místě souboru je složka."},
    ErrorCase{"DiskFault", EIO, kUnknown, "Chyba čtení nebo zápisu na disku."},
    ErrorCase{"NameTooLong", ENAMETOOLONG, kUnknown, "Název souboru nebo cesta je příliš dlouhá."},
    ErrorCase{"TooManyOpenFiles", EMFILE, kUnknown, "Program má otevřeno příliš mnoho souborů."},
    ErrorCase{"QtSaysMore", EACCES, QStringLiteral("Cannot create temporary file in /srv/spisy"),
              "Přístup odepřen: k souboru nebo složce nemáte oprávnění. (Cannot create temporary file in /srv/spisy)"},
    ErrorCase{"OtherNumber", EBUSY, kUnknown, "Chyba systému číslo " + QString::number(EBUSY) + ": " + kUsual + "."},
    ErrorCase{"NoNumberButQtsText", 0, QStringLiteral("Rename failed"), "Neznámá chyba. (Rename failed)"},
    ErrorCase{"NothingKnown", 0, kUnknown, "Neznámá chyba."}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A tmpfs of 64 kB on `folder` while it lives; mounted() false where this user may not mount.
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder) : folder_(folder) {
        mounted_ = QProcess::execute(QStringLiteral("mount"),
                                     {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                      QStringLiteral("size=64k"), QStringLiteral("tmpfs"), folder_}) == 0;
    }
    ~SmallDisk() {
        if (mounted_) QProcess::execute(QStringLiteral("umount"), {folder_});
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }

private:
    QString folder_;
    bool mounted_ = false;
};

TEST(FileErrors, SaveOntoAFullDiskSaysSoAndKeepsTheFile) {
    QTemporaryDir folder;
    const SmallDisk disk(folder.path());
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString path = folder.filePath(QStringLiteral("případ.vorlanex"));
    ASSERT_EQ(write_atomically(path, "{\"format\":1}\n"), std::nullopt);
    const auto problem = write_atomically(path, std::string(1 << 20, 'x'));
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(QStringLiteral("Disk je plný"))) << problem->toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("{\"format\":1}\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("případ.vorlanex")});
}

}  // namespace
}  // namespace vorlanex::spis
