#include "image/codecs/deflate_chain.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "image/image_error.h"

namespace hueloom::codecs {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Half random bytes, half text-like repeats: both literals and matches.
Bytes mixedData(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes d(size);
    for (std::size_t i = 0; i < size; ++i)
        d[i] =
            (i / 4096) % 2 ? static_cast<std::uint8_t>(rng()) : static_cast<std::uint8_t>("hueloom"[i % 7] + i / 9000);
    return d;
}

// zlib's raw deflate of a then b: a ends with a full flush (byte-aligned),
// b is finished in one block, so b's block is the final one and starts at
// the byte after a's part.
struct TwoParts {
    Bytes stream;
    std::size_t secondStart = 0;
};
TwoParts zlibRawDeflate(const Bytes& a, const Bytes& b, int level, int strategy) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
    TwoParts out;
    out.stream.resize(deflateBound(&z, a.size() + b.size()) + 64);
    z.next_out = out.stream.data();
    z.avail_out = static_cast<uInt>(out.stream.size());
    z.next_in = const_cast<Bytes::value_type*>(a.data());
    z.avail_in = static_cast<uInt>(a.size());
    EXPECT_EQ(deflate(&z, Z_FULL_FLUSH), Z_OK);
    out.secondStart = z.total_out;
    z.next_in = const_cast<Bytes::value_type*>(b.data());
    z.avail_in = static_cast<uInt>(b.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.stream.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST(DeflateEnd, FindsTheFinalBlockOfStoredFixedAndDynamicBlocks) {
    const Bytes a = mixedData(70000, 1), b = mixedData(3000, 2);
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED})
        for (int level : {0, 1, 6, 9}) {
            const TwoParts z = zlibRawDeflate(a, b, level, strategy);
            const DeflateEnd end = findDeflateEnd(z.stream);
            EXPECT_EQ(end.finalBlockBit, z.secondStart * 8) << level << " " << strategy;
            EXPECT_EQ((end.endBit + 7) / 8, z.stream.size()) << level << " " << strategy;
            EXPECT_EQ(z.stream[z.secondStart] & 1, 1);  // BFINAL there
        }
}

TEST(DeflateEnd, RefusesIncompleteOrMalformedStreams) {
    const TwoParts z = zlibRawDeflate(mixedData(20000, 3), mixedData(5000, 4), 6, Z_DEFAULT_STRATEGY);
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, z.secondStart, z.stream.size() - 2}) {
        const Bytes part(z.stream.begin(), z.stream.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(findDeflateEnd(part), image::ImageError) << cut;
    }
    EXPECT_THROW(findDeflateEnd(Bytes{0x07}), image::ImageError);  // block type 3
    EXPECT_THROW(findDeflateEnd(Bytes{0x01, 0x05, 0x00, 0x00, 0x00}), image::ImageError);  // LEN != ~NLEN
}

TEST(ZlibChain, PiecesMakeOneStreamThatZlibReads) {
    const Bytes data = mixedData(300000, 5);
    for (int level : {0, 1, 6, 9, 12}) {
        for (std::size_t pieceSize : {std::size_t{1000}, std::size_t{65536}, std::size_t{299999}}) {
            ZlibChain chain(level, level > 9 ? 9 : level);
            Bytes stream;
            for (std::size_t at = 0; at < data.size(); at += pieceSize) {
                const std::size_t n = std::min(pieceSize, data.size() - at);
                const auto part = chain.add(data.data() + at, n, at + n == data.size());
                stream.insert(stream.end(), part.begin(), part.end());
            }
            Bytes back(data.size() + 1);
            uLongf size = static_cast<uLongf>(back.size());
            ASSERT_EQ(uncompress(back.data(), &size, stream.data(), static_cast<uLong>(stream.size())), Z_OK)
                << level << " " << pieceSize;
            back.resize(size);
            EXPECT_EQ(back, data) << level << " " << pieceSize;
            EXPECT_EQ(stream[0], 0x78);
            EXPECT_EQ((stream[0] * 256 + stream[1]) % 31, 0);
        }
    }
}

}  // namespace
}  // namespace hueloom::codecs
