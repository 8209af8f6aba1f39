// ICC colour profiles of monitors: what the program needs to read of one
// (its name, whether it is sRGB, its matrix and tone curves), and an sRGB
// profile of the program's own to convert into.
//
// The conversion itself is the system's (colour_transform_win.h); what is
// read here tells whether there is anything to convert, and gives a sampled
// colour's exact place outside sRGB, which an 8-bit sRGB value cannot hold.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/colour.h"
#include "core/css_colour.h"
#include "image/dib.h"

namespace hueloom::colour_management {

// A file that is not a usable ICC profile. what() says why, in the user's
// words (UTF-8).
class ProfileError : public std::runtime_error {
public:
    explicit ProfileError(const std::string& why) : std::runtime_error(why) {}
};

class IccProfile {
public:
    // Profiles larger than this are refused (the largest display profiles,
    // with big tables, are a few MB).
    static constexpr std::size_t kMaxBytes = 16u << 20;

    // Reads the header and the tag table; throws ProfileError for a file
    // that is no ICC profile, is cut short, or is not of an RGB device.
    explicit IccProfile(std::vector<std::uint8_t> bytes);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    // The profile's description ('desc'), UTF-8; empty when it has none.
    const std::string& description() const { return description_; }
    // Colorants and tone curves, for a matrix/TRC profile (most display
    // profiles); false for one made of tables only.
    bool hasMatrixShaper() const { return matrixShaper_.has_value(); }
    // Whether converting from this profile to sRGB would change no 8-bit
    // value (by more than rounding): sRGB's colorants and tone curve.
    bool isSrgb() const { return srgb_; }
    // A device colour in the profile connection space (CIE XYZ relative to
    // D50), for a matrix/TRC profile.
    css::Coords toXyzD50(Rgb device) const;

private:
    struct Curve {
        std::vector<double> table;  // sampled, 0..1 over 0..1; empty: the function
        int type = -1;  // parametric type 0..4, or -1 for a table/identity
        std::array<double, 7> p{};
        double operator()(double x) const;
    };
    struct MatrixShaper {
        std::array<css::Coords, 3> colorants;  // red, green, blue: XYZ D50
        std::array<Curve, 3> curves;
    };

    std::vector<std::uint8_t> bytes_;
    std::string description_;
    std::optional<MatrixShaper> matrixShaper_;
    bool srgb_ = false;

    friend struct ProfileReader;
};

// The profile as a picture carries it, named by its description, else by
// `fallback` (a profile that cannot be read keeps its bytes, unnamed).
std::shared_ptr<const image::ColourProfile> namedProfile(std::vector<std::uint8_t> bytes, std::string fallback = {});

// An sRGB profile (ICC version 2.1, display class, sRGB's colorants adapted
// to D50 with Bradford, its tone curve as a 1024-entry table), made by the
// program: the target of every conversion, the same on every system.
const std::vector<std::uint8_t>& srgbProfileBytes();

// The colour of the content behind a screen pixel, as far as the profile's
// matrix and curves tell it: exact, not limited to sRGB.
struct ExactColour {
    css::Coords xyzD50;
    // Beyond sRGB by more than half a step of 8 bits in some channel.
    bool outsideSrgb = false;
};
ExactColour exactColour(const IccProfile& profile, Rgb device);

}  // namespace hueloom::colour_management
