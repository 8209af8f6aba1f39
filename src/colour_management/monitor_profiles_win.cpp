#include "colour_management/monitor_profiles_win.h"

#include <algorithm>
#include <filesystem>

#include "core/paths.h"
#include "image/file_io.h"
#include "toolkit/application_win.h"
#include "toolkit/monitors_win.h"

namespace hueloom::colour_management {

namespace {

// The profile the system associates with a monitor; empty when none.
std::wstring systemProfile(const std::wstring& device) {
    HDC dc = CreateDCW(L"DISPLAY", device.c_str(), nullptr, nullptr);
    if (!dc) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL ok = GetICMProfileW(dc, &size, path);
    DeleteDC(dc);
    return ok ? std::wstring(path) : std::wstring();
}

Rect intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

}  // namespace

std::vector<std::string> MonitorProfiles::load(const std::array<std::string, kKeys>& named,
                                               const std::wstring& programPath) {
    std::vector<std::string> problems;
    monitors_.clear();
    const std::vector<Rect> rects = tk::monitorRects();
    const std::vector<std::wstring> devices = tk::monitorDevices();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        MonitorColours m{rects[i]};
        const bool byUser = i < named.size() && !named[i].empty();
        const std::wstring path = byUser               ? resolveBeside(programPath, tk::widen(named[i]))
                                  : i < devices.size() ? systemProfile(devices[i])
                                                       : std::wstring();
        try {
            if (!path.empty()) {
                auto profile = std::make_shared<const IccProfile>(
                    image::readFileBytes(std::filesystem::path(path), IccProfile::kMaxBytes));
                m.path = path;
                if (!profile->isSrgb()) {
                    m.transform = std::make_shared<const ColourTransform>(profile->bytes());
                    m.embedded = namedProfile(profile->bytes(),
                                              tk::narrow(std::filesystem::path(path).stem().wstring(), CP_UTF8));
                    m.profile = std::move(profile);
                }
            }
        } catch (const std::exception& e) {
            // A profile the system names and cannot be read is no profile (the
            // system's default sRGB file need not exist); one the user named
            // is reported.
            m = MonitorColours{rects[i]};
            if (byUser) problems.push_back("Profile" + std::to_string(i + 1) + "=" + named[i] + "\n" + e.what());
        }
        monitors_.push_back(std::move(m));
    }
    return problems;
}

const MonitorColours* MonitorProfiles::at(Point p) const {
    for (const MonitorColours& m : monitors_)
        if (m.rect.contains(p)) return &m;
    return nullptr;
}

bool MonitorProfiles::anyManaged() const {
    return std::any_of(monitors_.begin(), monitors_.end(), [](const MonitorColours& m) { return m.managed(); });
}

void MonitorProfiles::prepareCapture(image::Dib& picture, const Rect& area, bool toSrgb) const {
    std::vector<const MonitorColours*> under;
    for (const MonitorColours& m : monitors_) {
        const Rect r = intersection(m.rect, area);
        if (r.right > r.left && r.bottom > r.top) under.push_back(&m);
    }
    if (std::none_of(under.begin(), under.end(), [](const MonitorColours* m) { return m->managed(); })) return;
    // One profile for the whole picture: it goes with the picture.
    const bool oneProfile = std::all_of(under.begin(), under.end(), [&](const MonitorColours* m) {
        return m->managed() && m->profile->bytes() == under.front()->profile->bytes();
    });
    if (oneProfile && !toSrgb) {
        picture.setProfile(under.front()->embedded);
        return;
    }
    // Several: each monitor's part converted to sRGB.
    for (const MonitorColours* m : under) {
        if (!m->managed()) continue;
        const Rect r = intersection(m->rect, area);
        m->transform->toSrgb(picture, {r.left - area.left, r.top - area.top, r.right - area.left, r.bottom - area.top});
    }
}

}  // namespace hueloom::colour_management
