#include "image/codecs/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

// jpeglib.h expects size_t and FILE to be declared first.
#include <jpeglib.h>
#include <jerror.h>

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

// Runs libjpeg. Kept free of objects with destructors, as libjpeg's errors
// leave it through longjmp; returns false with the message set on failure.
bool compress(const Dib& dib, int quality, std::uint8_t* row, std::vector<std::uint8_t>& out, ErrorManager& err) {
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
    cinfo.image_height = static_cast<JDIMENSION>(dib.height());
    // 24- and 32-bit rows go to the encoder as they lie (libjpeg-turbo's BGR
    // and BGRX input, the same colour conversion as RGB); other formats are
    // widened row by row.
    const int bpp = dib.bitsPerPixel();
    cinfo.input_components = bpp == 32 ? 4 : 3;
    cinfo.in_color_space = bpp == 32 ? JCS_EXT_BGRX : bpp == 24 ? JCS_EXT_BGR : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_FLOAT;
    jpeg_start_compress(&cinfo, TRUE);
    // The picture's colour profile as APP2 "ICC_PROFILE" markers.
    if (const auto& profile = dib.profile(); profile && !profile->bytes.empty())
        jpeg_write_icc_profile(&cinfo, profile->bytes.data(), static_cast<unsigned>(profile->bytes.size()));

    const int h = dib.height();
    const std::size_t w = static_cast<std::size_t>(dib.width());
    JSAMPROW rows[1] = {row};
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        if (bpp == 24 || bpp == 32) {
            rows[0] = const_cast<std::uint8_t*>(dib.scanLine(y));
            jpeg_write_scanlines(&cinfo, rows, 1);
            continue;
        }
        image::rowToBgr24(dib, h - 1 - y, row);
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t b = row[x * 3];
            row[x * 3] = row[x * 3 + 2];
            row[x * 3 + 2] = b;
        }
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

std::vector<std::uint8_t> writeJpeg(const Dib& dib, int quality) {
    if (dib.isNull()) throw ImageError("No image");
    if (dib.width() > JPEG_MAX_DIMENSION || dib.height() > JPEG_MAX_DIMENSION)
        throw ImageError("The picture is too large for a JPEG file");
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    std::unique_ptr<std::uint8_t[]> row(new std::uint8_t[static_cast<std::size_t>(dib.width()) * 3]);
    std::vector<std::uint8_t> out;
    ErrorManager err;
    err.message[0] = '\0';
    if (!compress(dib, quality, row.get(), out, err)) throw ImageError(std::string("JPEG encoder: ") + err.message);
    return out;
}

void saveJpeg(const Dib& dib, int quality, const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = writeJpeg(dib, quality);
    image::writeFileBytes(path, bytes);
}

}  // namespace hueloom::codecs
