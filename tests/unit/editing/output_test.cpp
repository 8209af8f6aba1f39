// Output rules: format by extension, remembered folder, metafile units and
// the placement of the printed image.
#include <gtest/gtest.h>

#include "editing/output.h"

namespace editing = hueloom::editing;

TEST(ExportNames, FormatFollowsTheLastExtensionInAnyCase) {
    using F = editing::ExportFormat;
    EXPECT_EQ(editing::exportFormatFor(L"C:\\a\\b.png"), F::Png);
    EXPECT_EQ(editing::exportFormatFor(L"b.BMP"), F::Bmp);
    EXPECT_EQ(editing::exportFormatFor(L"b.JpG"), F::Jpeg);
    EXPECT_EQ(editing::exportFormatFor(L"x.png.emf"), F::Emf);
    EXPECT_EQ(editing::exportFormatFor(L"x.WMF"), F::Wmf);
    EXPECT_EQ(editing::exportFormatFor(L"x.jpeg"), F::None);
    EXPECT_EQ(editing::exportFormatFor(L"x.gif"), F::None);
    EXPECT_EQ(editing::exportFormatFor(L"C:\\dir.png\\noext"), F::None);
    EXPECT_EQ(editing::exportFormatFor(L"noext"), F::None);
}

TEST(ExportNames, FolderIsKeptWithoutTrailingBackslashExceptAtARoot) {
    EXPECT_EQ(editing::imageFolderOf(L"C:\\Pictures\\shots\\a.png"), L"C:\\Pictures\\shots");
    EXPECT_EQ(editing::imageFolderOf(L"C:\\a.png"), L"C:\\");
    EXPECT_EQ(editing::imageFolderOf(L"\\\\srv\\share\\a.png"), L"\\\\srv\\share");
    EXPECT_EQ(editing::imageFolderOf(L"D:a.png"), L"D:");
    EXPECT_EQ(editing::imageFolderOf(L"a.png"), L"");
}

TEST(ExportNames, FrameConversionUsesTheDevicesPhysicalSize) {
    EXPECT_EQ(editing::pixelsToHundredthsMm(96, 254, 960), 2540);
    EXPECT_EQ(editing::pixelsToHundredthsMm(1280, 338, 1280), 33800);
    EXPECT_EQ(editing::pixelsToHundredthsMm(10, 338, 0), 0);
}

TEST(PrintLayout, ScreenSizeOnThePrinterScaledAndCentred) {
    using P = editing::PrintPlacement;
    // 96 dpi screen, 600 dpi printer: one inch square, centred on A4 at 600 dpi.
    EXPECT_EQ(editing::printPlacement(96, 96, 96, 96, 600, 600, 100, 4960, 7016), (P{2180, 3208, 600, 600}));
    // Driver scale 50: drawn twice as large for the driver to halve.
    EXPECT_EQ(editing::printPlacement(96, 96, 96, 96, 600, 600, 50, 4960, 7016), (P{1880, 2908, 1200, 1200}));
    // Too wide: shrunk with its aspect kept to span the page's width.
    const P wide = editing::printPlacement(2000, 500, 96, 96, 300, 300, 100, 2480, 3508);
    EXPECT_NEAR(wide.width, 2480, 1);
    EXPECT_LE(wide.x, 0 + 1);
    EXPECT_NEAR(wide.height, 620, 1);
    EXPECT_EQ(wide.y, (3508 - wide.height) / 2);
    // Too tall: spans the height.
    const P tall = editing::printPlacement(300, 3000, 96, 96, 300, 300, 100, 2480, 3508);
    EXPECT_NEAR(tall.height, 3508, 1);
    EXPECT_NEAR(tall.width, 300 * 3508 / 3000, 1);
    EXPECT_LE(tall.y, 1);
    // A small picture is never enlarged beyond its screen size.
    EXPECT_EQ(editing::printPlacement(10, 10, 96, 96, 96, 96, 100, 800, 600), (P{395, 295, 10, 10}));
    // Integer division first: 600 * 100 div 30 = 2000, / 96.
    EXPECT_NEAR(editing::printPlacement(96, 96, 96, 96, 600, 600, 30, 100000, 100000).width, 2000, 1);
}
