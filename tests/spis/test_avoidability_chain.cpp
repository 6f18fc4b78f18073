// The avoidability chain and links in the case window: a chain added after a reconstruction runs
// as the same calculation typed by hand; adding it, linking an input by hand, unlinking one and
// removing a source are each one step undone to the case's very text before it; a link that would
// make a cycle or join two units is refused in Czech; a linked input shows what it takes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "casefile/case_writer.h"
#include "casefile/recorded_run.h"
#include "registry/page_tree.h"
#include "spis/avoidability_chain.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"
#include "version/version.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");
const QString kChainCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/pedestrian-avoidability.vorlanex");

std::string case_text(const CaseWindow& window) { return casefile::case_file_text(window.document(), kVersion); }

QLineEdit* line(const CaseWindow& window, const char* object_name) {
    return window.calculation_view()->findChild<QLineEdit*>(QString::fromLatin1(object_name));
}

struct ChainSpeed {
    const char* speed;
    const char* verdict_start;
};

class ChainByHand : public ::testing::TestWithParam<ChainSpeed> {};

TEST_P(ChainByHand, TheChainRunsAsTheCopiedTextsTypedByHand) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(0);  // "kinematika"
    const casefile::RecordedRun source = *window.open_case().selected_run();
    ASSERT_EQ(window.add_avoidability_chain(QString::fromUtf8(GetParam().speed)), std::nullopt);
    ASSERT_EQ(window.selected_row(), 1);
    const casefile::Calculation& chain = *window.open_case().selected();
    EXPECT_EQ(chain.title, "Odvratitelnost při " + std::string(GetParam().speed) + " km/h");

    const std::vector<std::pair<std::string, std::string>> typed{{"I1", GetParam().speed},
                                                                 {"I2", source.text_before("I6")},
                                                                 {"I3", source.text_before("I8")},
                                                                 {"I4", source.text_before("I7")},
                                                                 {"I5", source.text_after("R15")}};
    const casefile::RecordedRun by_hand(*chain.scenario.page, typed, kComma);
    const casefile::RecordedRun& linked = *window.open_case().selected_run();
    EXPECT_EQ(linked.outcome(), by_hand.outcome());
    for (const auto& [input, text] : typed) {
        QLineEdit* shown = line(window, input.c_str());
        ASSERT_NE(shown, nullptr) << input;
        EXPECT_EQ(shown->text(), QString::fromUtf8(text)) << input;
        EXPECT_EQ(shown->isReadOnly(), input != "I1") << input;
    }
    const auto shown_answer = avoidability_answer(window.document(), 1, linked);
    ASSERT_TRUE(shown_answer.has_value());
    EXPECT_TRUE(shown_answer->verdict.startsWith(QString::fromUtf8(GetParam().verdict_start)))
        << shown_answer->verdict.toStdString();
    EXPECT_TRUE(shown_answer->times.contains(QString::fromUtf8(source.text_after("R16"))));
    QLabel* answer = nullptr;
    for (QLabel* label : window.calculation_view()->findChildren<QLabel*>()) {
        if (label->accessibleName() == QStringLiteral("Odpověď výpočtu")) answer = label;
    }
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->text(), shown_answer->verdict + QLatin1Char('\n') + shown_answer->times);
}

// The reconstruction stops from 30 km/h within its 46,93 m, not from 90 km/h.
// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, ChainByHand, ::testing::Values(
    ChainSpeed{"30", "Vozidlo by při dovolené rychlosti 30 km/h zastavilo před místem střetu."},
    ChainSpeed{"50", "Vozidlo by při dovolené rychlosti 50 km/h "},
    ChainSpeed{"90", "Vozidlo by při dovolené rychlosti 90 km/h nezastavilo; rychlost střetu by byla "}),
    [](const auto& info) { return std::string("At") + info.param.speed; });
// clang-format on

struct LinkChange {
    const char* name;
    std::function<void(CaseWindow&)> make;
    int selected_before;
    // What the case holds after the change, checked before it is undone.
    std::function<void(const CaseWindow&)> check;
};

class EveryLinkChange : public ::testing::TestWithParam<LinkChange> {};

