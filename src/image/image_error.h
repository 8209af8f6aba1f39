// ImageError: the one exception type of the image engine. Its what() text is
// written for the user (the GUI shows it in a message box as it stands).
#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include "core/texts.h"

namespace hueloom::image {

class ImageError : public std::runtime_error {
public:
    explicit ImageError(const std::string& message) : std::runtime_error(message) {}
};

// What the user reads when a picture does not fit in memory (UTF-8).
inline std::string outOfMemoryMessage(int width, int height) {
    return hueloom::text("error.1") + std::to_string(width) + hueloom::text("error.2") + std::to_string(height) + ")";
}

// Runs fn; running out of memory on the way becomes an ImageError naming the
// size of the picture at hand.
template <class Fn>
decltype(auto) withPictureMemory(int width, int height, Fn&& fn) {
    try {
        return fn();
    } catch (const std::bad_alloc&) {
        throw ImageError(outOfMemoryMessage(width, height));
    }
}

}  // namespace hueloom::image
