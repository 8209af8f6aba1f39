// ImageError: the one exception type of the image engine. Its what() text is
// written for the user (the GUI shows it in a message box as it stands).
#pragma once

#include <stdexcept>
#include <string>

namespace hueloom::image {

class ImageError : public std::runtime_error {
public:
    explicit ImageError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace hueloom::image
