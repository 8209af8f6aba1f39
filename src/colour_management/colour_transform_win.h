// A monitor's colours to sRGB by the system's colour management (mscms):
// from the monitor's profile to the program's sRGB profile, relative
// colorimetric, with the system's best precision.
#pragma once
#include <windows.h>

#include <icm.h>

#include <cstdint>
#include <span>
#include <vector>

#include "core/colour.h"
#include "core/geometry.h"
#include "image/dib.h"

namespace hueloom::colour_management {

class ColourTransform {
public:
    // Throws ProfileError when the system cannot use the profile.
    explicit ColourTransform(const std::vector<std::uint8_t>& monitorProfile);
    ~ColourTransform();
    ColourTransform(const ColourTransform&) = delete;
    ColourTransform& operator=(const ColourTransform&) = delete;

    Rgb toSrgb(Rgb screen) const;
    // Many colours at once, in place.
    void toSrgb(std::span<Rgb> colours) const;
    // The pixels of `part` (picture coordinates) of a 24- or 32-bit picture,
    // in place.
    void toSrgb(image::Dib& picture, const Rect& part) const;

private:
    void release();
    HPROFILE monitor_ = nullptr, srgb_ = nullptr;
    HTRANSFORM transform_ = nullptr;
};

}  // namespace hueloom::colour_management
