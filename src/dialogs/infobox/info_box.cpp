#include "dialogs/infobox/info_box.h"

#include <algorithm>

namespace hueloom::dialogs {

InfoBoxLayout layoutInfoBox(TextExtent title, TextExtent content) {
    InfoBoxLayout l;
    l.title = {kInfoTitleLeft, kInfoTitleTop, title.width, title.height};
    l.content = {kInfoContentLeft, kInfoContentTop, content.width, content.height};

    l.clientWidth = std::max(kInfoMinWidth, 2 * l.content.left + l.content.width);
    const int b = (3 * l.content.top) / 2 + l.content.height;  // 51 + text height
    l.clientHeight = b + kInfoButtonHeight + kInfoCheckBoxHeight + 20;

    l.rule1 = {5, l.content.top - 8, 2 * l.title.left + l.title.width, 2};
    l.rule2 = {5, b, l.clientWidth - 11, 2};
    l.checkBox = {kInfoCheckBoxLeft, b + 8, kInfoCheckBoxWidth, kInfoCheckBoxHeight};
    l.okButton = {(l.clientWidth - kInfoButtonWidth) / 2, l.checkBox.top + l.checkBox.height + 2, kInfoButtonWidth,
                  kInfoButtonHeight};
    return l;
}

TextExtent measureLines(std::string_view text, int lineHeight,
                        const std::function<int(std::string_view line)>& lineWidth) {
    TextExtent e;
    int lines = 0;
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        e.width = std::max(e.width, lineWidth(text.substr(start, end - start)));
        ++lines;
        if (end == text.size()) break;
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
        if (start == text.size()) break;  // a final line break opens no new line
    }
    e.height = lines * lineHeight;
    return e;
}

std::optional<ScreenPoint> placeInfoBox(int x, int y, int boxWidth, int boxHeight, int screenWidth, int screenHeight) {
    if (x < 0 || y < 0) return std::nullopt;
    ScreenPoint p{x, y};
    const int d = x + boxWidth - screenWidth;
    if (d > 0) p.x = x - d;
    const int e = y + boxHeight - screenHeight;
    if (e > 0) p.y = y - e;
    return p;
}

}  // namespace hueloom::dialogs
