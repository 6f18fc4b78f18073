// vorlanex-screenshots DIR: renders the main window on every calculation page to DIR/<page>.png,
// and once more after its worked example has been calculated (DIR/<page>-example.png). Needs no
// display: it uses the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "numeric/decimal_separator.h"
#include "numeric/escape_controls.h"
#include "registry/page_tree.h"

namespace {

// Further pictures for the README: a page after its worked example with some texts changed.
struct Scene {
    std::string_view page;
    const char* name;  // the file is DIR/<page>-<name>.png
    std::vector<std::pair<const char*, const char*>> changes;
};
// clang-format off
const std::vector<Scene> kScenes{
    {"draha-zastaveni", "build-up", {{"I5", "15"}}},  // the obstacle is hit during the brake build-up
};
// clang-format on

// Presses "Výpočet"; a warning box that opens is closed with its OK, as the user would.
void press(vorlanex::app::CalculationPage* page) {
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &enter);
        }
    });
    closer.start();
    page->calculate_button()->click();
}

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
    // An empty name would quietly mean the current folder, so it is refused like any name that
    // is not a folder. Qt holds file names as Unicode text; a name it cannot give back byte for
    // byte (one that is not UTF-8) would name another folder, so it is refused too.
    const QString folder = QFile::decodeName(argv[1]);
    const std::string shown_name = numeric::with_controls_escaped(argv[1]);  // never raw to the terminal
    if (folder.isEmpty()) {
        std::fprintf(stderr, "vorlanex-screenshots: the folder name is empty\nusage: vorlanex-screenshots DIR\n");
        return 2;
    }
    if (QFile::encodeName(folder) != QByteArray(argv[1])) {
        std::fprintf(stderr, "vorlanex-screenshots: the folder name '%s' is not valid UTF-8\n", shown_name.c_str());
        return 2;
    }
    if (const QFileInfo existing(folder); existing.exists() && !existing.isDir()) {
        std::fprintf(stderr, "vorlanex-screenshots: '%s' is not a folder\n", shown_name.c_str());
        return 2;
    }
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "vorlanex-screenshots: cannot create the folder '%s'\n", shown_name.c_str());
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::apply_window_look();
    if (const QString note = app::layout_font_note(); !note.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(note));
    const QDir directory(folder);

    app::Environment environment{numeric::DecimalSeparator(","), QStringLiteral("vorlanex")};
    app::TForm1 window(environment);
    window.show();
    bool all_saved = true;
    for (const page::PageDefinition* definition : registry::calculation_pages()) {
        window.show_page(definition->key);
        const QString key = QString::fromUtf8(definition->key.data(), static_cast<qsizetype>(definition->key.size()));
        all_saved &= save(window, directory.filePath(key + ".png"));
        if (definition->worked_example.empty()) continue;
        app::CalculationPage* page = window.page(definition->key);
        for (const page::FieldText& typed : definition->worked_example) {
            page->field(typed.id)->setText(
                QString::fromUtf8(typed.text.data(), static_cast<qsizetype>(typed.text.size())));
        }
        press(page);
        all_saved &= save(window, directory.filePath(key + "-example.png"));
        for (const Scene& scene : kScenes) {
            if (scene.page != definition->key) continue;
            for (const auto& [id, text] : scene.changes) page->field(id)->setText(QString::fromUtf8(text));
            press(page);
            all_saved &= save(window, directory.filePath(key + "-" + scene.name + ".png"));
        }
    }
    return all_saved ? 0 : 1;
}
