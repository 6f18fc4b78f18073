// decode_jpeg against pictures encoded here with libjpeg's own compressor, and against damaged
// data that must give a null image without ending or disturbing the process.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "app/jpeg_image.h"

namespace {

using vorlanex::app::decode_jpeg;
using vorlanex::app::decode_jpeg_file;
using Bytes = std::vector<unsigned char>;

struct Rgb {
    int red, green, blue;
};

// Four solid blocks, top-left, top-right, bottom-left, bottom-right, so that swapped channels, a
// mirrored or upside-down picture or a wrong row length all show. Grey pictures use the green
// values.
constexpr std::array<Rgb, 4> kBlocks{{{220, 30, 30}, {30, 60, 220}, {30, 180, 60}, {240, 220, 40}}};

struct Encoding {
    const char* name;
    int width, height;
    bool grey = false;
    bool progressive = false;
    bool full_chroma = false;  // 4:4:4 instead of libjpeg's default 4:2:0
};
void PrintTo(const Encoding& encoding, std::ostream* out) { *out << encoding.name; }

Rgb expected_colour(const Encoding& encoding, int x, int y) {
    const Rgb block = kBlocks[(y < encoding.height / 2 ? 0 : 2) + (x < encoding.width / 2 ? 0 : 1)];
    return encoding.grey ? Rgb{block.green, block.green, block.green} : block;
}

Bytes encode(const Encoding& encoding) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(encoding.width);
    info.image_height = static_cast<JDIMENSION>(encoding.height);
    info.input_components = encoding.grey ? 1 : 3;
    info.in_color_space = encoding.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (encoding.full_chroma) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (encoding.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);

