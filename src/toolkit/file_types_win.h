// The file types a common file dialog offers (OPENFILENAME's lpstrFilter).
#pragma once
#include <string>
#include <vector>

namespace tk {

struct FileType {
    std::wstring name;  // "PNG Files (*.png)"
    std::wstring pattern;  // "*.png"
};

// "name\0pattern\0" for each type, the list ended by one more NUL.
inline std::wstring fileTypeFilter(const std::vector<FileType>& types) {
    std::wstring filter;
    for (const FileType& t : types) {
        filter += t.name;
        filter += L'\0';
        filter += t.pattern;
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

}  // namespace tk
