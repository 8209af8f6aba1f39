// Which commands the main window's menus offer in each state.
#include <gtest/gtest.h>

#include "main/menu_rules.h"

using namespace hueloom::app;

namespace {

// Each command follows one fact: offered while it holds (or while it does
// not), whatever the others say.
struct Rule {
    const char* command;
    bool MenuEnabling::*offered;
    bool MenuFacts::*fact;
    bool offeredWhenTrue;
};

const Rule kRules[] = {
    {"saveTxt", &MenuEnabling::saveTxt, &MenuFacts::hasPickedColours, true},
    {"savePalette", &MenuEnabling::savePalette, &MenuFacts::hasPickedColours, true},
    {"colorClear", &MenuEnabling::colorClear, &MenuFacts::hasPickedColours, true},
    {"colorToImg", &MenuEnabling::colorToImg, &MenuFacts::hasPickedColours, true},
    {"imgSave", &MenuEnabling::imgSave, &MenuFacts::magnifierRunning, false},
    {"colorSample", &MenuEnabling::colorSample, &MenuFacts::magnifierRunning, true},
    {"imgUndo", &MenuEnabling::imgUndo, &MenuFacts::undoAvailable, true},
    {"imgMode256", &MenuEnabling::imgMode256, &MenuFacts::workingImagePalette8, false},
    {"paste", &MenuEnabling::paste, &MenuFacts::clipboardHasPicture, true},
};

TEST(MenuRules, EachCommandFollowsItsFactAlone) {
    bool MenuFacts::*const all[] = {&MenuFacts::magnifierRunning, &MenuFacts::hasPickedColours,
                                    &MenuFacts::undoAvailable, &MenuFacts::workingImagePalette8,
                                    &MenuFacts::clipboardHasPicture};
    for (const Rule& r : kRules) {
        for (bool others : {false, true}) {
            MenuFacts f;
            for (auto fact : all) f.*fact = others;
            for (bool value : {false, true}) {
                f.*r.fact = value;
                EXPECT_EQ(menuEnabling(f).*r.offered, value == r.offeredWhenTrue)
                    << r.command << " with its fact " << value << ", the others " << others;
            }
        }
    }
}

}  // namespace