TEST_P(EveryLinkChange, IsOneStepUndoneToTheTextBeforeAndRedoneToTheTextAfter) {
    const LinkChange& change = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kChainCase), std::nullopt);
    window.select_calculation(change.selected_before);
    const std::string before = case_text(window);
    change.make(window);
    const std::string after = case_text(window);
    ASSERT_NE(after, before);
    EXPECT_EQ(window.open_case().text(), after);
    EXPECT_EQ(window.open_case().undo_stack().count(), 1);
    change.check(window);

    window.action(CaseAction::Undo)->trigger();
    EXPECT_EQ(case_text(window), before);
    EXPECT_EQ(window.open_case().text(), before);
    EXPECT_FALSE(window.isWindowModified());
    window.action(CaseAction::Redo)->trigger();
    EXPECT_EQ(case_text(window), after);
    EXPECT_EQ(window.open_case().text(), after);
    change.check(window);
}

// The pedestrian case: row 0 the reconstruction "kinematika" (R15 46,93), row 1 the stopping
// calculation taking I2..I5 from it.
// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, EveryLinkChange, ::testing::Values(
    LinkChange{"ChainAdded", [](CaseWindow& w) { ASSERT_EQ(w.add_avoidability_chain("45,5"), std::nullopt); }, 0,
               [](const CaseWindow& w) {
                   ASSERT_EQ(w.document().calculations.size(), 3U);
                   EXPECT_EQ(w.selected_row(), 1);
                   EXPECT_EQ(w.document().calculations[1].links.size(), 4U);
                   EXPECT_EQ(line(w, "I5")->text(), "46,93");
               }},
    LinkChange{"HandLink", [](CaseWindow& w) { ASSERT_EQ(w.take_into_input("I2", 0, "I3"), std::nullopt); }, 1,
               [](const CaseWindow& w) {
                   EXPECT_EQ(line(w, "I2")->text(), "0,7");
                   EXPECT_TRUE(line(w, "I2")->isReadOnly());
                   auto* source = w.calculation_view()->findChild<QLabel*>("zdroj:I2");
                   ASSERT_NE(source, nullptr);
                   EXPECT_EQ(source->text(), "← Rekonstrukce brzdění před střetem, I3");
               }},
    LinkChange{"Unlinked", [](CaseWindow& w) { w.unlink_input("I5"); }, 1,
               [](const CaseWindow& w) {
                   const casefile::Calculation& taker = w.document().calculations[1];
                   EXPECT_EQ(taker.link_of("I5"), nullptr);
                   EXPECT_EQ(taker.text("I5", kComma), "46,93");
                   EXPECT_FALSE(line(w, "I5")->isReadOnly());
                   EXPECT_EQ(line(w, "I5")->text(), "46,93");
               }},
    LinkChange{"SourceRemoved", [](CaseWindow& w) { w.action(CaseAction::Remove)->trigger(); }, 0,
               [](const CaseWindow& w) {
                   ASSERT_EQ(w.document().calculations.size(), 1U);
                   const casefile::Calculation& taker = w.document().calculations[0];
                   EXPECT_TRUE(taker.links.empty());
                   // Each input keeps the text it took last, typed.
                   EXPECT_EQ(taker.text("I2", kComma), "0,8");
                   EXPECT_EQ(taker.text("I3", kComma), "1");
                   EXPECT_EQ(taker.text("I4", kComma), "0,2");
                   EXPECT_EQ(taker.text("I5", kComma), "46,93");
               }}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct RefusedLink {
    const char* name;
    int target;
    const char* input;
    int source;
    const char* field;
};

class RefusedLinks : public ::testing::TestWithParam<RefusedLink> {};

