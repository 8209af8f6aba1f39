// PngWriter: our PNG encoder over libdeflate, used by the .png export.
//
// A file holds, in this order: signature, IHDR, tIME (UTC time of writing),
// tEXt "Software", our private chunk, gAMA 45455 (or, for a picture with a
// colour profile, iCCP with the profile instead), sBIT (15- and 16-bit
// sources), PLTE (palette sources), IDAT (one zlib stream cut into
// 32768-byte chunks, the last one holding the rest), IEND. Palette sources
// keep their bit depth and indices; 15/16-bit channels are widened to 8 bits
// by repeating their top bits; 24/32-bit sources become 8-bit RGB (the
// fourth byte is dropped).
//
// The image data are compressed in pieces of about kPieceBytes (see
// ZlibChain), so memory beyond the picture and the file stays a few MB.
// Palette rows and stored data (level 0) use filter type 0 on every row;
// truecolour rows get, per piece, no filter, Sub, or libpng's per-row
// choice, whichever a quick trial on part of the piece finds smallest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "image/dib.h"

namespace hueloom::codecs {

// zlib level for the PNG compression setting: 0 none (0), 1 normal (-1,
// zlib's default), 2 fastest (1), 3 best (9); any other value gives -1.
// The same numbers select libdeflate's levels (-1 is 6).
int pngLevelForQuality(int pngQuality);

struct PngTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    static PngTime nowUtc();
};

class PngWriter {
public:
    static constexpr const char* kSoftware = "Hueloom PngWriter 1.0";
    static constexpr char kPrivateChunkType[5] = "hlPW";
    static constexpr char kPrivateTag[5] = "HLOM";
    static constexpr std::size_t kIdatChunkSize = 32768;
    // Rows are compressed in pieces of about this many bytes.
    static constexpr std::size_t kPieceBytes = 4u << 20;

    using Sink = std::function<void(const std::uint8_t* data, std::size_t size)>;

    // 0..9 or -1 (zlib's default); anything else becomes -1.
    void setCompressionLevel(int level);
    int compressionLevel() const { return level_; }
    // A fixed tIME instead of the time of writing.
    void setTime(std::optional<PngTime> time) { time_ = time; }

    void write(const image::Dib& dib, const Sink& sink) const;
    std::vector<std::uint8_t> encode(const image::Dib& dib) const;
    // Writes the file; on failure the partly written file is removed.
    void save(const image::Dib& dib, const std::filesystem::path& path) const;

private:
    int level_ = -1;
    std::optional<PngTime> time_;
};

}  // namespace hueloom::codecs
