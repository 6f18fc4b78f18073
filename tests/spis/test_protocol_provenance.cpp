// The protocol's provenance as the case window makes it: a case saved and unchanged since names the
// command that re-creates the protocol from its file and the SHA-256 of the file's very bytes on
// disk; any other state (edited since, never saved, its file gone) says the protocol was made from
// an unsaved state of the case and names neither.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "casefile/file_digest.h"
#include "spis/case_storage.h"
#include "spis/open_case.h"
#include "spis/protocol_export.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

struct CaseState {
    const char* name;
    // What happens to the case opened from `path` before its protocol is made.
    std::function<void(OpenCase& open_case, const QString& path)> change;
    bool saved;
};

class ProtocolOfACase : public ::testing::TestWithParam<CaseState> {};

TEST_P(ProtocolOfACase, NamesTheFileOnDiskOnlyWhenTheCaseIsSavedAndUnchanged) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("případ Nováková.vorlanex"));
    QFile source(kEveryPageCase);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    // The bytes on disk are not those the window would write of the case (a blank line more), as
    // after a save by an older version: the digest must be of the file, not of the case in memory.
    const QByteArray on_disk = source.readAll() + "\n";
    ASSERT_EQ(write_atomically(path, on_disk.toStdString()), std::nullopt);
    auto read = read_case(path);
    ASSERT_TRUE(std::holds_alternative<casefile::CaseFile>(read)) << std::get<QString>(read).toStdString();

    OpenCase open_case(kComma);
    open_case.replace(std::get<casefile::CaseFile>(std::move(read)), path);
    GetParam().change(open_case, path);
    const auto html = protocol_html(open_case);
    ASSERT_TRUE(std::holds_alternative<std::string>(html)) << std::get<QString>(html).toStdString();
    const std::string& protocol = std::get<std::string>(html);

    const std::string digest = casefile::sha256_hex(on_disk.toStdString());
    const bool names_file = protocol.find("SHA-256 spisu") != std::string::npos;
    EXPECT_EQ(names_file, GetParam().saved);
    EXPECT_EQ(protocol.find(digest) != std::string::npos, GetParam().saved);
    EXPECT_EQ(protocol.find("vorlanex-calc --report --case &#39;případ Nováková.vorlanex&#39;") != std::string::npos,
              GetParam().saved);
    EXPECT_EQ(protocol.find("z uloženého souboru případu") != std::string::npos, GetParam().saved);
    EXPECT_EQ(
        protocol.find("Protokol vytvořen z neuloženého stavu případu v programu Vorlanex Spis") != std::string::npos,
        !GetParam().saved);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Provenance, ProtocolOfACase, ::testing::Values(
    CaseState{"SavedAndUnchanged", [](OpenCase&, const QString&) {}, true},
    CaseState{"EditedSinceSaved", [](OpenCase& open_case, const QString&) {
        casefile::CaseHeader header = open_case.file().header;
        header.title = "Jiný název";
        open_case.set_header(header);
    }, false},
    CaseState{"NeverSaved", [](OpenCase& open_case, const QString&) {
        open_case.replace(casefile::CaseFile(open_case.file()), QString());
    }, false},
    CaseState{"FileGoneSinceSaved", [](OpenCase&, const QString& path) { QFile::remove(path); }, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vorlanex::spis
