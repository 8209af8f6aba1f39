#include "dialogs/infobox/info_box.h"

#include <algorithm>

#include "core/dpi.h"

namespace hueloom::dialogs {

InfoBoxLayout layoutInfoBox(TextExtent title, TextExtent content, int dpi) {
    auto s = [dpi](int v) { return hueloom::scale(v, dpi); };
    InfoBoxLayout l;
    l.title = {s(kInfoTitleLeft), s(kInfoTitleTop), title.width, title.height};
    l.content = {s(kInfoContentLeft), s(kInfoContentTop), content.width, content.height};

    l.clientWidth = std::max(s(kInfoMinWidth), 2 * l.content.left + l.content.width);
    const int b = (3 * l.content.top) / 2 + l.content.height;  // 51 + text height
    l.clientHeight = b + s(kInfoButtonHeight) + s(kInfoCheckBoxHeight) + s(20);

    l.rule1 = {s(5), l.content.top - s(8), 2 * l.title.left + l.title.width, s(2)};
    l.rule2 = {s(5), b, l.clientWidth - s(11), s(2)};
    l.checkBox = {s(kInfoCheckBoxLeft), b + s(8), s(kInfoCheckBoxWidth), s(kInfoCheckBoxHeight)};
    l.okButton = {(l.clientWidth - s(kInfoButtonWidth)) / 2, l.checkBox.top + l.checkBox.height + s(2),
                  s(kInfoButtonWidth), s(kInfoButtonHeight)};
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
