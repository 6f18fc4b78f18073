// The case window's icons in every size of the icon theme: drawn over most of their square in their
// main colour among others, on a transparent background; and the window carries its icon in every
// window size.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "qtshared/icon_painting.h"
#include "spis/case_icons.h"

namespace vorlanex::spis {
namespace {

struct DrawnIcon {
    const char* name;
    qtshared::Painting painting;
    QColor main_colour;
};

class CaseIcon : public ::testing::TestWithParam<DrawnIcon> {};

TEST_P(CaseIcon, IsDrawnInItsColourOnATransparentBackgroundInEverySize) {
    for (const int size : qtshared::kIconSizes) {
        const QImage image = qtshared::paint_image(GetParam().painting, size).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(size, size));
        int coloured = 0;
        int opaque = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                coloured += image.pixel(x, y) == GetParam().main_colour.rgba();
                opaque += qAlpha(image.pixel(x, y)) == 255;
            }
        }
        EXPECT_GT(opaque, size * size / 2) << size << " px";
        EXPECT_GT(coloured, size * size / 40) << size << " px";
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size << " px";
    }
}

INSTANTIATE_TEST_SUITE_P(CaseIcons, CaseIcon,
                         ::testing::Values(DrawnIcon{"Window", draw_case_folder, qtshared::palette::kYellow},
                                           DrawnIcon{"CaseFile", draw_case_file, qtshared::palette::kWhite}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CaseIcons, TheWindowCarriesItsIconInEveryWindowSize) {
    const QIcon icon = case_window_icon();
    EXPECT_EQ(icon.cacheKey(), case_window_icon().cacheKey());
    ASSERT_EQ(icon.availableSizes().size(), qsizetype(qtshared::kWindowIconSizes.size()));
    for (const int size : qtshared::kWindowIconSizes) EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
}

}  // namespace
}  // namespace vorlanex::spis
