// The guide inside the program: carried as a resource, its headings a contents list, each link
// within it leading to its heading, and nothing followed out of it.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

#include "spis/guide_window.h"

namespace vorlanex::spis {
namespace {

struct AnchorCase {
    const char* heading;  // UTF-8
    const char* anchor;
};

class HeadingAnchor : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(HeadingAnchor, IsFormedAsMarkdownWritersFormIt) {
    EXPECT_EQ(heading_anchor(QString::fromUtf8(GetParam().heading)).toStdString(), GetParam().anchor);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Guide, HeadingAnchor, ::testing::Values(
    AnchorCase{"Pravidla pro čísla",            "pravidla-pro-čísla"},
    AnchorCase{"Vorlanex – stručný návod",      "vorlanex--stručný-návod"},
    AnchorCase{"Příkaz vorlanex-calc",          "příkaz-vorlanex-calc"},
    AnchorCase{"Okno případu (Vorlanex Spis)",  "okno-případu-vorlanex-spis"},
    AnchorCase{"Zpět, znovu a obnova",          "zpět-znovu-a-obnova"},
    AnchorCase{"  EES: GEV_2  ",                "ees-gev_2"}));
// clang-format on

TEST(Guide, IsCarriedInsideTheProgramWithTheCaseWindowsPart) {
    const QString guide = guide_markdown();
    ASSERT_FALSE(guide.isEmpty());
    GuideWindow window;
    const QStringList headings = window.headings();
    for (const char* heading : {"Vorlanex – stručný návod", "Pravidla pro čísla", "Okno případu (Vorlanex Spis)"}) {
        EXPECT_TRUE(headings.contains(QString::fromUtf8(heading))) << heading;
    }
    EXPECT_GT(window.contents()->topLevelItem(0)->childCount(), 0);  // the parts under the title
}

TEST(Guide, EveryLinkWithinItLeadsToAHeadingAndTheTextMovesThere) {
    GuideWindow window;
    window.resize(700, 300);  // shorter than the guide: a heading further down moves the text
    window.show();
    const QString guide = guide_markdown();
    const QRegularExpression link(QStringLiteral("\\]\\(#([^)]+)\\)"));
    int links = 0;
    for (const QRegularExpressionMatch& match : link.globalMatch(guide)) {
        ++links;
        window.text()->verticalScrollBar()->setValue(0);
        emit window.text()->anchorClicked(QUrl(QStringLiteral("#") + match.captured(1)));
        EXPECT_EQ(heading_anchor(window.contents()->currentItem()->text(0)), match.captured(1)) << links;
    }
    EXPECT_GE(links, 5);
    // The last part of the guide is shown further down than its first.
    window.text()->verticalScrollBar()->setValue(0);
    ASSERT_TRUE(window.show_heading(heading_anchor(window.headings().back())));
    EXPECT_GT(window.text()->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(window.show_heading(QStringLiteral("zadna-takova")));
}

TEST(Guide, ALinkOutOfTheGuideIsNotFollowed) {
    GuideWindow window;
    window.show();
    const QString before = window.text()->toHtml();
    for (const char* address : {"https://example.org/#pravidla-pro-čísla", "file:///etc/passwd", "copyright"}) {
        emit window.text()->anchorClicked(QUrl(QString::fromUtf8(address)));
        EXPECT_EQ(window.text()->source(), QUrl()) << address;
    }
    EXPECT_EQ(window.text()->toHtml(), before);
}

}  // namespace
}  // namespace vorlanex::spis
