#include "app/jpeg_image.h"

#include <QByteArray>
#include <QFile>
#include <QScopeGuard>
#include <QtGlobal>

#include <climits>
#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h expects FILE and size_t to be declared before it

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the message codes.
#include <jerror.h>

namespace vorlanex::app {
namespace {

// Largest picture decoded: 64 Mpx (256 MB as RGB32), at most 16384 px along either side. libjpeg's
// own whole-picture buffers (progressive pictures) are capped at the same amount.
constexpr JDIMENSION kMaxSide = 16384;
constexpr unsigned long long kMaxPixels = 64ULL * 1024 * 1024;
constexpr long kMaxLibjpegMemory = 256L * 1024 * 1024;

// libjpeg writes each pixel as four bytes in the order QImage::Format_RGB32 keeps them in memory
// (0xffRRGGBB as a native 32-bit word), with the fourth byte set to 0xff as that format requires.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_ARGB;
#endif

// libjpeg's state and the way back out of it when libjpeg gives up. Plain C data only; it lives in
// decode_jpeg's frame, and the error callbacks find it through client_data.
struct Decoder {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    std::jmp_buf escape;
};

// libjpeg's default error_exit prints the message and calls exit(). Instead, jump back to the
// setjmp of the stage function that is running; only libjpeg's C frames lie in between.
[[noreturn]] void escape_on_error(j_common_ptr info) {
    std::longjmp(static_cast<Decoder*>(info->client_data)->escape, 1);
}

// Warnings that mean part of the picture was lost and libjpeg filled the gap with grey or garbage.
// A missing end marker counts too: it is what tells a complete picture from one whose data was
// cut off or overwritten with noise that happens to decode.
bool is_damage_warning(int code) {
    switch (code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION: return true;
        default: return false;
    }
}

// A damaged picture is a failure, not a patched-up picture; other warnings and trace messages are
// dropped. Nothing is ever written to stderr.
void screen_message(j_common_ptr info, int level) {
    if (level < 0) {
        ++info->err->num_warnings;
        if (is_damage_warning(info->err->msg_code)) escape_on_error(info);
    }
}

void drop_message(j_common_ptr) {}

// The two stage functions are the only frames that call setjmp. They own no C++ object with a
// destructor, and no local they change after setjmp is read after the jump back, so a longjmp into
// them skips no destructor and reads no stale register. Everything with a destructor (the QImage,
// the clean-up guard) lives in decode_jpeg, which never calls setjmp and is never jumped over.

// Creates the decompressor, reads the header and fixes the output layout.
bool read_header(Decoder* decoder, const unsigned char* data, unsigned long size) {
    if (setjmp(decoder->escape) != 0) return false;
    jpeg_create_decompress(&decoder->info);
    decoder->info.mem->max_memory_to_use = kMaxLibjpegMemory;
    jpeg_mem_src(&decoder->info, data, size);
    if (jpeg_read_header(&decoder->info, TRUE) != JPEG_HEADER_OK) return false;
    switch (decoder->info.jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_YCbCr:
        case JCS_RGB: break;
        default:  // CMYK, YCCK: no conversion to RGB in libjpeg
            return false;
    }
    decoder->info.out_color_space = kRgb32Layout;
    jpeg_calc_output_dimensions(&decoder->info);
    return true;
}

// Decodes the picture row by row straight into the caller's pixel buffer.
bool read_pixels(Decoder* decoder, unsigned char* first_row, std::size_t bytes_per_line) {
    if (setjmp(decoder->escape) != 0) return false;
    if (!jpeg_start_decompress(&decoder->info)) return false;
    while (decoder->info.output_scanline < decoder->info.output_height) {
        JSAMPROW row = first_row + decoder->info.output_scanline * bytes_per_line;
        if (jpeg_read_scanlines(&decoder->info, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&decoder->info);
    return true;
}

}  // namespace

QImage decode_jpeg(std::span<const unsigned char> bytes) {
    if (bytes.empty() || bytes.size() > ULONG_MAX) return {};

    Decoder decoder{};  // zeroed, so jpeg_destroy_decompress is safe whatever stage fails
    decoder.info.err = jpeg_std_error(&decoder.errors);
    decoder.errors.error_exit = escape_on_error;
    decoder.errors.emit_message = screen_message;
    decoder.errors.output_message = drop_message;
    decoder.info.client_data = &decoder;  // jpeg_create_decompress keeps err and client_data
    const auto destroy = qScopeGuard([&decoder] { jpeg_destroy_decompress(&decoder.info); });

    if (!read_header(&decoder, bytes.data(), static_cast<unsigned long>(bytes.size()))) return {};
    const JDIMENSION width = decoder.info.output_width;
    const JDIMENSION height = decoder.info.output_height;
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<unsigned long long>(width) * height > kMaxPixels || decoder.info.output_components != 4) {
        return {};
    }

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) return {};  // out of memory
    if (!read_pixels(&decoder, image.bits(), static_cast<std::size_t>(image.bytesPerLine()))) {
        return {};
    }
    return image;
}

QImage decode_jpeg_file(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return decode_jpeg(
        {reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
}

}  // namespace vorlanex::app
