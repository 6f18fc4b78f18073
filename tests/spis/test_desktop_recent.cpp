// The desktop's list of recently used files: a case added to it appears once, with its MIME type
// and this program counted, beside every other file's bookmark kept; the file written is the
// user's alone.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>
#include <string>
#include <vector>

#include "spis/desktop_recent.h"

namespace vorlanex::spis {
namespace {

const QString kCase = QStringLiteral("/home/znalec/Případy/nehoda 12.vorlanex");
const QString kCaseHref = QStringLiteral("file:///home/znalec/P%C5%99%C3%ADpady/nehoda%2012.vorlanex");
const QDateTime kNow = QDateTime(QDate(2026, 3, 14), QTime(9, 30, 5), Qt::UTC);
const QString kNowStamp = QStringLiteral("2026-03-14T09:30:05.000Z");

// A bookmark as read back: its dates, MIME type and the count of each program that used it.
struct ReadBookmark {
    QString href;
    QString added;
    QString modified;
    QString mime_type;
    std::map<QString, qlonglong> counts;
    QString exec;
};

// The bookmarks of `xbel` in their order; fails the test when it is not well-formed XML.
std::vector<ReadBookmark> read_bookmarks(const QString& xbel) {
    const QString bookmarks = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
    const QString mime = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
    std::vector<ReadBookmark> read;
    QXmlStreamReader reader(xbel);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attributes = reader.attributes();
        if (reader.namespaceUri().isEmpty() && reader.name() == QStringLiteral("bookmark")) {
            read.push_back({attributes.value(QStringLiteral("href")).toString(),
                            attributes.value(QStringLiteral("added")).toString(),
                            attributes.value(QStringLiteral("modified")).toString(),
                            {},
                            {},
                            {}});
        } else if (!read.empty() && reader.namespaceUri() == mime && reader.name() == QStringLiteral("mime-type")) {
            read.back().mime_type = attributes.value(QStringLiteral("type")).toString();
        } else if (!read.empty() && reader.namespaceUri() == bookmarks &&
                   reader.name() == QStringLiteral("application")) {
            const QString name = attributes.value(QStringLiteral("name")).toString();
            read.back().counts[name] = attributes.value(QStringLiteral("count")).toLongLong();
            if (name == QStringLiteral("Vorlanex Spis"))
                read.back().exec = attributes.value(QStringLiteral("exec")).toString();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << xbel.toStdString();
    return read;
}

const QString kHeader = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\" xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""
    " xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");

QString other_bookmark(const char* name) {
    return QStringLiteral(
               "  <bookmark href=\"file:///tmp/%1.txt\" added=\"2025-01-01T00:00:00Z\" "
               "modified=\"2025-01-02T00:00:00Z\""
               " visited=\"2025-01-02T00:00:00Z\">\n"
               "    <info><metadata owner=\"http://freedesktop.org\"><mime:mime-type type=\"text/plain\"/>"
               "<bookmark:applications><bookmark:application name=\"Editor\" exec=\"&apos;editor %u&apos;\""
               " modified=\"2025-01-02T00:00:00Z\" count=\"3\"/></bookmark:applications></metadata></info>\n"
               "  </bookmark>\n")
        .arg(QString::fromUtf8(name));
}

QString case_bookmark(const char* applications) {
    return QStringLiteral(
               "  <bookmark href=\"%1\" added=\"2024-05-05T10:00:00Z\" modified=\"2024-05-06T10:00:00Z\""
               " visited=\"2024-05-06T10:00:00Z\"><info><metadata owner=\"http://freedesktop.org\">"
               "<mime:mime-type type=\"application/x-vorlanex-case\"/>%2</metadata></info></bookmark>\n")
        .arg(kCaseHref, QString::fromUtf8(applications));
}

struct ExistingList {
    const char* name;
    QString xbel;
    QStringList other_hrefs;  // in their order, before or after the case's bookmark
    QString added;            // the case's bookmark's date of adding
    qlonglong count;          // this program's count on the case's bookmark
};

class RecentBookmark : public ::testing::TestWithParam<ExistingList> {};

TEST_P(RecentBookmark, HoldsTheCaseOnceAndKeepsTheOthers) {
    const ExistingList& list = GetParam();
    const auto updated = with_recent_bookmark(list.xbel, kCase, kNow);
    ASSERT_TRUE(updated.has_value());
    QStringList other_hrefs;
    int case_bookmarks = 0;
    for (const ReadBookmark& bookmark : read_bookmarks(*updated)) {
        if (bookmark.href != kCaseHref) {
            other_hrefs << bookmark.href;
            // Another file's bookmark as it was.
            EXPECT_EQ(bookmark.modified, QStringLiteral("2025-01-02T00:00:00Z"));
            EXPECT_EQ(bookmark.counts, (std::map<QString, qlonglong>{{QStringLiteral("Editor"), 3}}));
            continue;
        }
        ++case_bookmarks;
        EXPECT_EQ(bookmark.added, list.added);
        EXPECT_EQ(bookmark.modified, kNowStamp);
        EXPECT_EQ(bookmark.mime_type, QStringLiteral("application/x-vorlanex-case"));
        EXPECT_EQ(bookmark.counts.at(QStringLiteral("Vorlanex Spis")), list.count);
        EXPECT_EQ(bookmark.exec, QStringLiteral("'vorlanex-spis %u'"));
        // Another program that used the case keeps its count.
        for (const auto& [program, count] : bookmark.counts) {
            if (program != QStringLiteral("Vorlanex Spis")) {
                EXPECT_EQ(count, 3) << program.toStdString();
            }
        }
    }
    EXPECT_EQ(case_bookmarks, 1);
    EXPECT_EQ(other_hrefs, list.other_hrefs);
}

const QString kClose = QStringLiteral("</xbel>\n");
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    DesktopRecent, RecentBookmark,
    ::testing::Values(
        ExistingList{"NoFile", QString(), {}, kNowStamp, 1},
        ExistingList{"EmptyFile", QStringLiteral("\n"), {}, kNowStamp, 1},
        ExistingList{"EmptyList", kHeader + kClose, {}, kNowStamp, 1},
        ExistingList{"OtherFiles", kHeader + other_bookmark("a") + other_bookmark("b") + kClose,
                     {"file:///tmp/a.txt", "file:///tmp/b.txt"}, kNowStamp, 1},
        ExistingList{"CaseThereCounted",
                     kHeader + other_bookmark("a") +
                         case_bookmark("<bookmark:applications><bookmark:application name=\"Vorlanex Spis\" "
                                       "exec=\"&apos;vorlanex-spis %u&apos;\" modified=\"2024-05-06T10:00:00Z\" "
                                       "count=\"4\"/></bookmark:applications>") + other_bookmark("b") + kClose,
                     {"file:///tmp/a.txt", "file:///tmp/b.txt"}, "2024-05-05T10:00:00Z", 5},
        ExistingList{"CaseThereByAnotherProgram",
                     kHeader + case_bookmark("<bookmark:applications><bookmark:application name=\"Editor\" "
                                             "exec=\"&apos;editor %u&apos;\" modified=\"2024-05-06T10:00:00Z\" "
                                             "count=\"3\"/></bookmark:applications>") + kClose,
                     {}, "2024-05-05T10:00:00Z", 1},
        ExistingList{"CaseThereWithoutPrograms", kHeader + case_bookmark("") + other_bookmark("a") + kClose,
                     {"file:///tmp/a.txt"}, "2024-05-05T10:00:00Z", 1},
        ExistingList{"CaseThereTwice", kHeader + case_bookmark("") + other_bookmark("a") + case_bookmark("") + kClose,
                     {"file:///tmp/a.txt"}, "2024-05-05T10:00:00Z", 1}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(DesktopRecent, ADamagedListIsLeftAlone) {
    EXPECT_EQ(with_recent_bookmark(kHeader + other_bookmark("a"), kCase, kNow), std::nullopt);
    EXPECT_EQ(with_recent_bookmark(QStringLiteral("<xbel><bookmark></xbel>"), kCase, kNow), std::nullopt);
}

TEST(DesktopRecent, TheWrittenListIsTheUsersAloneAndCountsEachUse) {
    const QTemporaryDir data_home;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data_home.filePath(QStringLiteral("new/data"))));
    const QString list_file = desktop_recent_file();
    add_to_desktop_recent(kCase);
    add_to_desktop_recent(kCase);
    qputenv("XDG_DATA_HOME", saved);

    EXPECT_EQ(list_file, data_home.filePath(QStringLiteral("new/data/recently-used.xbel")));
    QFile file(list_file);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const auto bookmarks = read_bookmarks(QString::fromUtf8(file.readAll()));
    ASSERT_EQ(bookmarks.size(), 1u);
    EXPECT_EQ(bookmarks[0].counts.at(QStringLiteral("Vorlanex Spis")), 2);
}

}  // namespace
}  // namespace vorlanex::spis
