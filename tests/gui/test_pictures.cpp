// The page pictures and the program's icon: size, transparency, sharing, and that each shows
// something of its own in the colours that make it recognisable.
//
// Pixmaps need a QGuiApplication, so this file has its own main() that creates one on the
// offscreen platform.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "app/pictures.h"
#include "resources/compiled_pictures.h"

namespace {

using vorlanex::app::main_icon;
using vorlanex::app::picture;

QImage pixels(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

template <typename Test>
int count_pixels(const QImage& image, Test test) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += test(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

// Rough colour families of opaque pixels: saturated ones by hue, the rest by brightness.
enum class Family { Red, Orange, Yellow, Green, Blue, White, Dark };

bool is(Family family, QRgb pixel) {
    const QColor colour = QColor::fromRgba(pixel);
    const int hue = colour.hsvHue();
    const bool vivid = colour.hsvSaturation() > 150 && colour.value() > 120;
    if (qAlpha(pixel) < 192) return false;
    switch (family) {
        case Family::Red: return vivid && (hue < 12 || hue > 348);
        case Family::Orange: return vivid && hue > 18 && hue < 38;
        case Family::Yellow: return vivid && hue > 40 && hue < 70;
        case Family::Green: return vivid && hue > 90 && hue < 160;
        case Family::Blue: return vivid && hue > 200 && hue < 250;
        case Family::White: return colour.hsvSaturation() < 20 && colour.value() > 235;
        case Family::Dark: return colour.value() < 80;
    }
    return false;
}

struct PictureCase {
    const char* name;
    const char* which;          // the name a page places it by
    std::vector<Family> shows;  // at least a few pixels of each
    std::vector<Family> never_shows;
};
void PrintTo(const PictureCase& picture_case, std::ostream* out) { *out << picture_case.name; }

using enum Family;
// clang-format off
const std::vector<PictureCase> kPictures{
    {"StopSign", "stop-sign", {Red, White}, {Blue, Green, Yellow}},
    {"Collision", "collision", {Blue, Red, Yellow}, {Green}},
    {"Skid", "skid", {Dark, White}, {Red, Blue, Yellow}},
    {"BrakePedal", "brake-pedal", {Red, Dark}, {Blue, Green, Yellow}},
    {"Warning", "warning", {Red, White, Dark}, {Blue, Green, Yellow}},
    {"FilingCabinet", "filing-cabinet", {White, Yellow, Dark}, {Red, Orange, Green, Blue}},
    {"DentedCar", "dented-car", {Orange, Dark}, {Red, Yellow, Green, Blue}},
};
// clang-format on

class PagePicture : public testing::TestWithParam<PictureCase> {};

TEST_P(PagePicture, Is32PixelsSquareOnATransparentBackground) {
    const QPixmap pixmap = picture(GetParam().which);
    ASSERT_EQ(pixmap.size(), QSize(32, 32));
    const QImage image = pixels(pixmap);
    EXPECT_GT(count_pixels(image, [](QRgb pixel) { return qAlpha(pixel) >= 192; }), 32 * 32 / 5);
    EXPECT_GT(count_pixels(image, [](QRgb pixel) { return qAlpha(pixel) == 0; }), 32 * 2);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "the top-left corner shows the background";
}

TEST_P(PagePicture, ShowsItsColours) {
    const QImage image = pixels(picture(GetParam().which));
    for (const Family family : GetParam().shows) {
        EXPECT_GE(count_pixels(image, [family](QRgb pixel) { return is(family, pixel); }), 4)
            << "missing colour " << static_cast<int>(family);
    }
    for (const Family family : GetParam().never_shows) {
        EXPECT_LE(count_pixels(image, [family](QRgb pixel) { return is(family, pixel); }), 2)
            << "unexpected colour " << static_cast<int>(family);
    }
}

TEST_P(PagePicture, IsDrawnOnceAndShared) {
    EXPECT_EQ(picture(GetParam().which).cacheKey(), picture(GetParam().which).cacheKey());
}

INSTANTIATE_TEST_SUITE_P(Pictures, PagePicture, testing::ValuesIn(kPictures),
                         [](const auto& info) { return std::string(info.param.name); });

// On a scaled screen a picture keeps its 32 x 32 page pixels and has the screen's device pixels in
// them, drawn afresh (not an enlarged 32-pixel picture): it still shows its colours, and a scaled
// drawing has more distinct edge pixels than the enlarged small one would.
struct ScaledCase {
    const char* name;
    qreal ratio;
    int device_pixels;
};
void PrintTo(const ScaledCase& scaled, std::ostream* out) { *out << scaled.name; }

class ScaledPicture : public testing::TestWithParam<ScaledCase> {};

TEST_P(ScaledPicture, HasTheScreensDevicePixelsInItsPagePixels) {
    const ScaledCase& scaled = GetParam();
    for (const PictureCase& picture_case : kPictures) {
        const QPixmap pixmap = picture(picture_case.which, scaled.ratio);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(32, 32)) << picture_case.name;
        EXPECT_EQ(pixmap.size(), QSize(scaled.device_pixels, scaled.device_pixels)) << picture_case.name;
        const QImage image = pixels(pixmap);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << picture_case.name;
        EXPECT_EQ(picture(picture_case.which, scaled.ratio).cacheKey(), pixmap.cacheKey()) << picture_case.name;
        // At a fractional ratio the one-pixel details blur into their neighbours; the colours are
        // checked at whole ratios.
        if (scaled.ratio != std::floor(scaled.ratio)) continue;
        for (const Family family : picture_case.shows) {
            const int area = scaled.device_pixels * scaled.device_pixels;
            EXPECT_GE(count_pixels(image, [family](QRgb pixel) { return is(family, pixel); }), 4 * area / 1024)
                << picture_case.name << ": missing colour " << static_cast<int>(family);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, ScaledPicture,
                         testing::Values(ScaledCase{"Ratio1", 1.0, 32}, ScaledCase{"Ratio1_25", 1.25, 40},
                                         ScaledCase{"Ratio2", 2.0, 64}, ScaledCase{"Ratio3", 3.0, 96}),
                         [](const auto& info) { return std::string(info.param.name); });

// An enlarged 32-pixel picture is made of 2 x 2 blocks of one colour each; a picture drawn at twice
// the ratio has finer detail along its slanted and curved edges.
TEST(Pictures, AtTwiceTheRatioIsDrawnAfreshNotEnlarged) {
    for (const PictureCase& picture_case : kPictures) {
        const QImage sharp = pixels(picture(picture_case.which, 2.0));
        int finer_blocks = 0;
        for (int y = 0; y < 64; y += 2) {
            for (int x = 0; x < 64; x += 2) {
                const QRgb first = sharp.pixel(x, y);
                finer_blocks += sharp.pixel(x + 1, y) != first || sharp.pixel(x, y + 1) != first ||
                                sharp.pixel(x + 1, y + 1) != first;
            }
        }
        EXPECT_GE(finer_blocks, 10) << picture_case.name;
    }
}

// A JPEG picture keeps its page pixels at every ratio; on a scaled screen it is its twice-sized
// version, drawn at twice the resolution (finer than the small one enlarged, whose pixels would
// come in 2 x 2 blocks of one colour) and carrying a ratio of 2.
TEST(Pictures, JpegPicturesOnAScaledScreenAreTheirTwiceSizedDrawing) {
    for (const vorlanex::resources::CompiledJpeg& jpeg : vorlanex::resources::compiled_jpegs()) {
        SCOPED_TRACE(std::string(jpeg.name));
        const QSize page_size(jpeg.width, jpeg.height);
        EXPECT_EQ(picture(jpeg.name, 1.0).size(), page_size);
        EXPECT_EQ(picture(jpeg.name, 1.0).devicePixelRatio(), 1.0);
        for (const qreal ratio : {1.5, 2.0, 3.0}) {
            const QPixmap scaled = picture(jpeg.name, ratio);
            EXPECT_EQ(scaled.size(), 2 * page_size) << ratio;
            EXPECT_EQ(scaled.devicePixelRatio(), 2.0) << ratio;
            EXPECT_EQ(scaled.deviceIndependentSize().toSize(), page_size) << ratio;
        }
        const QImage sharp = pixels(picture(jpeg.name, 2.0));
        int blocks = 0;
        int finer_blocks = 0;
        for (int y = 0; y + 1 < sharp.height(); y += 2) {
            for (int x = 0; x + 1 < sharp.width(); x += 2) {
                const QRgb first = sharp.pixel(x, y);
                ++blocks;
                finer_blocks += sharp.pixel(x + 1, y) != first || sharp.pixel(x, y + 1) != first ||
                                sharp.pixel(x + 1, y + 1) != first;
            }
        }
        EXPECT_GE(finer_blocks, blocks / 20);
    }
}

TEST(Pictures, EachDiffersClearlyFromEveryOther) {
    for (std::size_t a = 0; a < kPictures.size(); ++a) {
        const QImage first = pixels(picture(kPictures[a].which));
        for (std::size_t b = a + 1; b < kPictures.size(); ++b) {
            const QImage second = pixels(picture(kPictures[b].which));
            int different = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) different += first.pixel(x, y) != second.pixel(x, y);
            }
            EXPECT_GT(different, 32 * 32 / 4) << kPictures[a].name << " vs " << kPictures[b].name;
        }
    }
}

TEST(Pictures, ANameWithoutAPictureGivesANullPixmap) {
    EXPECT_TRUE(picture("no-such-picture").isNull());
    EXPECT_FALSE(vorlanex::app::is_drawn_icon("no-such-picture"));
}

TEST(MainIcon, IsAWhiteBusWithBlueAndGreenStripesDrawnAt16To256Pixels) {
    const QIcon icon = main_icon();
    EXPECT_EQ(icon.cacheKey(), main_icon().cacheKey());
    EXPECT_EQ(icon.availableSizes().size(), 5) << "the window carries 16 to 128 px";
    for (const int side : {16, 32, 48, 64, 128, 256}) {
        if (side <= 128) {
            EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side << " px";
        }
        const QImage image = pixels(vorlanex::app::main_icon_pixmap(side));
        ASSERT_EQ(image.size(), QSize(side, side));
        const int area = side * side;
        EXPECT_GT(count_pixels(image, [](QRgb pixel) { return is(White, pixel); }), area / 20);
        EXPECT_GT(count_pixels(image, [](QRgb pixel) { return is(Blue, pixel); }), area / 40);
        EXPECT_GT(count_pixels(image, [](QRgb pixel) { return is(Green, pixel); }), area / 40);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << side << " px";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
