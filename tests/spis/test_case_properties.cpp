// Soubor → Vlastnosti případu offscreen: the dialog shows and returns the case's description, a
// change is saved into the case's line and marks the case unsaved, and the window's title names the
// case by its title, its file reference or its file.
#include <gtest/gtest.h>

#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "spis/case_properties_dialog.h"
#include "spis/case_window.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};

struct Described {
    const char* name;
    casefile::CaseHeader header;
    const char* title;  // the window's, "[*]" standing for the unsaved mark
};

class CaseProperties : public ::testing::TestWithParam<Described> {};

TEST_P(CaseProperties, AreSavedMarkTheCaseUnsavedAndNameTheWindow) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("nehoda.vorlanex"));
    CaseWindow window(kComma);
    window.set_case_properties({});  // saved without the description a new case is given
    ASSERT_EQ(window.save_case(path), std::nullopt);
    window.set_case_properties(GetParam().header);
    const bool changed = window.document().header_line != R"({"format":1,"separator":",","case":{}})";
    EXPECT_EQ(window.isWindowModified(), changed);
    EXPECT_EQ(window.windowTitle().toStdString(), GetParam().title);
    ASSERT_EQ(window.save_case(path), std::nullopt);

    CaseWindow reopened(kComma);
    ASSERT_EQ(reopened.open_case(path), std::nullopt);
    const casefile::CaseHeader& read = reopened.document().header;
    const casefile::CaseHeader& given = GetParam().header;
    EXPECT_EQ(read.reference, given.reference);
    EXPECT_EQ(read.title, given.title);
    EXPECT_EQ(read.expert, given.expert);
    EXPECT_EQ(read.created, given.created);
    EXPECT_EQ(read.note, given.note);
    EXPECT_EQ(reopened.windowTitle().toStdString(), GetParam().title);

    // The dialog opens with the description and gives it back as edited.
    CasePropertiesDialog dialog(read);
    using casefile::CaseHeader;
    EXPECT_EQ(dialog.text(&CaseHeader::reference).toStdString(), given.reference.value_or(""));
    EXPECT_EQ(dialog.text(&CaseHeader::note).toStdString(), given.note.value_or(""));
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(dialog.edit(&CaseHeader::note)), nullptr);
    dialog.set_text(&CaseHeader::expert, QStringLiteral("Ing. Petr Dvořák"));
    dialog.set_text(&CaseHeader::title, {});
    const casefile::CaseHeader edited = dialog.header();
    EXPECT_EQ(edited.expert, std::optional<std::string>("Ing. Petr Dvořák"));
    EXPECT_EQ(edited.title, std::nullopt);
    EXPECT_EQ(edited.reference, given.reference);
    // Each edit under its label with its access key, and named for a screen reader.
    const auto* form = qobject_cast<QFormLayout*>(dialog.layout());
    ASSERT_NE(form, nullptr);
    QStringList labels, names;
    for (const casefile::CaseHeaderMember& member : casefile::kCaseHeaderMembers) {
        const auto* label = qobject_cast<QLabel*>(form->labelForField(dialog.edit(member.text)));
        ASSERT_NE(label, nullptr) << member.key;
        labels << label->text();
        names << dialog.edit(member.text)->accessibleName();
    }
    EXPECT_EQ(labels.join(QLatin1Char('|')),
              QStringLiteral("&Spisová značka:|&Název případu:|Zn&alec:|&Založeno:|&Poznámka:"));
    EXPECT_EQ(names.join(QLatin1Char('|')),
              QStringLiteral("Spisová značka|Název případu|Znalec|Založeno|Poznámka k případu"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.edit(&CaseHeader::created))->placeholderText(),
              QStringLiteral("např. 2026-03-14"));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, CaseProperties, ::testing::Values(
    Described{"NoneKeepsTheFileName", {}, "[*]nehoda.vorlanex – Vorlanex Spis"},
    Described{"Title", {std::nullopt, "Střet s chodcem, Brno", std::nullopt, std::nullopt, std::nullopt},
              "[*]Střet s chodcem, Brno – Vorlanex Spis"},
    Described{"ReferenceWithoutTitle", {"12 T 34/2026", std::nullopt, "Ing. Jana Nováková", std::nullopt, std::nullopt},
              "[*]12 T 34/2026 – Vorlanex Spis"},
    Described{"Everything", {"ZP 17/2026", "Střet \"U Mlýna\"", "Ing. Jana Nováková", "2026-03-14", "Dva řádky\nposudku"},
              "[*]Střet \"U Mlýna\" – Vorlanex Spis"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vorlanex::spis
