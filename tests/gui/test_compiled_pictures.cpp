// The JPEG pictures compiled into the program: each decodes with the window's own decoder to its
// declared size, the names are unique and the window's pictures are all there. The formula
// pictures are black ink on white with a white edge, so nothing of a formula is cut off.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <set>
#include <string>
#include <string_view>

#include "app/jpeg_image.h"
#include "resources/compiled_pictures.h"

namespace {

using vorlanex::app::decode_jpeg;
using vorlanex::resources::compiled_jpegs;
using vorlanex::resources::CompiledJpeg;
using vorlanex::resources::find_compiled_jpeg;

struct Expected {
    std::string_view name;
    int width, height;
    bool formula;  // black on white, with a white edge
};

// clang-format off
constexpr Expected kWindowPictures[] = {
    {"road-view", 32, 32, false},
    {"ees-katalog-formula", 193, 52, true},
    {"ees-tuhosti-formula", 456, 127, true},
    {"gev-evu-formula", 152, 102, true},
    {"gev-definice-formula", 92, 40, true},
};
// clang-format on

// JPEG leaves a little noise around ink; these bounds are far from it.
constexpr int kWhite = 235;
constexpr int kInk = 80;

bool edge_is_white(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool edge = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
            if (edge && qGray(image.pixel(x, y)) < kWhite) return false;
        }
    }
    return true;
}

int count_ink(const QImage& image) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) ink += qGray(image.pixel(x, y)) < kInk ? 1 : 0;
    }
    return ink;
}

TEST(CompiledPictures, EveryPictureDecodesToItsSizeAndTheWindowsPicturesAreThere) {
    std::set<std::string_view> names;
    for (const CompiledJpeg& jpeg : compiled_jpegs()) {
        SCOPED_TRACE(std::string(jpeg.name));
        EXPECT_TRUE(names.insert(jpeg.name).second) << "the name is used twice";
        const QImage image = decode_jpeg(jpeg.bytes);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), jpeg.width);
        EXPECT_EQ(image.height(), jpeg.height);
        const QImage twice = decode_jpeg(jpeg.bytes_at_2x);
        ASSERT_FALSE(twice.isNull()) << "no twice-sized version";
        EXPECT_EQ(twice.size(), 2 * image.size());
        EXPECT_EQ(find_compiled_jpeg(jpeg.name), &jpeg);
    }

    for (const Expected& expected : kWindowPictures) {
        SCOPED_TRACE(std::string(expected.name));
        const CompiledJpeg* jpeg = find_compiled_jpeg(expected.name);
        ASSERT_NE(jpeg, nullptr);
        EXPECT_EQ(jpeg->width, expected.width);
        EXPECT_EQ(jpeg->height, expected.height);
        if (expected.formula) {
            for (const auto bytes : {jpeg->bytes, jpeg->bytes_at_2x}) {
                const QImage image = decode_jpeg(bytes);
                EXPECT_TRUE(edge_is_white(image)) << "a formula touches the edge of its picture";
                const int ink = count_ink(image);
                EXPECT_GT(ink, image.width() * image.height() / 50) << "too little ink for a formula";
                EXPECT_LT(ink, image.width() * image.height() / 4) << "too much ink for a formula";
            }
        }
    }

    EXPECT_EQ(find_compiled_jpeg("road-view.jpg"), nullptr);
    EXPECT_EQ(find_compiled_jpeg(""), nullptr);
}

}  // namespace