    Bytes row;
    while (info.next_scanline < info.image_height) {
        row.clear();
        for (int x = 0; x < encoding.width; ++x) {
            const Rgb colour = expected_colour(encoding, x, static_cast<int>(info.next_scanline));
            for (const int sample : {colour.red, colour.green, colour.blue}) {
                row.push_back(static_cast<unsigned char>(sample));
                if (encoding.grey) break;
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

Bytes encode_37x19() { return encode({"", 37, 19}); }

QImage decode(const Bytes& bytes) { return decode_jpeg(std::span(bytes.data(), bytes.size())); }

void expect_colour(const QImage& image, int x, int y, Rgb expected) {
    constexpr int kTolerance = 24;  // solid blocks survive JPEG this closely at quality 90
    const QRgb actual = image.pixel(x, y);
    EXPECT_NEAR(qRed(actual), expected.red, kTolerance) << "at " << x << "," << y;
    EXPECT_NEAR(qGreen(actual), expected.green, kTolerance) << "at " << x << "," << y;
    EXPECT_NEAR(qBlue(actual), expected.blue, kTolerance) << "at " << x << "," << y;
}

class DecodesPicture : public testing::TestWithParam<Encoding> {};

TEST_P(DecodesPicture, SizeLayoutAndBlockColoursSurvive) {
    const Encoding& encoding = GetParam();
    const QImage image = decode(encode(encoding));
    ASSERT_EQ(image.size(), QSize(encoding.width, encoding.height));
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        // The raw words, whose top byte QImage::pixel() would hide: RGB32 needs it to be 0xff.
        const auto* words = reinterpret_cast<const quint32*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(words[x] >> 24, 0xFFu) << x << "," << y;
    }
    // The middle of each block, away from the blurred edges between blocks.
    const int w = encoding.width, h = encoding.height;
    for (const int x : {w / 4, w / 2 + w / 4}) {
        for (const int y : {h / 4, h / 2 + h / 4}) {
            expect_colour(image, x, y, expected_colour(encoding, x, y));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(JpegImage, DecodesPicture,
                         testing::Values(Encoding{"Rgb37x19", 37, 19}, Encoding{"Grey37x19", 37, 19, true},
                                         Encoding{"Rgb17x33FullChroma", 17, 33, false, false, true},
                                         Encoding{"RgbProgressive64x48", 64, 48, false, true},
                                         Encoding{"GreyProgressive23x41", 23, 41, true, true},
                                         Encoding{"Rgb301x7", 301, 7, false, false, true},
                                         Encoding{"Rgb1x1", 1, 1, false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Offset just past the first marker segment `marker` (0xFFxx, length, contents).
std::size_t end_of_segment(const Bytes& jpeg, unsigned char marker) {
    std::size_t at = 2;
    const auto length = [&jpeg](std::size_t at) { return std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3]; };
    while (at + 3 < jpeg.size() && jpeg[at + 1] != marker) at += 2 + length(at);
    return at + 3 < jpeg.size() ? at + 2 + length(at) : jpeg.size();
}

// The picture with everything after `marker`'s segment overwritten by deterministic noise that
// holds no 0xFF, so it cannot form a marker.
Bytes noise_after(unsigned char marker) {
    Bytes jpeg = encode_37x19();
    unsigned state = 12345u;
    for (std::size_t i = end_of_segment(jpeg, marker); i < jpeg.size(); ++i) {
        state = state * 1103515245u + 12345u;
        jpeg[i] = static_cast<unsigned char>((state >> 16) % 255u);
    }
    return jpeg;
}

Bytes cut(Bytes jpeg, std::size_t keep) {
    jpeg.resize(keep);
    return jpeg;
}

struct BadCase {
    const char* name;
    std::function<Bytes()> bytes;
};
void PrintTo(const BadCase& bad, std::ostream* out) { *out << bad.name; }

class RefusesData : public testing::TestWithParam<BadCase> {};

TEST_P(RefusesData, GivesANullImageQuietly) {
    const Bytes bytes = GetParam().bytes();
    testing::internal::CaptureStderr();
    const QImage image = decode(bytes);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(image.isNull());
    // Still alive, and nothing was left behind: a sound picture decodes afterwards.
    EXPECT_EQ(decode(encode_37x19()).size(), QSize(37, 19));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    JpegImage, RefusesData,
    testing::Values(
        BadCase{"Empty", [] { return Bytes{}; }},
        BadCase{"ThreeRandomBytes", [] { return Bytes{0x3A, 0xC7, 0x91}; }},
        BadCase{"StartMarkerOnly", [] { return Bytes{0xFF, 0xD8}; }},
        BadCase{"TruncatedAtHalf", [] { return cut(encode_37x19(), encode_37x19().size() / 2); }},
        BadCase{"TruncatedInScanData",
                [] {
                    const Bytes jpeg = encode_37x19();
                                 // clang-format on
                                 const std::size_t data = end_of_segment(jpeg, 0xDA);
                                 return cut(jpeg, data + (jpeg.size() - data) / 2);
                             }},
                     BadCase{"EndMarkerMissing", [] { return cut(encode_37x19(), encode_37x19().size() - 2); }},
                     BadCase{"ProgressiveTruncated",
                             [] {
                                 const Bytes jpeg = encode({"", 64, 48, false, true});
                                 return cut(jpeg, jpeg.size() * 2 / 3);
                             }},
                     BadCase{"FileHeaderThenGarbage", [] { return noise_after(0xE0); }},
                     BadCase{"ScanHeaderThenGarbage", [] { return noise_after(0xDA); }},
                     BadCase{"PngSignature",
                             [] {
                                 return Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0,  13, 'I',
                                              'H',  'D', 'R', 0,   0,    0,    16,   0,    0, 0, 16, 8,  2};
                             }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegImage, ToleratesHarmlessFlawsQuietly) {
    // Stray bytes between two header segments (libjpeg warns) and data after the end marker cost
    // no pixel: the picture decodes and nothing is printed.
    Bytes stray = encode_37x19();
    const auto after_file_header = static_cast<std::ptrdiff_t>(end_of_segment(stray, 0xE0));
    stray.insert(stray.begin() + after_file_header, {1, 2, 3});
    Bytes trailing = encode_37x19();
    trailing.insert(trailing.end(), {0x00, 0x11, 0x22, 0x33});
    for (const Bytes* bytes : {&stray, &trailing}) {
        testing::internal::CaptureStderr();
        const QImage image = decode(*bytes);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        ASSERT_EQ(image.size(), QSize(37, 19));
        expect_colour(image, 9, 4, kBlocks[0]);
    }
}

TEST(JpegImage, ResourceOrFileIsReadAndDecoded) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const Bytes good = encode_37x19();
    const Bytes bad = cut(good, good.size() / 2);
    for (const auto& [name, bytes] : {std::pair{"good.jpg", good}, {"bad.jpg", bad}}) {
        QFile file(directory.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
    EXPECT_EQ(decode_jpeg_file(directory.filePath("good.jpg")).size(), QSize(37, 19));
    EXPECT_TRUE(decode_jpeg_file(directory.filePath("bad.jpg")).isNull());
    EXPECT_TRUE(decode_jpeg_file(directory.filePath("missing.jpg")).isNull());
    EXPECT_TRUE(decode_jpeg_file(directory.path()).isNull());
    EXPECT_TRUE(decode_jpeg_file(":/no/such/picture.jpg").isNull());
}

}  // namespace
