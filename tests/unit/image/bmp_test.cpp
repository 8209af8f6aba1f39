#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "image/bmp.h"
#include "image/file_io.h"
#include "image/image_error.h"
#include "support/image_test_support.h"

namespace hueloom::image {
namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

TEST(Bmp, EveryFormatRoundTripsExactly) {
    struct Case {
        int bpp;
        std::size_t palette;
    };
    for (const Case c : {Case{1, 2}, Case{1, 1}, Case{4, 16}, Case{4, 5}, Case{8, 256}, Case{8, 37}, Case{15, 0},
                         Case{16, 0}, Case{24, 0}, Case{32, 0}}) {
        for (int width : {1, 3, 6, 33}) {
            const Dib src = testing::randomDib(width, 7, c.bpp, 1000 + width, c.palette);
            const std::vector<std::uint8_t> file = writeBmp(src);
            const Dib back = readBmp(file);
            EXPECT_EQ(back.bitsPerPixel(), c.bpp);
            EXPECT_EQ(back.palette(), src.palette());
            EXPECT_TRUE(back == src) << c.bpp << " bits, width " << width;
        }
    }
}

TEST(Bmp, HeadersDescribeTheStoredFormat) {
    const Dib pal = testing::randomDib(5, 3, 8, 1, 37);
    const auto f8 = writeBmp(pal);
    EXPECT_EQ(f8[0], 'B');
    EXPECT_EQ(f8[1], 'M');
    EXPECT_EQ(le32(f8, 2), f8.size());
    EXPECT_EQ(le32(f8, 10), 14u + 40u + 37u * 4u);  // pixels right after the colour table
    EXPECT_EQ(le32(f8, 14), 40u);
    EXPECT_EQ(le32(f8, 18), 5u);
    EXPECT_EQ(le32(f8, 22), 3u);  // positive height: bottom-up rows
    EXPECT_EQ(le16(f8, 26), 1u);
    EXPECT_EQ(le16(f8, 28), 8u);
    EXPECT_EQ(le32(f8, 30), 0u);  // BI_RGB
    EXPECT_EQ(le32(f8, 46), 37u);
    EXPECT_EQ(f8[54], pal.palette()[0].blue);
    EXPECT_EQ(f8[55], pal.palette()[0].green);
    EXPECT_EQ(f8[56], pal.palette()[0].red);
    EXPECT_EQ(f8.size(), 14u + 40u + 37u * 4u + 8u * 3u);

    const auto f15 = writeBmp(Dib(2, 2, 15));
    EXPECT_EQ(le16(f15, 28), 16u);
    EXPECT_EQ(le32(f15, 30), 0u);  // 5-5-5 is the plain 16-bit format
    const auto f16 = writeBmp(Dib(2, 2, 16));
    EXPECT_EQ(le16(f16, 28), 16u);
    EXPECT_EQ(le32(f16, 30), 3u);  // BI_BITFIELDS with the 5-6-5 masks
    EXPECT_EQ(le32(f16, 54), 0xF800u);
    EXPECT_EQ(le32(f16, 58), 0x07E0u);
    EXPECT_EQ(le32(f16, 62), 0x001Fu);
    EXPECT_EQ(le32(f16, 10), 66u);
    const auto f32 = writeBmp(Dib(2, 2, 32));
    EXPECT_EQ(le16(f32, 28), 32u);
    EXPECT_EQ(le32(f32, 10), 54u);
}

TEST(Bmp, ReadsTopDownAndCoreHeaderFiles) {
    const Dib src = testing::randomDib(3, 4, 24, 5);
    auto file = writeBmp(src);
    // Same picture stored top-down: negative height, rows reversed.
    auto topDown = file;
    put32(topDown, 22, static_cast<std::uint32_t>(-4));
    const std::size_t stride = src.stride();
    for (int r = 0; r < 4; ++r)
        std::copy(file.begin() + 54 + r * stride, file.begin() + 54 + (r + 1) * stride,
                  topDown.begin() + 54 + (3 - r) * stride);
    EXPECT_TRUE(readBmp(topDown) == src);

    // OS/2 core header, 3-byte colour table entries.
    const Dib pal = testing::randomDib(6, 2, 4, 9, 16);
    std::vector<std::uint8_t> core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      0,   12,  0, 0, 0, 6, 0, 2, 0, 1, 0, 4, 0};
    for (const RgbQuad& q : pal.palette()) core.insert(core.end(), {q.blue, q.green, q.red});
    put32(core, 10, static_cast<std::uint32_t>(core.size()));
    core.insert(core.end(), pal.bits(), pal.bits() + pal.imageSize());
    EXPECT_TRUE(readBmp(core) == pal);
}

