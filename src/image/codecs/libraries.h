// The libraries the codecs are built on, as this build contains them: their
// names and versions (from their own headers) and the notices their
// licences ask to be shown. The full licence texts are in the file
// THIRD-PARTY-NOTICES beside the program.
#pragma once
#include <string>
#include <vector>

namespace hueloom::codecs {

struct Library {
    std::string name, version;
    std::string notice;  // one line
};

// zlib, libjpeg-turbo and libdeflate, in that order.
const std::vector<Library>& libraries();

// One line per library ("zlib 1.2.13 (C) 1995-2022 …"), joined by CR LF.
std::string libraryNotices();

}  // namespace hueloom::codecs
