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
    // A failed write (read-only folder) is not reported.
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str());
}

std::string programPathAnsi() { return tk::narrow(tk::modulePath()); }

std::string settingsPathAnsi() { return tk::narrow(withExtension(tk::modulePath(), L".ini")); }

}  // namespace hueloom::settings
