// ZlibChain: one zlib stream (RFC 1950) built from pieces that libdeflate
// compresses one at a time, so that a large picture never has to be handed
// to the compressor in one buffer.
//
// libdeflate only compresses whole buffers: each piece comes out as a
// complete deflate stream whose last block is marked final. To continue the
// stream, the chain walks the piece's blocks to find that last block, clears
// its final bit and closes the piece with an empty stored block (the same
// byte-aligned marker zlib writes for a sync flush); the next piece starts
// on the byte boundary after it. A piece cannot refer back into the one
// before it, which costs little when pieces are large.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct libdeflate_compressor;

namespace hueloom::codecs {

// Where a raw deflate stream's final block starts and where the stream
// ends, in bits from the start of the data (bits are counted from the least
// significant bit of each byte, as deflate packs them). Throws ImageError
// when the data is not a complete deflate stream.
struct DeflateEnd {
    std::size_t finalBlockBit = 0;
    std::size_t endBit = 0;
};
DeflateEnd findDeflateEnd(std::span<const std::uint8_t> stream);

// The raw deflate size of a buffer at a given libdeflate level, for
// comparing ways to prepare the same data.
class DeflateProbe {
public:
    explicit DeflateProbe(int level);
    ~DeflateProbe();
    DeflateProbe(const DeflateProbe&) = delete;
    DeflateProbe& operator=(const DeflateProbe&) = delete;
    std::size_t size(const std::uint8_t* data, std::size_t size);

private:
    libdeflate_compressor* compressor_ = nullptr;
    std::vector<std::uint8_t> out_;
};

class ZlibChain {
public:
    // level: libdeflate's compression level, 0 (stored blocks) to 12.
    // zlibLevel: the zlib level named in the stream header (FLEVEL).
    ZlibChain(int level, int zlibLevel);
    ~ZlibChain();
    ZlibChain(const ZlibChain&) = delete;
    ZlibChain& operator=(const ZlibChain&) = delete;

    // Compresses the next piece (the last one is marked `last`) and returns
    // the stream's bytes for it: the zlib header before the first piece, the
    // Adler-32 trailer after the last. Valid until the next call.
    std::span<const std::uint8_t> add(const std::uint8_t* data, std::size_t size, bool last);

private:
    libdeflate_compressor* compressor_ = nullptr;
    int zlibLevel_;
    bool started_ = false;
    std::uint32_t adler_ = 1;
    std::vector<std::uint8_t> out_;
};

}  // namespace hueloom::codecs
