#include "settings/profile_win.h"

#include <windows.h>

#include "core/paths.h"
#include "toolkit/application_win.h"

namespace hueloom::settings {

std::string WinProfile::readString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) {
    std::string buf(256, '\0');
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buf.data(),
                                           static_cast<DWORD>(buf.size()), path_.c_str());
        // n == size − 1 means the value may have been cut: try a larger buffer.
        if (n + 1 < buf.size() || buf.size() >= (1u << 20)) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 4);
    }
}

void WinProfile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) && !failure_)
        failure_ = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    written_.push_back({section, key, value});
}

void WinProfile::flush() {
    // All three null: the system writes out and lets go of what it caches.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
    if (failure_) return;
    for (const Written& w : written_)
        if (readString(w.section, w.key, w.value + "?") != w.value) {
            failure_ = ERROR_DISK_FULL;
            return;
        }
}

std::string programPathAnsi() { return tk::narrow(tk::modulePath()); }

std::string settingsPathAnsi() { return tk::narrow(withExtension(tk::modulePath(), L".ini")); }

}  // namespace hueloom::settings
