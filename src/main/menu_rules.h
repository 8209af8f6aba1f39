// Which menu commands the main window offers, from the state it is in. The
// menus ask just before they open (mnuFileClick, mnuShowClick, mnuToolClick,
// mnuImgEditClick); both twins of a command follow the same rule.
#pragma once

namespace hueloom::app {

struct MenuFacts {
    bool magnifierRunning = false;
    bool hasPickedColours = false;  // the picked-colour list has entries
    bool undoAvailable = false;
    bool workingImagePalette8 = false;  // the working image is 8-bit palette
    bool clipboardHasPicture = false;
    bool hasSelection = false;  // a selection is shown on the working image
};

struct MenuEnabling {
    bool saveTxt = false;  // "色のメモの保存"
    bool savePalette = false;  // "パレットの保存"
    bool imgSave = false;  // "画像の保存"
    bool colorClear = false;
    bool colorSample = false;  // also mnuVariousColor
    bool colorToImg = false;
    bool imgUndo = false;
    bool imgMode256 = false;  // reduction offered; checked when it is not
    bool paste = false;
    bool selectionEdits = false;  // crop, fill and pixelate
};

MenuEnabling menuEnabling(const MenuFacts& facts);

}  // namespace hueloom::app
