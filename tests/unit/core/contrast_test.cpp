// WCAG 2.x contrast on its own examples: black on white 21:1, #777777 on
// white just below 4.5:1, the greys at the AA (#767676, 4.54:1), AAA
// (#595959, 7.00:1) and large-text (#949494, 3.03:1) edges on white.
#include <gtest/gtest.h>

#include "core/contrast.h"

using namespace hueloom;

namespace {

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};
constexpr Rgb grey(uint8_t v) { return {v, v, v}; }

TEST(Contrast, RelativeLuminance) {
    EXPECT_DOUBLE_EQ(relativeLuminance(kBlack), 0.0);
    EXPECT_NEAR(relativeLuminance(kWhite), 1.0, 1e-12);
    EXPECT_NEAR(relativeLuminance({255, 0, 0}), 0.2126, 1e-12);
    EXPECT_NEAR(relativeLuminance({0, 255, 0}), 0.7152, 1e-12);
    EXPECT_NEAR(relativeLuminance({0, 0, 255}), 0.0722, 1e-12);
    EXPECT_NEAR(relativeLuminance(grey(0x77)), 0.18447, 1e-5);
}

TEST(Contrast, RatioRunsFromOneToTwentyOneInEitherOrder) {
    EXPECT_NEAR(contrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(kWhite, kBlack), 21.0, 1e-9);
    EXPECT_DOUBLE_EQ(contrastRatio(kWhite, kWhite), 1.0);
    EXPECT_DOUBLE_EQ(contrastRatio({12, 34, 56}, {12, 34, 56}), 1.0);
    EXPECT_NEAR(contrastRatio(grey(0x77), kWhite), 4.478, 1e-3);
    EXPECT_NEAR(contrastRatio(kWhite, grey(0x76)), 4.542, 1e-3);
    EXPECT_NEAR(contrastRatio(grey(0x59), kWhite), 7.005, 1e-3);
    EXPECT_NEAR(contrastRatio(grey(0x94), kWhite), 3.033, 1e-3);
}

TEST(Contrast, GradesAtTheWcagThresholds) {
    // #777777 on white fails AA for normal text but passes for large text.
    EXPECT_EQ(gradeContrast(contrastRatio(grey(0x77), kWhite)), (ContrastGrades{false, true, false, false}));
    EXPECT_EQ(gradeContrast(contrastRatio(grey(0x76), kWhite)), (ContrastGrades{true, true, false, true}));
    EXPECT_EQ(gradeContrast(contrastRatio(grey(0x5A), kWhite)), (ContrastGrades{true, true, false, true}));
    EXPECT_EQ(gradeContrast(contrastRatio(grey(0x59), kWhite)), (ContrastGrades{true, true, true, true}));
    EXPECT_EQ(gradeContrast(contrastRatio(grey(0x94), kWhite)), (ContrastGrades{false, true, false, false}));
    EXPECT_EQ(gradeContrast(contrastRatio(grey(0x95), kWhite)), (ContrastGrades{false, false, false, false}));
    // "At least": the thresholds themselves pass, just below them fails.
    EXPECT_EQ(gradeContrast(4.5), (ContrastGrades{true, true, false, true}));
    EXPECT_EQ(gradeContrast(4.4999), (ContrastGrades{false, true, false, false}));
    EXPECT_EQ(gradeContrast(7.0), (ContrastGrades{true, true, true, true}));
    EXPECT_EQ(gradeContrast(3.0), (ContrastGrades{false, true, false, false}));
    EXPECT_EQ(gradeContrast(2.9999), ContrastGrades{});
}

TEST(Contrast, TextCutsToHundredths) {
    EXPECT_EQ(contrastRatioText(contrastRatio(kBlack, kWhite)), "21.00:1");
    EXPECT_EQ(contrastRatioText(1.0), "1.00:1");
    EXPECT_EQ(contrastRatioText(contrastRatio(grey(0x77), kWhite)), "4.47:1");
    EXPECT_EQ(contrastRatioText(contrastRatio({255, 0, 0}, kWhite)), "3.99:1");
    EXPECT_EQ(contrastRatioText(contrastRatio({0, 0, 255}, kWhite)), "8.59:1");
    EXPECT_EQ(contrastRatioText(4.4999), "4.49:1");
    EXPECT_EQ(contrastRatioText(20.9999999999), "21.00:1");
}

}  // namespace
