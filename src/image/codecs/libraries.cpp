#include "image/codecs/libraries.h"

#include <cstdio>
// jpeglib.h needs the standard types first.
#include <jpeglib.h>
#include <libdeflate.h>
#include <zlib.h>

namespace hueloom::codecs {

namespace {
#define HUELOOM_TEXT(x) #x
#define HUELOOM_STRING(x) HUELOOM_TEXT(x)
}  // namespace

const std::vector<Library>& libraries() {
    static const std::vector<Library> list = {
        {"zlib", ZLIB_VERSION, "(C) 1995-2022 Jean-loup Gailly and Mark Adler."},
        {"libjpeg-turbo", HUELOOM_STRING(LIBJPEG_TURBO_VERSION),
         "This software is based in part on the work of the Independent JPEG Group."},
        {"libdeflate", LIBDEFLATE_VERSION_STRING, "(C) 2016 Eric Biggers, MIT License."},
    };
    return list;
}

std::string libraryNotices() {
    std::string s;
    for (const Library& l : libraries()) s += (s.empty() ? "" : "\r\n") + l.name + " " + l.version + " " + l.notice;
    return s;
}

}  // namespace hueloom::codecs
