#include "image/codecs/jpeg_writer.h"

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

// jpeglib.h expects size_t and FILE to be declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "core/parallel.h"
#include "image/file_io.h"
#include "image/image_error.h"

namespace hueloom::codecs {

using image::Dib;
using image::ImageError;

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {}  // warnings are not shown

// Destination collecting the compressed bytes in a vector.
struct VectorDestination {
    jpeg_destination_mgr pub;
    std::vector<std::uint8_t>* out;
    static constexpr std::size_t kBlock = 65536;
};

void initDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
    d->out->resize(VectorDestination::kBlock);
    d->pub.next_output_byte = d->out->data();
    d->pub.free_in_buffer = d->out->size();
}

boolean emptyBuffer(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
    const std::size_t used = d->out->size();
    bool grown = true;
    try {
        d->out->resize(used * 2);
    } catch (...) {
        grown = false;
    }
    if (!grown) {
        cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
        (*cinfo->err->error_exit)(reinterpret_cast<j_common_ptr>(cinfo));
    }
    d->pub.next_output_byte = d->out->data() + used;
    d->pub.free_in_buffer = d->out->size() - used;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
    d->out->resize(d->out->size() - d->pub.free_in_buffer);
}

// Runs libjpeg on the picture's rows [first, first + rows). Kept free of
// objects with destructors, as libjpeg's errors leave it through longjmp;
// returns false with the message set on failure. The head band writes the
// file's markers (the colour profile, and the restart interval when the
// picture is cut into bands); the others' markers are dropped.
bool compress(const Dib& dib, int quality, int first, int rows, unsigned restartInterval, std::uint8_t* row,
              std::vector<std::uint8_t>& out, ErrorManager& err) {
    jpeg_compress_struct cinfo;
    VectorDestination dest;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    dest.pub.init_destination = initDestination;
    dest.pub.empty_output_buffer = emptyBuffer;
    dest.pub.term_destination = termDestination;
    dest.out = &out;
    cinfo.dest = &dest.pub;

    cinfo.image_width = static_cast<JDIMENSION>(dib.width());
    cinfo.image_height = static_cast<JDIMENSION>(rows);
    // 24- and 32-bit rows go to the encoder as they lie (libjpeg-turbo's BGR
    // and BGRX input, the same colour conversion as RGB); other formats are
    // widened row by row.
    const int bpp = dib.bitsPerPixel();
    cinfo.input_components = bpp == 32 ? 4 : 3;
    cinfo.in_color_space = bpp == 32 ? JCS_EXT_BGRX : bpp == 24 ? JCS_EXT_BGR : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_FLOAT;
    cinfo.restart_interval = restartInterval;
    jpeg_start_compress(&cinfo, TRUE);
    // The picture's colour profile as APP2 "ICC_PROFILE" markers.
    if (const auto& profile = dib.profile(); first == 0 && profile && !profile->bytes.empty())
        jpeg_write_icc_profile(&cinfo, profile->bytes.data(), static_cast<unsigned>(profile->bytes.size()));

    const int h = dib.height();
    const std::size_t w = static_cast<std::size_t>(dib.width());
    JSAMPROW scanline[1] = {row};
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = first + static_cast<int>(cinfo.next_scanline);
        if (bpp == 24 || bpp == 32) {
            scanline[0] = const_cast<std::uint8_t*>(dib.scanLine(y));
            jpeg_write_scanlines(&cinfo, scanline, 1);
            continue;
        }
        image::rowToBgr24(dib, h - 1 - y, row);
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t b = row[x * 3];
            row[x * 3] = row[x * 3 + 2];
            row[x * 3 + 2] = b;
        }
        jpeg_write_scanlines(&cinfo, scanline, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

// libjpeg's defaults sample the colour at half resolution both ways: an MCU
// is 16 x 16 pixels. A band of 16 MCU rows is at most 16 * 4094 = 65504 MCUs
// wide, within the 16 bits of a restart interval.
constexpr int kMcu = 16;
constexpr int kBandRows = 16 * kMcu;

// Where the entropy-coded data of a complete JPEG file starts: after the
// start-of-scan segment.
std::size_t scanStart(const std::vector<std::uint8_t>& f) {
    std::size_t pos = 2;
    while (pos + 4 <= f.size() && f[pos] == 0xFF) {
        const std::size_t len = (std::size_t{f[pos + 2]} << 8) | f[pos + 3];
        if (f[pos + 1] == 0xDA) return pos + 2 + len;
        pos += 2 + len;
    }
    throw ImageError("JPEG encoder: no start of scan");
}

}  // namespace

