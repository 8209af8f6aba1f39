#include "core/colour.h"

#include <cstdio>

namespace hueloom {

std::string decimalText(Rgb c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "rgb(%u,%u,%u)", c.r, c.g, c.b);
    return buf;
}

std::string hexadecimalText(Rgb c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%2.2X%2.2X%2.2X", c.r, c.g, c.b);
    return buf;
}

}  // namespace hueloom
