#include <gtest/gtest.h>

#include "image/image_error.h"
#include "image/wmf_header.h"

namespace hueloom::image {
namespace {

std::uint16_t word(const std::array<std::uint8_t, 22>& h, int i) {
    return static_cast<std::uint16_t>(h[2 * i] | (h[2 * i + 1] << 8));
}

TEST(PlaceableWmf, HeaderFieldsAndChecksum) {
    const auto h = placeableWmfHeader(640, 480);
    EXPECT_EQ(h[0], 0xD7);  // a .wmf file starts D7 CD C6 9A
    EXPECT_EQ(h[1], 0xCD);
    EXPECT_EQ(h[2], 0xC6);
    EXPECT_EQ(h[3], 0x9A);
    EXPECT_EQ(word(h, 2), 0);  // handle
    EXPECT_EQ(word(h, 3), 0);  // left
    EXPECT_EQ(word(h, 4), 0);  // top
    EXPECT_EQ(word(h, 5), 640);  // right
    EXPECT_EQ(word(h, 6), 480);  // bottom
    EXPECT_EQ(word(h, 7), 96);  // units per inch
    EXPECT_EQ(word(h, 8), 0);
    EXPECT_EQ(word(h, 9), 0);
    EXPECT_EQ(word(h, 10), 0xCDD7 ^ 0x9AC6 ^ 640 ^ 480 ^ 96);
    EXPECT_EQ(placeableWmfChecksum(h.data()), word(h, 10));

    const auto other = placeableWmfHeader(1, 32767, 1440);
    EXPECT_EQ(word(other, 10), 0xCDD7 ^ 0x9AC6 ^ 1 ^ 32767 ^ 1440);
}

TEST(PlaceableWmf, SizesBeyondTheSignedWordFieldsAreRefused) {
    EXPECT_THROW(placeableWmfHeader(32768, 10), ImageError);
    EXPECT_THROW(placeableWmfHeader(10, 40000), ImageError);
    EXPECT_THROW(placeableWmfHeader(0, 10), ImageError);
    EXPECT_THROW(placeableWmfHeader(10, 10, 0), ImageError);
}

}  // namespace
}  // namespace hueloom::image