// A picture taller than one band is encoded band by band on every core, each
// band as a file of its own, and joined into one scan with a restart marker
// between bands: a restart resets the DC predictors and pads to a byte as
// the end of a file does, so the joined scan decodes to exactly the pixels
// one pass would give. The bands are the same on any machine, so the same
// picture always gives the same file.
std::vector<std::uint8_t> writeJpeg(const Dib& dib, int quality) {
    if (dib.isNull()) throw ImageError("No image");
    if (dib.width() > JPEG_MAX_DIMENSION || dib.height() > JPEG_MAX_DIMENSION)
        throw ImageError("The picture is too large for a JPEG file");
    quality = std::clamp(quality, 1, 100);
    const int h = dib.height();
    const int bands = (h + kBandRows - 1) / kBandRows;
    const unsigned interval = bands > 1 ? static_cast<unsigned>((dib.width() + kMcu - 1) / kMcu * 16) : 0;
    std::vector<std::vector<std::uint8_t>> parts(static_cast<std::size_t>(bands));
    std::vector<std::string> failures(static_cast<std::size_t>(bands));
    std::atomic<int> next{0};
    auto work = [&] {
        std::unique_ptr<std::uint8_t[]> row;
        try {
            row.reset(new std::uint8_t[static_cast<std::size_t>(dib.width()) * 3]);
        } catch (...) {
            return;  // the bands left over are done by another worker
        }
        for (int b; (b = next++) < bands;) {
            ErrorManager err;
            err.message[0] = '\0';
            const int first = b * kBandRows;
            if (!compress(dib, quality, first, std::min(kBandRows, h - first), interval, row.get(),
                          parts[static_cast<std::size_t>(b)], err))
                failures[static_cast<std::size_t>(b)] = err.message;
        }
    };
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    runOnThreads(std::min({cores, bands, 8}), work);
    if (next.load() <= bands) throw ImageError(image::outOfMemoryMessage(dib.width(), 1));
    for (const std::string& f : failures)
        if (!f.empty()) throw ImageError("JPEG encoder: " + f);

    std::vector<std::uint8_t> out = std::move(parts[0]);
    if (bands == 1) return out;
    // The head band's frame header names the whole picture's height.
    out.resize(out.size() - 2);  // its end of image
    for (std::size_t pos = 2; pos + 7 <= out.size() && out[pos] == 0xFF;
         pos += 2 + ((std::size_t{out[pos + 2]} << 8) | out[pos + 3]))
        if (out[pos + 1] == 0xC0) {
            out[pos + 5] = static_cast<std::uint8_t>(h >> 8);
            out[pos + 6] = static_cast<std::uint8_t>(h);
            break;
        }
    for (int b = 1; b < bands; ++b) {
        const std::vector<std::uint8_t>& p = parts[static_cast<std::size_t>(b)];
        out.push_back(0xFF);
        out.push_back(static_cast<std::uint8_t>(0xD0 + ((b - 1) & 7)));
        out.insert(out.end(), p.begin() + static_cast<std::ptrdiff_t>(scanStart(p)), p.end() - 2);
    }
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

void saveJpeg(const Dib& dib, int quality, const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = writeJpeg(dib, quality);
    image::writeFileBytes(path, bytes);
}

}  // namespace hueloom::codecs