TEST_P(RefusedLinks, AreRefusedInCzechAndLeaveTheCaseAsItWas) {
    const RefusedLink& refused = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kChainCase), std::nullopt);
    window.select_calculation(refused.target);
    const std::string before = case_text(window);
    const auto problem =
        window.take_into_input(QString::fromLatin1(refused.input), refused.source, QString::fromLatin1(refused.field));
    ASSERT_TRUE(problem.has_value());
    EXPECT_FALSE(problem->isEmpty());
    EXPECT_FALSE(problem->contains(QStringLiteral("line "))) << problem->toStdString();  // Czech words only
    EXPECT_EQ(case_text(window), before);
    EXPECT_EQ(window.open_case().undo_stack().count(), 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, RefusedLinks, ::testing::Values(
    // The reconstruction taking from the calculation that takes from it.
    RefusedLink{"Cycle", 0, "I6", 1, "I2"},
    RefusedLink{"Itself", 0, "I6", 0, "I3"},
    // A speed in km/h taking an adhesion coefficient.
    RefusedLink{"OtherUnit", 1, "I1", 0, "I6"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(AvoidabilityChain, ASourceWithoutAnIdGetsOneAsPartOfTheStep) {
    CaseWindow window(kComma);
    window.add_calculation(*registry::find_page("kinematika"));
    window.select_calculation(0);
    const std::string before = case_text(window);
    const int steps = window.open_case().undo_stack().count();
    ASSERT_EQ(window.add_avoidability_chain("50"), std::nullopt);
    EXPECT_EQ(window.document().calculations[0].id, "\"kinematika\"");
    EXPECT_EQ(window.document().calculations[1].links.front().from, "\"kinematika\"");
    EXPECT_EQ(window.open_case().undo_stack().count(), steps + 1);
    window.action(CaseAction::Undo)->trigger();
    EXPECT_EQ(case_text(window), before);
    EXPECT_FALSE(window.document().calculations[0].id.has_value());
}

struct IdCase {
    const char* title;
    const char* expected;
};

class NewIds : public ::testing::TestWithParam<IdCase> {};

TEST_P(NewIds, AreMadeOfTheTitleWithoutAccentsAndUniqueInTheCase) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kChainCase), std::nullopt);
    casefile::Calculation calculation = casefile::new_calculation(*registry::find_page("kinematika"));
    if (*GetParam().title) calculation.title = GetParam().title;
    EXPECT_EQ(new_id_token(window.document(), calculation), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, NewIds, ::testing::Values(
    IdCase{"Rekonstrukce brzdění, Žďár 2", "\"rekonstrukce-brzdeni-zdar-2\""},
    IdCase{"  ÚČEL: \"x\" ", "\"ucel-x\""},
    IdCase{"", "\"kinematika-2\""},       // the page's key, taken by the reconstruction
    IdCase{"???", "\"kinematika-2\""},    // no letter: the page's key
    IdCase{"Zastavení 50", "\"zastaveni-50-2\""}));
// clang-format on

TEST(AvoidabilityChain, ASavedChainIsReadBackWithItsLinksAndItsAnswer) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("odvratitelnost.vorlanex"));
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);  // a case of no links yet
    window.select_calculation(0);
    ASSERT_EQ(window.add_avoidability_chain("70"), std::nullopt);
    const auto saved = window.save_case(path);
    ASSERT_EQ(saved, std::nullopt) << saved->toStdString();
    const auto answer = avoidability_answer(window.document(), 1, *window.open_case().selected_run());
    ASSERT_TRUE(answer.has_value());

    CaseWindow again(kComma);
    ASSERT_EQ(again.open_case(path), std::nullopt);
    again.select_calculation(1);
    EXPECT_EQ(again.document().calculations[1].links, window.document().calculations[1].links);
    const auto read_answer = avoidability_answer(again.document(), 1, *again.open_case().selected_run());
    ASSERT_TRUE(read_answer.has_value());
    EXPECT_EQ(read_answer->verdict, answer->verdict);
    EXPECT_EQ(read_answer->times, answer->times);
}

TEST(AvoidabilityChain, IsOfferedOnAReconstructionOnlyAndRefusesASpeedThatIsNoNumber) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kChainCase), std::nullopt);
    QAction* chain = window.action(CaseAction::AvoidabilityChain);
    window.select_calculation(1);
    EXPECT_FALSE(chain->isEnabled());
    window.select_calculation(0);
    EXPECT_TRUE(chain->isEnabled());
    for (const char* speed : {"", "abc", "0", "-50", "50.5"}) {
        EXPECT_TRUE(window.add_avoidability_chain(QString::fromLatin1(speed)).has_value()) << speed;
    }
    EXPECT_EQ(window.open_case().undo_stack().count(), 0);
}

TEST(AvoidabilityChain, AnEditedSourceIsShownAtOnceInTheInputsThatTakeFromIt) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kChainCase), std::nullopt);
    window.select_calculation(0);
    line(window, "I8")->setText("1,5");  // the reaction time
    window.select_calculation(1);
    EXPECT_EQ(line(window, "I3")->text(), "1,5");
}

}  // namespace
}  // namespace vorlanex::spis
