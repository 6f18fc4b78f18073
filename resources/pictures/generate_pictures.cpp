// Draws the program's JPEG pictures: the view along a winding road and the four formula pictures.
//
//   vorlanex-picture-generator DIRECTORY NAME WIDTH HEIGHT [NAME WIDTH HEIGHT ...]
//
// writes DIRECTORY/NAME.jpg for each NAME at the given size, and DIRECTORY/NAME@2x.jpg, the same
// drawing at twice as many pixels each way, which the window shows on a screen scaled by 2. The build passes the names
// and sizes declared in resources/CMakeLists.txt; regenerate the committed pictures with
// clang-format off
//   cmake -B build/pictures -DVORLANEX_PICTURE_GENERATOR=ON -DVORLANEX_TESTS=OFF && cmake --build build/pictures --target regenerate-pictures
// clang-format on
// The formulas are set in Liberation Serif (Debian package fonts-liberation), loaded from its files
// so that no other installed font can stand in for it. Same fonts and libraries, same bytes.
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "formula_layout.h"
#include "jpeg_writer.h"
#include "road_view.h"

namespace vorlanex::pictures {
namespace {

constexpr const char* kFontDirectory = "/usr/share/fonts/truetype/liberation";
constexpr int kMargin = 2;  // white pixels kept free around every formula

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "vorlanex-picture-generator: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

QString load_serif_family() {
    QString family;
    for (const char* file : {"LiberationSerif-Regular.ttf", "LiberationSerif-Italic.ttf"}) {
        const QString path = QDir(kFontDirectory).filePath(file);
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0) fail("cannot load the font " + path + " (package fonts-liberation)");
        family = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    return family;
}

// A white picture of width x height page pixels at `scale` image pixels each: the painter draws in
// page pixels, and text and lines come out at the image's full resolution.
QImage white_canvas(int width, int height, int scale) {
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(scale);
    return image;
}

void paint(QImage& image, const Box& box, int x, int baseline) {
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    box.paint(painter, x, baseline);
}

// Checks that a block `width` x `height` fits inside the picture with its margins, and returns
// the top-left corner that centres it.
QPoint centred(const QImage& image, int width, int height, const char* what) {
    const QSize page = image.deviceIndependentSize().toSize();
    if (width > page.width() - 2 * kMargin || height > page.height() - 2 * kMargin) {
        fail(QString("%1 needs %2 x %3 px but the picture is %4 x %5 with %6 px margins")
                 .arg(what)
                 .arg(width)
                 .arg(height)
                 .arg(page.width())
                 .arg(page.height())
                 .arg(kMargin));
    }
    return {(page.width() - width) / 2, (page.height() - height) / 2};
}

QImage single_formula(int width, int height, int scale, const Box& formula, const char* what) {
    QImage image = white_canvas(width, height, scale);
    const QPoint corner = centred(image, formula.width, formula.height(), what);
    paint(image, formula, corner.x(), corner.y() + formula.ascent);
    return image;
}

// EES of a real vehicle from a catalogue test of another mass.
QImage ees_katalog_formula(int width, int height, int scale, const QString& serif) {
    const FormulaType t(serif, 15);
    const Box formula =
        row({t.name("EES", "SKUT"), t.relation("="), root(t.fraction(t.variable("m", "KAT"), t.variable("m", "SKUT"))),
             t.operation("·"), t.name("EES", "KAT")});
    return single_formula(width, height, scale, formula, "ees-katalog-formula");
}

// The bounds of vehicle 1's EES from vehicle 2's, one line for each order of the masses, with the
// condition of each line in a column at the right.
QImage ees_tuhosti_formula(int width, int height, int scale, const QString& serif) {
    const FormulaType t(serif, 18);
    const auto m = [&t](const char* index) { return t.variable("m", index); };
    const auto mass_ratio = [&] { return t.fraction(m("2"), m("1")); };
    const auto bounds = [&](Box lower_factor, Box upper_factor) {
        return row({t.name("EES", "2 DOLNÍ"), t.operation("·"), std::move(lower_factor), t.relation("≤"),
                    t.name("EES", "1"), t.relation("≤"), t.name("EES", "2 HORNÍ"), t.operation("·"),
                    std::move(upper_factor)});
    };
    const auto condition = [&](const char* relation) {
        return row({t.name("pro "), m("1"), t.relation(relation), m("2")});
    };
    const Box lines[2][2] = {{bounds(root(mass_ratio()), mass_ratio()), condition("≤")},
                             {bounds(mass_ratio(), root(mass_ratio())), condition(">")}};

    constexpr int kColumnGap = 24;  // between the widest formula and the conditions
    constexpr int kLineGap = 18;
    int formula_width = 0;
    int condition_width = 0;
    int block_height = kLineGap;
    for (const auto& [formula, when] : lines) {
        formula_width = std::max(formula_width, formula.width);
        condition_width = std::max(condition_width, when.width);
        block_height += std::max(formula.ascent, when.ascent) + std::max(formula.descent, when.descent);
    }
    QImage image = white_canvas(width, height, scale);
    const QPoint corner =
        centred(image, formula_width + kColumnGap + condition_width, block_height, "ees-tuhosti-formula");
    int top = corner.y();
    for (const auto& [formula, when] : lines) {
        const int baseline = top + std::max(formula.ascent, when.ascent);
        paint(image, formula, corner.x(), baseline);
        paint(image, when, corner.x() + formula_width + kColumnGap, baseline);
        top = baseline + std::max(formula.descent, when.descent) + kLineGap;
    }
    return image;
}

// GEV from the impulse and the deformation energy, by the EVU method.
QImage gev_evu_formula(int width, int height, int scale, const QString& serif) {
    const FormulaType t(serif, 15);
    const auto inverse_mass = [&t](const char* index) { return t.fraction(t.name("1"), t.variable("m", index)); };
    const Box energy = row({t.name("2"), t.operation("·"), t.variable("E", "DEF")});
    const Box masses = parenthesised(row({inverse_mass("1"), t.operation("+"), inverse_mass("2")}));
    const Box formula =
        row({t.name("GEV"), t.relation("="), t.fraction(t.variable("I"), root(t.fraction(energy, masses)))});
    return single_formula(width, height, scale, formula, "gev-evu-formula");
}

// GEV by its definition.
QImage gev_definice_formula(int width, int height, int scale, const QString& serif) {
    const FormulaType t(serif, 16);
    const Box formula =
        row({t.name("GEV"), t.relation("="), t.fraction(row({t.name("Δ"), t.variable("v")}), t.name("EES"))});
    return single_formula(width, height, scale, formula, "gev-definice-formula");
}

struct Picture {
    std::string_view name;
    JpegColour colour;
    // The picture of width x height page pixels, at `scale` image pixels for each.
    QImage (*draw)(int width, int height, int scale, const QString& serif);
};

// clang-format off
constexpr Picture kPictures[] = {
    {"road-view", JpegColour::Full,
     [](int width, int height, int scale, const QString&) { return draw_road_view(width * scale, height * scale); }},
    {"ees-katalog-formula", JpegColour::Grey, ees_katalog_formula},
    {"ees-tuhosti-formula", JpegColour::Grey, ees_tuhosti_formula},
    {"gev-evu-formula", JpegColour::Grey, gev_evu_formula},
    {"gev-definice-formula", JpegColour::Grey, gev_definice_formula},
};
// clang-format on

std::optional<int> parse_size(const QString& text) {
    bool ok = false;
    const int size = text.toInt(&ok);
    return ok && size > 0 && size <= 4096 ? std::optional(size) : std::nullopt;
}

int run(const QStringList& arguments) {
    if (arguments.size() < 5 || (arguments.size() - 2) % 3 != 0) {
        fail("usage: vorlanex-picture-generator DIRECTORY NAME WIDTH HEIGHT [NAME WIDTH HEIGHT ...]");
    }
    const QDir directory(arguments[1]);
    const QString serif = load_serif_family();
    // Every picture is drawn before any is written, so a formula that does not fit leaves the
    // committed set as it was.
    struct Drawn {
        const Picture* picture;
        QString file;
        QImage image;
    };
    std::vector<Drawn> drawn;
    for (qsizetype index = 2; index < arguments.size(); index += 3) {
        const QByteArray name = arguments[index].toUtf8();
        const auto* picture = std::ranges::find(kPictures, std::string_view(name), &Picture::name);
        if (picture == std::end(kPictures)) fail("no drawing for a picture called " + arguments[index]);
        const std::optional<int> width = parse_size(arguments[index + 1]);
        const std::optional<int> height = parse_size(arguments[index + 2]);
        if (!width || !height) fail("bad size for " + arguments[index]);
        for (const auto& [scale, suffix] : {std::pair{1, ".jpg"}, std::pair{2, "@2x.jpg"}}) {
            drawn.push_back({picture, arguments[index] + suffix, picture->draw(*width, *height, scale, serif)});
        }
    }
    for (const Drawn& each : drawn) {
        if (!write_jpeg(each.image, each.picture->colour, directory.filePath(each.file))) return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

}  // namespace
}  // namespace vorlanex::pictures

int main(int argc, char* argv[]) {
    // No display is needed: the pictures are painted into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    return vorlanex::pictures::run(QGuiApplication::arguments());
}
