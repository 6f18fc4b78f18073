// vorlanex-screenshots DIR: renders the main window on every calculation page to DIR/<page>.png,
// and once more after a worked example has been calculated (DIR/<page>-example.png). Needs no
// display: it uses the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <utility>
#include <vector>

#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "numeric/decimal_separator.h"
#include "registry/page_tree.h"

namespace {

struct Example {
    const char* page;
    std::vector<std::pair<const char*, const char*>> fields;
};

// Worked examples typed with the decimal comma.
const std::vector<Example> kExamples{
    {"kinematika", {{"I1", "20"}, {"I2", "8"}, {"I3", "0,7"}, {"I4", "15"}, {"I5", "20"}, {"I6", "0,8"}, {"I7", "0,2"}, {"I8", "1"}}},
    {"kinematika-meze",
     {{"J1.lo", "20"}, {"J1.hi", "25"}, {"J2.lo", "8"}, {"J2.hi", "10"}, {"J3.lo", "0,7"}, {"J3.hi", "0,9"},
      {"J4.lo", "15"}, {"J4.hi", "20"}, {"J5.lo", "20"}, {"J5.hi", "22"}, {"J6.lo", "0,8"}, {"J6.hi", "0,9"},
      {"J7.lo", "0,2"}, {"J7.hi", "0,3"}, {"J8.lo", "1"}, {"J8.hi", "1,2"}}},
};

bool save(vorlanex::app::TForm1& window, const QString& path) {
    QApplication::processEvents();
    const bool saved = window.grab().save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vorlanex;
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorlanex-screenshots DIR\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::apply_window_look();
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.exists() && !QDir().mkpath(directory.path())) return 1;

    app::Environment environment{numeric::DecimalSeparator(","), QStringLiteral("vorlanex")};
    app::TForm1 window(environment);
    window.show();
    bool all_saved = true;
    for (const page::PageDefinition* definition : registry::calculation_pages()) {
        window.show_page(definition->key);
        const QString key = QString::fromUtf8(definition->key.data(), static_cast<qsizetype>(definition->key.size()));
        all_saved &= save(window, directory.filePath(key + ".png"));
        for (const Example& example : kExamples) {
            if (definition->key != example.page) continue;
            app::CalculationPage* page = window.page(definition->key);
            for (const auto& [id, text] : example.fields) page->field(id)->setText(QString::fromUtf8(text));
            page->calculate_button()->click();
            all_saved &= save(window, directory.filePath(key + "-example.png"));
        }
    }
    return all_saved ? 0 : 1;
}
