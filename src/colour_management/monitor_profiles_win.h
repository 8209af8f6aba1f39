// The colour profile of each monitor, and what follows from it for the
// colour under the pointer and for a capture.
//
// A monitor's profile is the file the settings file names for it
// ([ColorManagement] Profile1 .. for monitors 1 ..), else the one the system
// associates with the monitor (GetICMProfile on a DC of that monitor). A
// monitor without one, or with an sRGB profile, changes nothing: its
// values are taken as sRGB, as they always were.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "colour_management/colour_transform_win.h"
#include "colour_management/icc_profile.h"
#include "core/geometry.h"
#include "image/dib.h"

namespace hueloom::colour_management {

struct MonitorColours {
    Rect rect;  // screen coordinates
    std::wstring path;  // the profile's file; empty: none
    // Both set only for a profile other than sRGB.
    std::shared_ptr<const IccProfile> profile;
    std::shared_ptr<const ColourTransform> transform;
    // The profile as a capture carries it (bytes and name).
    std::shared_ptr<const image::ColourProfile> embedded;
    bool managed() const { return transform != nullptr; }
};

class MonitorProfiles {
public:
    static constexpr int kKeys = 9;

    // Reads every monitor's profile. `named`: the settings file's Profile1 ..
    // texts (a path, relative ones beside the program); the problems met
    // (a file named that cannot be used), one text each, UTF-8.
    std::vector<std::string> load(const std::array<std::string, kKeys>& named, const std::wstring& programPath);

    // The monitor the point lies on (nullptr: none).
    const MonitorColours* at(Point p) const;
    // Whether some monitor's values are converted.
    bool anyManaged() const;

    // Makes a capture of `area` (screen coordinates) carry its colours: the
    // profile of the one monitor it lies on, or, where it spans monitors of
    // different profiles or `toSrgb` asks, its pixels converted to sRGB.
    void prepareCapture(image::Dib& picture, const Rect& area, bool toSrgb) const;

private:
    std::vector<MonitorColours> monitors_;
};

}  // namespace hueloom::colour_management
