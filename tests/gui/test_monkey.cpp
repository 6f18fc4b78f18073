// A monkey in the window, offscreen, with a fixed seed: 10,000 random actions (typing edge texts
// or random characters into any field, result fields too, "Výpočet", "?" buttons, Tab, Enter, page
// switches), every box closed as it appears. The window must survive, and after every "Výpočet"
// each field of the page must hold exactly the text the page without a window gives for the same
// texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <random>
#include <string>
#include <vector>

#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::app::CalculationPage;
namespace page = vorlanex::page;

// clang-format off
const std::vector<QString> kTexts{
    "",     " ",    "0",         "-0",     "1",       "-1",      "10",        "50",      "1000",   "0,8",
    "-0,8", ",",    "5,",        ",5",     "1e300",   "-1e300",  "1e0500",    "1e5000",  "abc",    " 12,5 ",
    "12.5", "1E15", "0,0001",    "1e-5",   "13,889",  "3,7619",  "0,708",     "2700",    "9000",   "30",
    "1 000", "E5",  "1,7976931348623157E308", "9223372036854775808", "ŽLUŤOUČKÝ", "∞",      "nan",    "-",
};
// clang-format on

class Monkey : public ::testing::Test {
protected:
    Monkey() {
        form.show();
        QApplication::setActiveWindow(&form);
        // Every box is closed as soon as it is open, by Enter or Esc as the user would.
        closer.setInterval(0);
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                QTest::keyClick(box->focusWidget() ? box->focusWidget() : box,
                                random() % 2 ? Qt::Key_Return : Qt::Key_Escape);
            }
        });
        closer.start();
    }

    unsigned random() { return static_cast<unsigned>(generator()); }
    template <typename T>
    const T& any(const std::vector<T>& items) {
        return items[random() % items.size()];
    }

    QString random_text() {
        if (random() % 4) return any(kTexts);
        QString text;
        for (unsigned length = random() % 12; length > 0; --length)
            text += QChar(static_cast<char16_t>(32 + random() % 96));
        return text;
    }

    // Presses "Výpočet" and holds every field against the page without a window.
    void calculate_and_compare(CalculationPage* built) {
        const page::PageDefinition& definition = built->definition();
        page::FieldMapPort headless(definition, environment.separator);
        for (const page::Field& field : definition.layout.fields) {
            headless.preset(field.id, built->field(field.id)->text().toStdString());
        }
        page::press_calculate(definition, headless);
        QTest::mouseClick(built->calculate_button(), Qt::LeftButton);
        for (const page::Field& field : definition.layout.fields) {
            ASSERT_EQ(built->field(field.id)->text().toStdString(), headless.text(field.id))
                << definition.key << " " << field.id << " after action " << action;
        }
        ++calculations;
    }

    vorlanex::app::Environment environment{vorlanex::numeric::DecimalSeparator(","), QStringLiteral("vorlanex")};
    vorlanex::app::TForm1 form{environment};
    QTimer closer;
    std::mt19937 generator{20261207};
    int action = 0;
    int calculations = 0;
};

TEST_F(Monkey, TenThousandRandomActionsAndTheWindowEqualsTheHeadlessPage) {
    std::vector<CalculationPage*> pages;
    for (const page::PageDefinition* definition : vorlanex::registry::calculation_pages()) {
        pages.push_back(form.page(definition->key));
    }
    for (action = 0; action < 10000; ++action) {
        CalculationPage* built = any(pages);
        form.show_page(built->definition().key);
        const auto& fields = built->definition().layout.fields;
        switch (random() % 8) {
            case 0:
            case 1:
            case 2: {
                QLineEdit* edit = built->field(fields[random() % fields.size()].id);
                edit->setText(random_text());
                break;
            }
            case 3: {
                QLineEdit* edit = built->field(fields[random() % fields.size()].id);
                edit->setFocus();
                // Typed key by key: QTest types printable ASCII only.
                QString typed = random_text();
                typed.removeIf([](QChar c) { return c.unicode() < 32 || c.unicode() > 126; });
                QTest::keyClicks(edit, typed);
                break;
            }
            case 4:
            case 5: calculate_and_compare(built); break;
            case 6: {
                const auto buttons = built->findChildren<QPushButton*>();
                QTest::mouseClick(buttons[static_cast<qsizetype>(random() % buttons.size())], Qt::LeftButton);
                break;
            }
            case 7: {
                QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : built;
                QTest::keyClick(focus, random() % 2 ? Qt::Key_Tab : Qt::Key_Return);
                break;
            }
        }
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(calculations, 2000);
    EXPECT_TRUE(form.isVisible());
}

}  // namespace