TEST(Bmp, RejectsEveryTruncationOfAValidFile) {
    const auto file = writeBmp(testing::randomDib(5, 3, 8, 2, 20));
    for (std::size_t n = 0; n < file.size(); ++n) {
        EXPECT_THROW(readBmp(std::span(file.data(), n)), ImageError) << "length " << n;
    }
}

TEST(Bmp, RejectsInconsistentOrUnsupportedFiles) {
    const auto good = writeBmp(testing::randomDib(4, 4, 8, 3, 16));
    auto expectError = [](std::vector<std::uint8_t> f, const char* what) {
        EXPECT_THROW(readBmp(f), ImageError) << what;
    };
    auto f = good;
    f[0] = 'X';
    expectError(f, "signature");
    f = good;
    put32(f, 22, 0x40000000);  // a billion rows in a few bytes: must not allocate
    expectError(f, "huge height");
    f = good;
    put32(f, 18, 0x7FFFFFFF);
    expectError(f, "huge width");
    f = good;
    put32(f, 30, 1);  // RLE8
    expectError(f, "compression");
    f = good;
    put32(f, 46, 300);  // more colours than 8 bits can index
    expectError(f, "colour count");
    f = good;
    f[28] = 7;
    expectError(f, "bit count");
    f = good;
    put32(f, 10, 20);  // pixel data inside the headers
    expectError(f, "offset");
    f = good;
    put32(f, 14, 99);
    expectError(f, "header size");
    f = writeBmp(Dib(2, 2, 16));
    put32(f, 54, 0x0F00);
    expectError(f, "masks");
}

TEST(Bmp, FilesAreWrittenAndReadBack) {
    const auto dir = testing::freshTempDir("hueloom_bmp_test");
    const Dib src = testing::randomDib(9, 9, 32, 4);
    saveBmp(src, dir / "Undo.tmp");
    EXPECT_TRUE(loadBmp(dir / "Undo.tmp") == src);
    EXPECT_THROW(loadBmp(dir / "missing.bmp"), ImageError);
    EXPECT_THROW(saveBmp(src, dir / "no_such_dir" / "x.bmp"), ImageError);
    EXPECT_THROW(writeBmp(Dib()), ImageError);
    std::filesystem::remove_all(dir);
}

TEST(Bmp, AColourProfileIsEmbeddedInAV5HeaderAndReadBack) {
    const auto dir = testing::freshTempDir("hueloom_bmp_profile");
    const std::vector<std::uint8_t> icc = {'a', 'c', 's', 'p', 1, 2, 3, 4, 5};
    for (int bpp : {16, 24, 32}) {
        Dib src = testing::randomDib(5, 3, bpp, 7);
        src.setProfile(std::make_shared<const ColourProfile>(ColourProfile{"Monitor", icc}));
        const auto f = writeBmp(src);
        EXPECT_EQ(le32(f, 14), 124u);  // BITMAPV5HEADER
        EXPECT_EQ(le32(f, 14 + 56), 0x4D424544u);  // PROFILE_EMBEDDED
        const std::size_t at = 14 + le32(f, 14 + 112);
        ASSERT_EQ(le32(f, 14 + 116), icc.size());
        EXPECT_EQ(at, le32(f, 10) + src.imageSize());  // after the pixels
        EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + at, f.end()), icc);
        EXPECT_EQ(le32(f, 2), f.size());
        saveBmp(src, dir / "p.bmp");
        for (const Dib& back : {readBmp(f), loadBmp(dir / "p.bmp")}) {
            EXPECT_TRUE(back == src) << bpp;
            ASSERT_TRUE(back.profile());
            EXPECT_EQ(back.profile()->bytes, icc);
        }
        EXPECT_EQ(writeBmp(src, false), writeBmp(testing::randomDib(5, 3, bpp, 7)));  // for the clipboard
        // A profile said to reach past the end of the file.
        auto cut = f;
        cut.resize(cut.size() - 1);
        put32(cut, 2, static_cast<std::uint32_t>(cut.size()));
        EXPECT_THROW(readBmp(cut), ImageError);
    }
    std::filesystem::remove_all(dir);
}

