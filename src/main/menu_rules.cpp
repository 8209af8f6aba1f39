#include "main/menu_rules.h"

namespace hueloom::app {

MenuEnabling menuEnabling(const MenuFacts& f) {
    MenuEnabling e;
    e.saveTxt = f.hasPickedColours;
    e.savePalette = f.hasPickedColours;
    e.imgSave = !f.magnifierRunning;
    e.colorClear = f.hasPickedColours;
    e.colorSample = f.magnifierRunning;
    e.colorToImg = f.hasPickedColours;
    e.imgUndo = f.undoAvailable;
    e.imgMode256 = !f.workingImagePalette8;
    e.paste = f.clipboardHasPicture;
    e.selectionEdits = f.hasSelection;
    return e;
}

}  // namespace hueloom::app
