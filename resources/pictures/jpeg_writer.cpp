#include "jpeg_writer.h"

#include <QFile>

#include <cstdio>  // jpeglib.h expects FILE and size_t to be declared before it
#include <cstdlib>

#include <jpeglib.h>

namespace vorlanex::pictures {
namespace {

constexpr int kQuality = 95;

// libjpeg's memory buffer, freed with free() as jpeg_mem_dest requires.
struct Encoded {
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    ~Encoded() { std::free(bytes); }
};

void encode(const QImage& pixels, JpegColour colour, Encoded& out) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // a failure here is a broken build machine: libjpeg exits
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out.bytes, &out.size);

    info.image_width = static_cast<JDIMENSION>(pixels.width());
    info.image_height = static_cast<JDIMENSION>(pixels.height());
    const bool grey = colour == JpegColour::Grey;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    info.dct_method = JDCT_ISLOW;  // the exact integer DCT: the same output on every CPU
    info.optimize_coding = TRUE;
    if (!grey) {
        for (int component = 0; component < info.num_components; ++component) {
            info.comp_info[component].h_samp_factor = 1;
            info.comp_info[component].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // JSAMPROW is not const; libjpeg only reads the row.
        JSAMPROW row = const_cast<unsigned char*>(pixels.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
}

}  // namespace

bool write_jpeg(const QImage& image, JpegColour colour, const QString& path) {
    const QImage pixels =
        image.convertToFormat(colour == JpegColour::Grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    Encoded encoded;
    encode(pixels, colour, encoded);

    QFile file(path);
    const auto size = static_cast<qint64>(encoded.size);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(encoded.bytes), size) != size) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

}  // namespace vorlanex::pictures
