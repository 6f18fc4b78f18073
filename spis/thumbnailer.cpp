// vorlanex-thumbnailer -s SIZE INPUT OUTPUT: writes the thumbnail of the case file INPUT as the
// PNG file OUTPUT, SIZE pixels high (spis/case_thumbnail.h), as the desktop's file manager calls
// a thumbnailer (share/thumbnailers/io.github.vorlanex.spis.thumbnailer). A file that is no case
// file writes nothing and ends with status 1; wrong arguments with status 2. Runs without a display.
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>
#include <string>
#include <variant>

#include "spis/case_thumbnail.h"

namespace {

// A case file is read whole; a larger file is no case a thumbnail is made of.
constexpr qint64 kLargestCaseFile = qint64{64} << 20;

int usage() {
    std::fprintf(stderr, "usage: vorlanex-thumbnailer -s SIZE INPUT OUTPUT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 || std::string(argv[1]) != "-s") return usage();
    bool number = false;
    const int size = QByteArray(argv[2]).toInt(&number);
    if (!number || size < vorlanex::spis::kSmallestThumbnail || size > vorlanex::spis::kLargestThumbnail)
        return usage();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QFile input(QFile::decodeName(argv[3]));
    if (!input.open(QIODevice::ReadOnly) || input.size() > kLargestCaseFile) {
        std::fprintf(stderr, "vorlanex-thumbnailer: cannot read %s\n", argv[3]);
        return 1;
    }
    const QByteArray bytes = input.readAll();
    const auto read = vorlanex::casefile::read_case_file(std::string_view(bytes.constData(), bytes.size()));
    if (const auto* error = std::get_if<vorlanex::casefile::CaseError>(&read)) {
        std::fprintf(stderr, "vorlanex-thumbnailer: %s: %s\n", argv[3], error->message.c_str());
        return 1;
    }
    // Written whole or not at all: a file manager takes a half-written file for a thumbnail.
    QSaveFile output(QFile::decodeName(argv[4]));
    if (!output.open(QIODevice::WriteOnly) ||
        !vorlanex::spis::case_thumbnail(std::get<vorlanex::casefile::CaseFile>(read), size).save(&output, "PNG") ||
        !output.commit()) {
        std::fprintf(stderr, "vorlanex-thumbnailer: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
