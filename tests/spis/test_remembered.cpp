// What the case window keeps between runs, offscreen in the test's own settings folder: the recent
// files (most recent first, at most eight, a vanished file dropped), the window's geometry, and the
// recovery copy of an unsaved case offered after a window went without a clean close.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <variant>

#include "casefile/case_writer.h"
#include "registry/page_tree.h"
#include "spis/calculation_view.h"
#include "version/version.h"

#include "spis/case_window.h"
#include "spis/recent_files.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};

QStringList menu_paths(const CaseWindow& window) {
    QStringList paths;
    for (const QAction* action : window.recent_menu()->actions()) paths << action->data().toString();
    return paths;
}

struct RecentCase {
    const char* name;
    QStringList before;
    QString added;
    QStringList after;
};

class WithRecent : public ::testing::TestWithParam<RecentCase> {};

TEST_P(WithRecent, PutsThePathFirstOnceAndKeepsEight) {
    EXPECT_EQ(with_recent(GetParam().before, GetParam().added), GetParam().after);
}

const QStringList kNine{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"};

INSTANTIATE_TEST_SUITE_P(
    RecentFiles, WithRecent,
    ::testing::Values(RecentCase{"Empty", {}, "/a", {"/a"}}, RecentCase{"New", {"/a", "/b"}, "/c", {"/c", "/a", "/b"}},
                      RecentCase{"AgainMovesFirst", {"/a", "/b", "/c"}, "/c", {"/c", "/a", "/b"}},
                      RecentCase{"FirstStays", {"/a", "/b"}, "/a", {"/a", "/b"}},
                      RecentCase{"EightKept", kNine.mid(0, 8), "/0", QStringList{"/0"} + kNine.mid(0, 7)},
                      RecentCase{"TooManyCut", kNine, "/5", {"/5", "/1", "/2", "/3", "/4", "/6", "/7", "/8"}}),
    [](const auto& info) { return std::string(info.param.name); });

// An empty case written in `folder` as `name`; its path.
QString empty_case(const QTemporaryDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromUtf8(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\":1,\"separator\":\",\",\"case\":{}}\n");
    return path;
}

TEST(RecentFiles, OpenedAndSavedFilesAreListedMostRecentFirstInANewWindowToo) {
    store_recent_files({});
    const QTemporaryDir folder;
    const QString first = empty_case(folder, "first.vorlanex");
    const QString second = folder.filePath(QStringLiteral("second.vorlanex"));
    {
        CaseWindow window(kComma);
        ASSERT_EQ(window.open_case(first), std::nullopt);
        ASSERT_EQ(window.save_case(second), std::nullopt);
        EXPECT_EQ(menu_paths(window), (QStringList{second, first}));
        ASSERT_EQ(window.open_case(first), std::nullopt);
        EXPECT_EQ(menu_paths(window), (QStringList{first, second}));
    }
    CaseWindow later(kComma);
    EXPECT_EQ(menu_paths(later), (QStringList{first, second}));
    EXPECT_TRUE(later.recent_menu()->actions().at(0)->text().contains(QStringLiteral("first.vorlanex")));
}

TEST(RecentFiles, AVanishedFileIsDroppedWithAMessage) {
    store_recent_files({});
    const QTemporaryDir folder;
    const QString kept = empty_case(folder, "kept.vorlanex");
    const QString gone = empty_case(folder, "gone.vorlanex");
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(gone), std::nullopt);
    ASSERT_EQ(window.open_case(kept), std::nullopt);
    ASSERT_TRUE(QFile::remove(gone));

    const std::optional<QString> problem = window.open_recent(gone);
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(gone)) << problem->toStdString();
    EXPECT_EQ(menu_paths(window), QStringList{kept});
    EXPECT_EQ(stored_recent_files(), QStringList{kept});
    EXPECT_EQ(window.path(), kept);  // the open case stays
    EXPECT_EQ(window.open_recent(kept), std::nullopt);
}

TEST(RecentFiles, GeometryOfACleanlyClosedWindowIsRestored) {
    QSettings().remove(QStringLiteral("geometry"));
    {
        CaseWindow window(kComma);
        window.show();
        window.resize(700, 540);  // within the offscreen screen: a larger one is fitted into it
        ASSERT_TRUE(window.close());
    }
    CaseWindow later(kComma);
    EXPECT_EQ(later.size(), QSize(700, 540));
}

