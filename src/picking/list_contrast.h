// The contrast line of the picked-colour list: the newest colour against the
// one picked before it, and against white and black, as WCAG 2 measures it.
#pragma once
#include <string>
#include <vector>

#include "picking/picked_colours.h"

namespace hueloom::picking {

// The pass mark of a ratio: "AAA" (7 and more), "AA" (4.5), "AA large"
// (3: large text only), "fail" below that.
const char* contrastMark(double ratio);

// "C2/C1 4.52:1 AA", "C2/white 1.05:1 fail", "C2/black 19.91:1 AAA": the
// newest ordinary colour of the list against the ordinary colour before it
// (when there is one), then against white and black. Nothing when the list
// holds no ordinary colour.
std::vector<std::string> listContrastLines(const PickedColours& list);

}  // namespace hueloom::picking
