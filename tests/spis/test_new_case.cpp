// A new case described as the expert would: created today, by the expert named last (kept in the
// private settings), and offered at its first save under a file name made of its reference.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "spis/case_file_name.h"
#include "spis/case_window.h"
#include "spis/remembered_expert.h"

namespace vorlanex::spis {
namespace {

struct FileNameCase {
    const char* reference;  // UTF-8
    const char* name;       // UTF-8; empty: none offered
};

class CaseFileName : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(CaseFileName, IsSafeOnEveryUsualFileSystem) {
    EXPECT_EQ(case_file_name(QString::fromUtf8(GetParam().reference)).toStdString(), GetParam().name);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(FromTheReference, CaseFileName, ::testing::Values(
    FileNameCase{"ZP 17/2026",                     "ZP-17-2026.vorlanex"},
    FileNameCase{"  12 T 34/2026  ",               "12-T-34-2026.vorlanex"},
    FileNameCase{"Č.j. Ř 5/2026 – Žďár",           "Č.j.-Ř-5-2026-–-Žďár.vorlanex"},     // diacritics kept
    FileNameCase{"a\\b:c*d?e\"f<g>h|i",            "a-b-c-d-e-f-g-h-i.vorlanex"},
    FileNameCase{"ZP\t17\n2026\r",                 "ZP-17-2026.vorlanex"},
    FileNameCase{"ZP\x01\x1f\x7f" "17",            "ZP17.vorlanex"},                    // control characters dropped
    FileNameCase{"ZP\u202e17\u200b",               "ZP17.vorlanex"},                    // invisible formatting dropped
    FileNameCase{"../../etc/passwd",               "etc-passwd.vorlanex"},              // no way out of the folder
    FileNameCase{".skrytý",                        "skrytý.vorlanex"},                  // no hidden file
    FileNameCase{"ZP 17 / 2026 - A",               "ZP-17-2026-A.vorlanex"},            // one dash for a run
    FileNameCase{"CON",                            ""},                                 // reserved names
    FileNameCase{"nul.txt",                        ""},
    FileNameCase{"com1",                           ""},
    FileNameCase{"CONSTANT",                       "CONSTANT.vorlanex"},
    FileNameCase{"",                               ""},
    FileNameCase{" / . / ",                        ""},
    FileNameCase{"\x01",                           ""}));
// clang-format on

TEST(CaseFileName, ALongReferenceIsCutWithinTheLimitAndNeverWithinACharacter) {
    const QString name = case_file_name(QString(150, QChar(0x17D)));  // "Ž" is two bytes
    EXPECT_EQ(name, QString(100, QChar(0x17D)) + QStringLiteral(".vorlanex"));
    QString emoji = QStringLiteral("a");
    for (int i = 0; i < 60; ++i) emoji += QString::fromUtf8("😀");  // four bytes each
    QString cut = QStringLiteral("a");
    for (int i = 0; i < 49; ++i) cut += QString::fromUtf8("😀");
    EXPECT_EQ(case_file_name(emoji), cut + QStringLiteral(".vorlanex"));
}

mode_t mode_of(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return 07777;
    return status.st_mode & 07777;
}

struct ExpertSteps {
    const char* name;
    std::vector<const char*> remembered;  // each name given in turn
    const char* kept;                     // the name a new case then carries
};

class RememberedExpert : public ::testing::TestWithParam<ExpertSteps> {};

TEST_P(RememberedExpert, FillsInTheNextNewCaseInPrivateSettings) {
    QSettings().remove(QStringLiteral("lastExpert"));
    for (const char* name : GetParam().remembered) remember_expert(QString::fromUtf8(name));
    CaseWindow window(numeric::DecimalSeparator(","));
    const casefile::CaseHeader& header = window.document().header;
    EXPECT_EQ(header.created, QDate::currentDate().toString(Qt::ISODate).toStdString());
    EXPECT_EQ(header.expert.value_or(""), GetParam().kept);
    EXPECT_FALSE(window.open_case().modified());  // a new case, nothing to save yet
    if (!GetParam().remembered.empty()) {
        EXPECT_EQ(mode_of(QSettings().fileName()), 0600u);
        EXPECT_EQ(mode_of(QFileInfo(QSettings().fileName()).absolutePath()), 0700u);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(NewCase, RememberedExpert, ::testing::Values(
    ExpertSteps{"NoneYet",          {},                                   ""},
    ExpertSteps{"OneTrimmed",       {"  Ing. Jana Dvořáková  "},          "Ing. Jana Dvořáková"},
    ExpertSteps{"TheLast",          {"Ing. A", "Ing. B"},                 "Ing. B"},
    ExpertSteps{"EmptyKeepsBefore", {"Ing. Jan Novák", "", "   "},        "Ing. Jan Novák"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(NewCase, TheExpertOfASavedCaseIsTheNextOnesAndTheReferenceNamesTheFile) {
    QSettings().remove(QStringLiteral("lastExpert"));
    const QTemporaryDir folder;
    {
        CaseWindow window(numeric::DecimalSeparator(","));
        casefile::CaseHeader header = window.document().header;
        header.reference = "ZP 17/2026";
        header.expert = "Ing. Petr Černý";
        window.set_case_properties(header);
        EXPECT_TRUE(window.proposed_save_path().endsWith(QStringLiteral("/ZP-17-2026.vorlanex")));
        ASSERT_EQ(window.save_case(folder.filePath(QStringLiteral("první.vorlanex"))), std::nullopt);
    }
    CaseWindow next(numeric::DecimalSeparator(","));
    EXPECT_EQ(next.document().header.expert, "Ing. Petr Černý");
    // The folder of the case saved last, and no name while the new case has no reference.
    EXPECT_EQ(next.proposed_save_path(), QFileInfo(folder.path()).absoluteFilePath());
}

}  // namespace
}  // namespace vorlanex::spis
