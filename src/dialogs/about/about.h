#pragma once
// The about window without the window: its geometry (ring, card, orbit of
// the little circle, the closing iris), its texts, the embedded-data
// component that carries its picture, and the picture itself (a colour
// wheel with the card in its hole), drawn here and stored as PNG.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "image/dib.h"
#include "core/geometry.h"
#include "core/texts.h"

namespace hueloom::dialogs {

// Window and picture size (the window is borderless: client = window).
inline constexpr int kAboutWidth = 365;
inline constexpr int kAboutHeight = 364;

// The window shape: (outer ellipse XOR hole ellipse) OR card.
inline constexpr Rect kAboutOuterEllipse{2, 2, kAboutWidth - 2, kAboutHeight - 2};
inline constexpr Rect kAboutHoleEllipse{75, 75, 291, 291};
inline constexpr Rect kAboutCard{93, 129, 273, 235};
// Frame drawn round the card at each orbit step: brush 5 wide, 4 high.
inline constexpr int kAboutCardFrameWidth = 5;
inline constexpr int kAboutCardFrameHeight = 4;

// Controls.
inline constexpr int kAboutIconLeft = 166, kAboutIconTop = 135, kAboutIconSize = 32;
inline constexpr int kAboutLabel1Left = 112, kAboutLabel1Top = 170;
inline constexpr int kAboutLabel2Left = 102, kAboutLabel2Top = 186;
inline constexpr Rect kAboutButton{158, 203, 158 + 49, 203 + 25};
inline constexpr int kAboutShapeSize = 11;

// Timers.
inline constexpr unsigned kAboutOrbitInterval = 200;
inline constexpr unsigned kAboutIrisInterval = 100;

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t kAboutCardColour = 0xFFFFCC;
inline constexpr std::uint32_t kAboutButtonFace = 0x0000FF;  // blue

// Texts.
inline constexpr wchar_t kAboutProgramName[] = L"Hueloom Ver. 1.0 A4";
inline constexpr wchar_t kAboutRightsLine[] = L"Copyright (C) Hueloom";
inline constexpr wchar_t kAboutOkCaption[] = L"&OK";
inline const wchar_t* aboutVanishCaption() { return hueloom::wideText("about.1"); }

// ---------------------------------------------------------------- orbit

inline constexpr int kOrbitSteps = 30;

struct OrbitStep {
    int x = 0, y = 0;  // top-left of the 11 x 11 circle, also the sampled pixel
    int iconLeft = 0;  // ImgIcon's left edge at this step
    bool operator==(const OrbitStep&) const = default;
};

// The step for counter k (taken mod 30; negative values wrap too):
// θ = (2k/30 + 0.5)π, x = 177 + round(167 cos θ), y = 175 + round(167 sin θ)
// with halves rounded away from zero. k = 0 is at the bottom (177, 342);
// increasing k runs clockwise on screen.
OrbitStep orbitStep(int k);
// The counter after a step: k mod 30 + 1, wrapped into 0..29.
int nextOrbitCounter(int k);

// The OK button's caption colour for a face colour: each channel inverted.
std::uint32_t inverseColour(std::uint32_t rgb);

// ---------------------------------------------------------------- iris

struct IrisStep {
    bool close = false;  // the ellipse is narrower than 10 pixels: close now
    Rect ellipse;  // (s+2, s+2) - (width-2-s, height-2-s)
    bool hideLabels = false;  // narrower than 80 pixels
    bool red = false;  // caption red (s > 60), else yellow
    int next = 0;  // s for the next tick
};

// One tick of the closing iris at step s for a window of the given size. At
// another dpi its lengths (the 2-pixel margin, the 3-pixel step, the 10- and
// 80-pixel widths, the 60 of the red caption) are scaled, so the iris takes
// about as long at every display scaling.
IrisStep irisStep(int s, int width = kAboutWidth, int height = kAboutHeight, int dpi = 96);

// ---------------------------------------------------------------- picture

// The wheel: 30 equal segments, segment i centred on the orbit angle of
// step i, so the circle at step k sits on segment k.
inline constexpr double kWheelCentreX = 182.5, kWheelCentreY = 182.0;
inline constexpr double kWheelInnerRadius = 112.0, kWheelOuterRadius = 179.0;

// Colour of segment i (0xRRGGBB): 00FF00 at the bottom, then clockwise
// 00FF33 … 00FFFF … 0000FF … FF00FF (top) … FF0000 … FFFF00 … 33FF00.
std::uint32_t wheelColour(int segment);
// The segment under a point of the picture, whatever its distance from the
// centre.
int wheelSegmentAt(double x, double y);

// The picture: 365 x 364, 8-bit palette: white ground, the wheel with the
// letters G C B M R Y on the pure-hue segments, the light-yellow card. At
// another dpi every length is scaled (core/dpi.h) and the picture drawn
// afresh at that size.
image::Dib drawAboutPicture(int dpi = 96);
// The picture as a PNG file's bytes (made once, then reused).
const std::vector<std::uint8_t>& aboutPicturePng();

// The temporary picture beside the program: its path with ".png".
std::wstring aboutPicturePath(const std::wstring& programPath);

// ---------------------------------------------------------------- embedded data

// A byte stream carried by a component, with a notification when it is
// loaded.
class TBindData {
public:
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    bool empty() const { return bytes_.empty(); }
    std::size_t size() const { return bytes_.size(); }

    // Copies the bytes of another TBindData (no notification).
    void Assign(const TBindData& source);
    // Replaces the whole content with the rest of the stream, then notifies.
    void LoadFromStream(std::istream& in);
    // Replaces the content with these bytes, then notifies.
    void LoadFromBytes(std::vector<std::uint8_t> bytes);
    // Writes the whole content.
    void SaveToStream(std::ostream& out) const;
    // Creates or overwrites the file with the whole content through the
    // atomic writer; throws image::FileError (a std::runtime_error naming the
    // file and the reason) when it cannot, keeping an earlier file.
    void SaveToFile(const std::filesystem::path& path) const;
    // Whether the form definition stores the "Data" property.
    bool ShouldStore() const { return !bytes_.empty(); }

    std::function<void()> OnChange;

private:
    std::vector<std::uint8_t> bytes_;
};

// The non-visual component that owns one TBindData, published as Data.
class TDataBind {
public:
    const TBindData& Data() const { return data_; }
    TBindData& Data() { return data_; }
    void SetData(const TBindData& d) { data_.Assign(d); }

private:
    TBindData data_;
};

}  // namespace hueloom::dialogs
