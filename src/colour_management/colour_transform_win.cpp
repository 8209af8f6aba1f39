#include "colour_management/colour_transform_win.h"

#include <algorithm>

#include "colour_management/icc_profile.h"
#include "core/texts.h"

namespace hueloom::colour_management {

namespace {

HPROFILE openProfile(const std::vector<std::uint8_t>& bytes) {
    PROFILE p{};
    p.dwType = PROFILE_MEMBUFFER;
    p.pProfileData = const_cast<std::uint8_t*>(bytes.data());
    p.cbDataSize = static_cast<DWORD>(bytes.size());
    return OpenColorProfileW(&p, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

// 8 bits to the 16 of the system's colours, and back, rounded.
WORD wide(std::uint8_t v) { return static_cast<WORD>(v * 257); }
std::uint8_t narrow(WORD v) { return static_cast<std::uint8_t>((v + 128) / 257); }

// Colours are translated in batches of this many.
constexpr std::size_t kBatch = 4096;

}  // namespace

ColourTransform::ColourTransform(const std::vector<std::uint8_t>& monitorProfile) {
    monitor_ = openProfile(monitorProfile);
    srgb_ = openProfile(srgbProfileBytes());
    if (monitor_ && srgb_) {
        HPROFILE profiles[2] = {monitor_, srgb_};
        DWORD intent = INTENT_RELATIVE_COLORIMETRIC;
        transform_ = CreateMultiProfileTransform(profiles, 2, &intent, 1, BEST_MODE, INDEX_DONT_CARE);
    }
    if (!transform_) {
        release();
        throw ProfileError(hueloom::text("cm.transform.1"));
    }
}

ColourTransform::~ColourTransform() { release(); }

void ColourTransform::release() {
    if (transform_) DeleteColorTransform(transform_);
    if (monitor_) CloseColorProfile(monitor_);
    if (srgb_) CloseColorProfile(srgb_);
    transform_ = nullptr, monitor_ = srgb_ = nullptr;
}

Rgb ColourTransform::toSrgb(Rgb screen) const {
    toSrgb(std::span<Rgb>(&screen, 1));
    return screen;
}

void ColourTransform::toSrgb(std::span<Rgb> colours) const {
    std::vector<COLOR> in(std::min(colours.size(), kBatch)), out(in.size());
    for (std::size_t at = 0; at < colours.size(); at += kBatch) {
        const std::size_t n = std::min(kBatch, colours.size() - at);
        for (std::size_t i = 0; i < n; ++i) {
            const Rgb c = colours[at + i];
            in[i].rgb = {wide(c.r), wide(c.g), wide(c.b)};
        }
        if (!TranslateColors(transform_, in.data(), static_cast<DWORD>(n), COLOR_RGB, out.data(), COLOR_RGB))
            return;  // left as they are
        for (std::size_t i = 0; i < n; ++i)
            colours[at + i] = {narrow(out[i].rgb.red), narrow(out[i].rgb.green), narrow(out[i].rgb.blue)};
    }
}

void ColourTransform::toSrgb(image::Dib& picture, const Rect& part) const {
    const int bytes = picture.bitsPerPixel() / 8;
    if (bytes != 3 && bytes != 4) return;
    const Rect r{std::max(0, part.left), std::max(0, part.top), std::min(picture.width(), part.right),
                 std::min(picture.height(), part.bottom)};
    if (r.right <= r.left || r.bottom <= r.top) return;
    // A picture of the screen holds far fewer colours than pixels: each
    // colour is converted once, the results kept in a table by colour (a
    // slot whose colour was taken by another is converted again).
    constexpr std::uint32_t kSlots = 1u << 16, kEmpty = 0xFFFFFFFF;
    std::vector<std::uint32_t> keys(kSlots, kEmpty);
    std::vector<Rgb> values(kSlots);
    auto slotOf = [](std::uint32_t key) { return (key * 2654435761u) >> 16; };
    std::vector<Rgb> fresh;
    std::vector<std::uint32_t> freshSlots;
    const std::size_t width = static_cast<std::size_t>(r.right - r.left);
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* p = picture.scanLine(y) + static_cast<std::size_t>(r.left) * bytes;
        auto keyAt = [&](std::size_t x) {
            const std::uint8_t* q = p + x * bytes;
            return static_cast<std::uint32_t>(q[2]) << 16 | q[1] << 8 | q[0];
        };
        fresh.clear(), freshSlots.clear();
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t key = keyAt(x), slot = slotOf(key);
            if (keys[slot] == key) continue;
            keys[slot] = key;
            fresh.push_back({static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
                             static_cast<std::uint8_t>(key)});
            freshSlots.push_back(slot);
        }
        toSrgb(fresh);
        for (std::size_t i = 0; i < fresh.size(); ++i) values[freshSlots[i]] = fresh[i];
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t key = keyAt(x), slot = slotOf(key);
            Rgb c = values[slot];
            if (keys[slot] != key)  // its slot went to a later colour of the row
                c = toSrgb(Rgb{static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
                               static_cast<std::uint8_t>(key)});
            std::uint8_t* q = p + x * bytes;
            q[2] = c.r, q[1] = c.g, q[0] = c.b;
        }
    }
}

}  // namespace hueloom::colour_management