// Waits, with the event loop running, until `ready` holds; a minute at most, for a loaded machine.
template <typename Ready>
bool wait_for(Ready ready) {
    QElapsedTimer clock;
    clock.start();
    while (!ready()) {
        if (clock.elapsed() > 60'000) return false;
        QTest::qWait(50);
    }
    return true;
}

std::string saved_text(const CaseWindow& window) { return casefile::case_file_text(window.document(), kVersion); }

std::string read_back_text(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

// Clears the copies earlier tests of this process left.
void discard_orphans() {
    for (const QString& copy : orphaned_copies()) forget_orphan(copy);
}

// A window with one calculation whose first input was typed, not saved.
std::unique_ptr<CaseWindow> edited_window() {
    auto window = std::make_unique<CaseWindow>(kComma);
    window->add_calculation(*registry::calculation_pages().front());
    auto* edit = window->calculation_view()->findChild<QLineEdit*>(QString::fromUtf8(
        registry::calculation_pages().front()->worked_example.front().id.data(),
        static_cast<qsizetype>(registry::calculation_pages().front()->worked_example.front().id.size())));
    EXPECT_NE(edit, nullptr);
    if (edit) {
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("37"));
    }
    return window;
}

TEST(Recovery, AfterAWindowWentWithoutACleanCloseTheEditedCaseIsOfferedAndRecovered) {
    discard_orphans();
    auto crashed = edited_window();
    const std::string edited = saved_text(*crashed);
    const QString copy = crashed->recovery_copy().path();
    ASSERT_TRUE(wait_for([&] { return QFile::exists(copy); })) << "no recovery copy written";
    crashed.reset();  // gone as in a crash: no close
    ASSERT_TRUE(QFile::exists(copy));

    CaseWindow next(kComma);
    QStringList asked;
    ASSERT_TRUE(next.offer_recovery([&](const QString& written_at) {
        asked << written_at;
        return true;
    }));
    EXPECT_EQ(asked.size(), 1);
    EXPECT_EQ(saved_text(next), edited);
    EXPECT_TRUE(next.isWindowModified());
    EXPECT_TRUE(next.path().isEmpty());
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_TRUE(QFile::exists(next.recovery_copy().path()));  // kept again by the new window

    CaseWindow third(kComma);  // the copy of a living window is never offered
    EXPECT_FALSE(third.offer_recovery([](const QString&) { return true; }));
}

enum class Ending { Saved, ClosedDiscarding, NewCase };

class RecoveryRemoved : public ::testing::TestWithParam<Ending> {};

TEST_P(RecoveryRemoved, WhenTheCaseIsSavedOrLeftOnPurpose) {
    discard_orphans();
    QTemporaryDir folder;
    auto window = edited_window();
    window->write_recovery_copy();
    const QString copy = window->recovery_copy().path();
    ASSERT_TRUE(QFile::exists(copy));
    switch (GetParam()) {
        case Ending::Saved:
            ASSERT_EQ(window->save_case(folder.filePath(QStringLiteral("saved.vorlanex"))), std::nullopt);
            break;
        case Ending::ClosedDiscarding:
            window->setWindowModified(false);  // as after "Zahodit" in the question
            ASSERT_TRUE(window->close());
            break;
        case Ending::NewCase:
            ASSERT_EQ(window->open_case(QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex")),
                      std::nullopt);
            break;
    }
    EXPECT_FALSE(QFile::exists(copy));
    window.reset();
    EXPECT_FALSE(CaseWindow(kComma).offer_recovery([](const QString&) { return true; }));
}

std::string ending_name(const ::testing::TestParamInfo<Ending>& info) {
    switch (info.param) {
        case Ending::Saved: return "Saved";
        case Ending::ClosedDiscarding: return "ClosedDiscarding";
        case Ending::NewCase: return "NewCase";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Recovery, RecoveryRemoved,
                         ::testing::Values(Ending::Saved, Ending::ClosedDiscarding, Ending::NewCase), ending_name);

TEST(Recovery, ADeclinedCopyIsDiscarded) {
    discard_orphans();
    auto crashed = edited_window();
    crashed->write_recovery_copy();
    const QString copy = crashed->recovery_copy().path();
    crashed.reset();
    CaseWindow next(kComma);
    EXPECT_FALSE(next.offer_recovery([](const QString&) { return false; }));
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_FALSE(next.isWindowModified());
}

}  // namespace
}  // namespace vorlanex::spis

namespace vorlanex::spis {
namespace {

TEST(Recovery, TheRecoveredCaseIsTheFileItWasACopyOfAndUnsaved) {
    discard_orphans();
    const QTemporaryDir folder;
    const QString path = empty_case(folder, "pripad.vorlanex");
    auto crashed = std::make_unique<CaseWindow>(kComma);
    ASSERT_EQ(crashed->open_case(path), std::nullopt);
    crashed->add_calculation(*registry::calculation_pages().front());
    const std::string edited = saved_text(*crashed);
    crashed->write_recovery_copy();
    crashed.reset();

    CaseWindow next(kComma);
    ASSERT_TRUE(next.offer_recovery([](const QString&) { return true; }));
    EXPECT_EQ(next.path(), path);
    EXPECT_EQ(saved_text(next), edited);
    EXPECT_TRUE(next.isWindowModified());
    ASSERT_EQ(next.save_case(path), std::nullopt);  // the file as on disk now: nothing changed it since
    EXPECT_EQ(read_back_text(path), edited);
}

}  // namespace
}  // namespace vorlanex::spis
