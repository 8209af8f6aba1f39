#include "image/codecs/deflate_chain.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "image/image_error.h"

namespace hueloom::codecs {

using image::ImageError;

namespace {

[[noreturn]] void broken() { throw ImageError("PNG encoder: malformed deflate data"); }

// Reads a deflate stream bit by bit, least significant bit of each byte
// first, through a 64-bit buffer refilled a word at a time.
class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> data) : data_(data) {}

    // Makes at least 56 bits available (zeros past the end of the data).
    void refill() {
        if (avail_ >= 56) return;
        if (data_.size() - std::min(next_, data_.size()) >= 8) {
            std::uint64_t w = 0;
            for (int i = 7; i >= 0; --i) w = (w << 8) | data_[next_ + i];  // one load on little-endian machines
            buf_ |= w << avail_;
            next_ += (63 - avail_) >> 3;
            avail_ |= 56;
        } else {
            if (next_ > data_.size() + 8) broken();  // everything buffered lies past the end
            while (avail_ <= 56) {
                if (next_ < data_.size()) buf_ |= std::uint64_t{data_[next_]} << avail_;
                ++next_;
                avail_ += 8;
            }
        }
    }
    std::uint64_t peek() const { return buf_; }
    // Consumes n <= 56 bits that refill() made available.
    void skip(unsigned n) {
        buf_ >>= n;
        avail_ -= n;
    }
    unsigned bits(unsigned n) {
        refill();
        const auto v = static_cast<unsigned>(buf_ & ((std::uint64_t{1} << n) - 1));
        skip(n);
        return v;
    }
    // Bits consumed so far; fails once that runs past the data.
    std::size_t pos() const {
        const std::size_t p = next_ * 8 - avail_;
        if (p > data_.size() * 8) broken();
        return p;
    }
    void align() { skip(avail_ % 8); }
    // Skips n whole bytes; the reader must be at a byte boundary.
    void skipBytes(std::size_t n) {
        const std::size_t p = pos() / 8 + n;
        if (p > data_.size()) broken();
        next_ = p;
        buf_ = 0;
        avail_ = 0;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t next_ = 0;  // the next byte to load
    std::uint64_t buf_ = 0;
    unsigned avail_ = 0;
};

// A decoding table over the next `bits` bits of the stream. An entry holds
// the symbol (above bit 8), the bits to skip for it, code and extra bits
// together (bits 0..6), and bit 7 when the entry is a valid code.
struct Table {
    unsigned bits = 0;
    std::array<std::uint32_t, 1u << 15> entries{};
};

unsigned lengthExtra(unsigned sym) {
    if (sym < 265 || sym == 285) return 0;
    return (sym - 261) / 4;
}
unsigned distExtra(unsigned sym) { return sym < 4 ? 0 : sym / 2 - 1; }

// Canonical Huffman code of the given code lengths (RFC 1951, 3.2.2).
void build(Table& t, const std::uint8_t* lengths, unsigned n, unsigned (*extra)(unsigned)) {
    unsigned count[16] = {};
    unsigned maxLen = 0;
    for (unsigned s = 0; s < n; ++s) {
        if (lengths[s] > 15) broken();
        ++count[lengths[s]];
        if (lengths[s] > maxLen) maxLen = lengths[s];
    }
    count[0] = 0;
    t.bits = maxLen == 0 ? 1 : maxLen;
    const std::size_t size = std::size_t{1} << t.bits;
    std::fill_n(t.entries.begin(), size, 0u);
    unsigned next[16] = {};
    unsigned code = 0;
    for (unsigned len = 1; len <= 15; ++len) {
        code = (code + count[len - 1]) << 1;
        next[len] = code;
    }
    for (unsigned s = 0; s < n; ++s) {
        const unsigned len = lengths[s];
        if (len == 0) continue;
        const unsigned c = next[len]++;
        if (c >= (1u << len)) broken();  // oversubscribed
        unsigned rev = 0;
        for (unsigned i = 0; i < len; ++i) rev |= ((c >> i) & 1u) << (len - 1 - i);
        const std::uint32_t entry = (s << 8) | 0x80u | (len + (extra ? extra(s) : 0));
        for (std::size_t i = rev; i < size; i += std::size_t{1} << len) t.entries[i] = entry;
    }
}

std::uint32_t decode(const Table& t, BitReader& in) {
    in.refill();
    const std::uint32_t e = t.entries[in.peek() & ((std::uint64_t{1} << t.bits) - 1)];
    if (!(e & 0x80u)) broken();
    in.skip(e & 0x7Fu);
    return e >> 8;
}

struct Tables {
    Table litlen, dist, lengths;
};

void fixedCodes(Tables& t) {
    std::uint8_t len[288 + 30];
    for (unsigned s = 0; s < 288; ++s) len[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    for (unsigned s = 0; s < 30; ++s) len[288 + s] = 5;
    build(t.litlen, len, 288, lengthExtra);
    build(t.dist, len + 288, 30, distExtra);
}

void dynamicCodes(Tables& t, BitReader& in) {
    static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const unsigned hlit = in.bits(5) + 257, hdist = in.bits(5) + 1, hclen = in.bits(4) + 4;
    if (hlit > 286 || hdist > 30) broken();
    std::uint8_t clen[19] = {};
    for (unsigned i = 0; i < hclen; ++i) clen[kOrder[i]] = static_cast<std::uint8_t>(in.bits(3));
    build(t.lengths, clen, 19, nullptr);
    std::uint8_t len[286 + 30] = {};
    for (unsigned i = 0; i < hlit + hdist;) {
        const unsigned sym = decode(t.lengths, in);
        unsigned repeat = 1;
        std::uint8_t value = 0;
        if (sym < 16) {
            value = static_cast<std::uint8_t>(sym);
        } else if (sym == 16) {
            if (i == 0) broken();
            value = len[i - 1];
            repeat = 3 + in.bits(2);
        } else {
            repeat = sym == 17 ? 3 + in.bits(3) : 11 + in.bits(7);
        }
        if (i + repeat > hlit + hdist) broken();
        for (; repeat > 0; --repeat) len[i++] = value;
    }
    build(t.litlen, len, hlit, lengthExtra);
    build(t.dist, len + hlit, hdist, distExtra);
}

// Walks the symbols of a Huffman-coded block up to its end code. One refill
// covers a length code with its extra bits (at most 20) and a distance code
// with its extra bits (at most 28).
void skipCodedBlock(const Tables& t, BitReader& reader) {
    BitReader in = reader;  // a local copy stays in registers
    const std::uint64_t litMask = (std::uint64_t{1} << t.litlen.bits) - 1;
    const std::uint64_t distMask = (std::uint64_t{1} << t.dist.bits) - 1;
    for (;;) {
        in.refill();
        const std::uint32_t e = t.litlen.entries[in.peek() & litMask];
        if (!(e & 0x80u)) broken();
        in.skip(e & 0x7Fu);
        const std::uint32_t sym = e >> 8;
        if (sym < 256) continue;
        if (sym == 256) {
            in.pos();  // fails when the walk ran past the data
            reader = in;
            return;
        }
        if (sym > 285) broken();
        const std::uint32_t d = t.dist.entries[in.peek() & distMask];
        if (!(d & 0x80u) || (d >> 8) > 29) broken();
        in.skip(d & 0x7Fu);
    }
}

}  // namespace

DeflateEnd findDeflateEnd(std::span<const std::uint8_t> stream) {
    BitReader in(stream);
    auto tables = std::make_unique<Tables>();
    for (;;) {
        DeflateEnd end;
        end.finalBlockBit = in.pos();
        const bool final = in.bits(1) != 0;
        const unsigned type = in.bits(2);
        if (type == 0) {
            in.align();
            const unsigned len = in.bits(16);
            if (in.bits(16) != (~len & 0xFFFFu)) broken();
            in.skipBytes(len);
        } else if (type == 1) {
            fixedCodes(*tables);
            skipCodedBlock(*tables, in);
        } else if (type == 2) {
            dynamicCodes(*tables, in);
            skipCodedBlock(*tables, in);
        } else {
            broken();
        }
        if (final) {
            end.endBit = in.pos();
            return end;
        }
    }
}

DeflateProbe::DeflateProbe(int level) : compressor_(libdeflate_alloc_compressor(level)) {
    if (!compressor_) throw ImageError("PNG encoder: cannot start the compressor");
}

DeflateProbe::~DeflateProbe() { libdeflate_free_compressor(compressor_); }

std::size_t DeflateProbe::size(const std::uint8_t* data, std::size_t size) {
    const std::size_t bound = libdeflate_deflate_compress_bound(compressor_, size);
    if (out_.size() < bound) out_.resize(bound);
    return libdeflate_deflate_compress(compressor_, data, size, out_.data(), bound);
}

ZlibChain::ZlibChain(int level, int zlibLevel) : zlibLevel_(zlibLevel) {
    compressor_ = libdeflate_alloc_compressor(level);
    if (!compressor_) throw ImageError("PNG encoder: cannot start the compressor");
}

ZlibChain::~ZlibChain() { libdeflate_free_compressor(compressor_); }

std::span<const std::uint8_t> ZlibChain::add(const std::uint8_t* data, std::size_t size, bool last) {
    const std::size_t bound = libdeflate_deflate_compress_bound(compressor_, size);
    if (out_.size() < 2 + bound + 8) out_.resize(2 + bound + 8);
    std::size_t at = 0;
    if (!started_) {
        // CMF: deflate, 32 KiB window; FLG: the level class and the check
        // bits that make the pair a multiple of 31.
        const int flevel = zlibLevel_ == 0 || zlibLevel_ == 1  ? 0
                           : zlibLevel_ < 0 || zlibLevel_ == 6 ? 2
                           : zlibLevel_ < 6                    ? 1
                                                               : 3;
        out_[0] = 0x78;
        std::uint8_t flg = static_cast<std::uint8_t>(flevel << 6);
        flg = static_cast<std::uint8_t>(flg + 31 - (0x78 * 256 + flg) % 31);
        out_[1] = flg;
        at = 2;
        started_ = true;
    }
    const std::size_t n = libdeflate_deflate_compress(compressor_, data, size, out_.data() + at, bound);
    if (n == 0) throw ImageError("PNG encoder: compression failed");
    adler_ = libdeflate_adler32(adler_, data, size);
    if (last) {
        at += n;
        out_[at] = static_cast<std::uint8_t>(adler_ >> 24);
        out_[at + 1] = static_cast<std::uint8_t>(adler_ >> 16);
        out_[at + 2] = static_cast<std::uint8_t>(adler_ >> 8);
        out_[at + 3] = static_cast<std::uint8_t>(adler_);
        return {out_.data(), at + 4};
    }
    // Not the last piece: its final block becomes an ordinary one, and an
    // empty stored block (three zero header bits, zero padding to the byte,
    // LEN 0, NLEN 0xFFFF) brings the stream back to a byte boundary.
    const DeflateEnd end = findDeflateEnd({out_.data() + at, n});
    std::uint8_t* p = out_.data() + at;
    p[end.finalBlockBit / 8] &= static_cast<std::uint8_t>(~(1u << (end.finalBlockBit % 8)));
    const std::size_t used = (end.endBit + 3 + 7) / 8;
    for (std::size_t i = n; i < used; ++i) p[i] = 0;
    p[end.endBit / 8] &= static_cast<std::uint8_t>((1u << (end.endBit % 8)) - 1);
    for (std::size_t i = end.endBit / 8 + 1; i < used; ++i) p[i] = 0;
    at += used;
    const std::uint8_t marker[4] = {0x00, 0x00, 0xFF, 0xFF};
    std::memcpy(out_.data() + at, marker, 4);
    return {out_.data(), at + 4};
}

}  // namespace hueloom::codecs