// A disk that fills up: the process may not write files larger than `bytes`
// for as long as it lives.
struct FileSizeLimit {
    rlimit before{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit limit = before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &before); }
};

TEST(Bmp, AFailedWriteKeepsTheEarlierFileAndLeavesNothingBehind) {
    const auto dir = testing::freshTempDir("hueloom_full_disk_test");
    const Dib earlier = testing::randomDib(4, 4, 24, 1), large = testing::randomDib(200, 200, 24, 2);
    saveBmp(earlier, dir / "Undo.tmp");
    // The message names the file and gives the system's own text for its
    // error, whatever the platform makes of the code.
    setSystemReasonText([](int code) { return "system text " + std::to_string(code); });
    auto message = [](auto&& fn) {
        try {
            fn();
        } catch (const FileError& e) {
            return std::string(e.what());
        }
        return std::string("no FileError");
    };
    {
        FileSizeLimit full(4096);
        EXPECT_EQ(message([&] { saveBmp(large, dir / "Undo.tmp"); }), "ファイル「" + displayName(dir / "Undo.tmp") +
                                                                          "」に書き込めません。\nsystem text " +
                                                                          std::to_string(EFBIG));
        EXPECT_THROW(saveBmp(large, dir / "new.bmp"), FileError);
    }
    EXPECT_EQ(message([&] { saveBmp(large, dir / "no_such_dir" / "x.bmp"); }),
              "ファイル「" + displayName(dir / "no_such_dir" / "x.bmp") + "」を作成できません。\nsystem text " +
                  std::to_string(ENOENT));
    EXPECT_EQ(
        message([&] { loadBmp(dir / "gone.tmp"); }),
        "ファイル「" + displayName(dir / "gone.tmp") + "」を読み込めません。\nsystem text " + std::to_string(ENOENT));
    setSystemReasonText({});
    EXPECT_TRUE(loadBmp(dir / "Undo.tmp") == earlier);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Undo.tmp"});
    saveBmp(large, dir / "Undo.tmp");  // and replacing works once there is room
    EXPECT_TRUE(loadBmp(dir / "Undo.tmp") == large);
    std::filesystem::remove_all(dir);
}

// Too little memory: the process may not grow beyond `bytes` of address space.
struct AddressSpaceLimit {
    rlimit before{};
    explicit AddressSpaceLimit(rlim_t bytes) {
        getrlimit(RLIMIT_AS, &before);
        rlimit limit = before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &before); }
};

TEST(Bmp, ASnapshotTooBigForTheMemoryLeftIsNamedBySizeNotByTheLibrary) {
    // A 16384 x 16384 snapshot (1 GiB of pixels) as a sparse file: only its
    // headers take room on the disk.
    const auto dir = testing::freshTempDir("hueloom_big_snapshot_test");
    Dib small(1, 1, 32);
    std::vector<std::uint8_t> file = writeBmp(small);
    put32(file, 18, 16384);
    put32(file, 22, 16384);
    put32(file, 34, 16384u * 16384u * 4u);
    const std::uint64_t size = 54 + 16384ull * 16384ull * 4ull;
    put32(file, 2, static_cast<std::uint32_t>(size));
    file.resize(54);
    {
        std::FILE* f = std::fopen((dir / "Undo.tmp").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
        std::filesystem::resize_file(dir / "Undo.tmp", size);
    }
    std::string message;
    {
        AddressSpaceLimit tight(rlim_t{768} << 20);
        try {
            loadBmp(dir / "Undo.tmp");
        } catch (const ImageError& e) {
            message = e.what();
        } catch (const std::bad_alloc&) {
            message = "std::bad_alloc";
        }
    }
    EXPECT_EQ(message, "メモリが足りません (16384 × 16384)");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace hueloom::image
