// The main window's working image: showing it, the one-level undo through
// "Undo.tmp", the image-edit menu's rules, and the filters with their
// progress window.
#include <windows.h>

#include <exception>
#include <thread>

#include "main/magnify_win.h"

using hueloom::app::Command;
using hueloom::app::commandName;
#include "colour_management/icc_profile.h"
#include "core/paths.h"
#include "main/menu_rules.h"
#include "image/bmp.h"
#include "capture/selection.h"
#include "editing/clipboard_win.h"
#include "editing/region_edits.h"
#include "image/win/dib_win.h"
#include "image/filters.h"
#include "image/image_error.h"
#include "image/reduce.h"
#include "toolkit/application_win.h"
#include "toolkit/trace_win.h"
#include "editing/progress_win.h"
#include "core/texts.h"

namespace hueloom::app {

using hueloom::image::Dib;

void TfrmMagnify::setWorkingImage(Dib dib, bool keepSelection, bool ahead) {
    if (!keepSelection) clearSelection();
    finishWriteAhead();
    ++pictureVersion_;
    workingImage_ = std::move(dib);
    if (ahead) writeAheadSoon();
    if (workingImage_.isNull()) {
        Image1.clear();
    } else {
        // The image area draws the working image itself: the picture is held
        // once, not once more as a bitmap of the control.
        Image1.setPainter(
            [this](HDC dc, const RECT& part) {
                hueloom::image::drawDibPart(dc, workingImage_, part);
                drawSelection(dc, part);
            },
            workingImage_.width(), workingImage_.height());
    }
    ScrollBox1.arrange();
    Image1.invalidate();
}

Dib TfrmMagnify::samePicture(Dib edited) const {
    edited.setProfile(workingImage_.profile());
    return edited;
}

std::wstring TfrmMagnify::undoPath() const { return hueloom::fileBeside(tk::modulePath(), L"Undo.tmp"); }

std::wstring TfrmMagnify::aheadPath() const { return hueloom::fileBeside(tk::modulePath(), L"Undo.next.tmp"); }

void TfrmMagnify::writeAhead() {
    finishWriteAhead();
    if (workingImage_.isNull()) return;
    snapshotAhead_ = std::thread([this, version = pictureVersion_] {
        try {
            hueloom::image::saveBmp(workingImage_, std::filesystem::path(aheadPath()));
            aheadVersion_ = version;  // read once the thread is joined
        } catch (...) {
            // Written when needed instead, where a failure is reported.
        }
    });
}

void TfrmMagnify::writeSnapshot() {
    finishWriteAhead();
    if (aheadVersion_ == pictureVersion_ &&
        MoveFileExW(aheadPath().c_str(), undoPath().c_str(), MOVEFILE_REPLACE_EXISTING)) {
        aheadVersion_ = kNoneAhead;
        return;
    }
    hueloom::image::saveBmp(workingImage_, std::filesystem::path(undoPath()));
}

void TfrmMagnify::TakeSnapshot() {
    // The flag follows the file: set only once the snapshot is on disk.
    writeSnapshot();
    UndoAvailable = true;
}

void TfrmMagnify::mnuImgUndoClick() {
    // Only where the picture is shown: in the magnifier layout the snapshot
    // would be loaded out of sight and used up.
    if (!UndoAvailable || model_.layout() != Layout::Image) return;
    // Read row by row into the restored picture; the one on show goes once
    // it is complete, so a failure keeps it.
    Dib restored = hueloom::image::loadBmp(std::filesystem::path(undoPath()));
    // The snapshot keeps the profile's bytes; its name is the one on show,
    // or the profile's own.
    if (const auto& p = restored.profile()) {
        if (workingImage_.profile() && workingImage_.profile()->bytes == p->bytes)
            restored.setProfile(workingImage_.profile());
        else
            restored.setProfile(hueloom::colour_management::namedProfile(p->bytes));
    }
    setWorkingImage(std::move(restored), false, false);
    // The snapshot is the picture now on show: the next command's, ahead.
    if (MoveFileExW(undoPath().c_str(), aheadPath().c_str(), MOVEFILE_REPLACE_EXISTING))
        aheadVersion_ = pictureVersion_;
    else
        DeleteFileW(undoPath().c_str());
    UndoAvailable = false;
}

void TfrmMagnify::mnuImgEditClick() {
    hueloom::app::MenuFacts facts = menuFacts();
    facts.clipboardHasPicture = hueloom::editing::ImageClipboard::canPaste();
    const hueloom::app::MenuEnabling e = hueloom::app::menuEnabling(facts);
    auto set = [this](Command command, bool enabled) {
        if (tk::MenuItem* it = MainMenu1.find(commandName(command))) it->enabled = enabled;
    };
    set(Command::ImgUndo, e.imgUndo);
    if (tk::MenuItem* it = MainMenu1.find(commandName(Command::ImgMode256))) {
        it->enabled = e.imgMode256;
        it->checked = !e.imgMode256;
        it->caption = e.imgMode256 ? hueloom::wideText("main.image.1") : hueloom::wideText("main.image.2");
    }
    for (Command c : {Command::ImgCrop, Command::ImgFill, Command::ImgPixelate}) set(c, e.selectionEdits);
    set(Command::ImgModeReverse, true);
    set(Command::ImgModeGray, true);
    set(Command::CopyBMP, true);
    set(Command::CopyEMF, true);
    set(Command::Paste, e.paste);
}

void TfrmMagnify::Image1Progress(int percent) {
    if (progress_) progress_->setProgress(percent);
}

void TfrmMagnify::runFilter(const std::wstring& title, const std::function<Dib(const Dib&)>& fn) {
    // One image command at a time: they share the progress window, and the
    // message processing during a run would otherwise let a second one in.
    if (progress_ || workingImage_.isNull()) return;
    hueloom::editing::TfrmProgress window;
    if (!window.create(hwnd_, title)) throw hueloom::image::ImageError(hueloom::text("main.image.3"));
    progress_ = &window;
    struct Done {
        TfrmMagnify* self;
        ~Done() {
            self->progress_ = nullptr;
            tk::trace("filter-end");
        }
    } done{this};
    if (selectedRect()) {
        // On the selected part only: the part is cut out, filtered and
        // written back over itself.
        editSelection([&](Dib& picture, const hueloom::Rect& r) {
            const Dib out = fn(hueloom::capture::cutRect(picture, r));
            hueloom::editing::paste(picture, out, hueloom::Point{r.left, r.top});
        });
        return;
    }
    // The filter reads the picture on show and writes a new one, which takes
    // its place when complete: at most two pictures at a time, and a failure
    // (a full disk for the snapshot, too little memory) keeps the picture.
    // Nothing else changes the picture meanwhile: every other command waits
    // while busy().
    hueloom::image::withPictureMemory(workingImage_.width(), workingImage_.height(), [&] {
        // The snapshot is written while the filter works (both only read the
        // picture on show); the new picture is shown only once the snapshot
        // is safely on disk.
        tk::trace("filter-start");
        std::exception_ptr snapshotFailed;
        std::thread snapshot([&] {
            try {
                writeSnapshot();
            } catch (...) {
                snapshotFailed = std::current_exception();
            }
        });
        Dib result;
        try {
            result = fn(workingImage_);
        } catch (...) {
            snapshot.join();
            throw;
        }
        tk::trace("filter-done");
        snapshot.join();
        if (snapshotFailed) std::rethrow_exception(snapshotFailed);
        UndoAvailable = true;
        tk::trace("filtered");
        setWorkingImage(samePicture(std::move(result)));
        tk::trace("filter-shown");
    });
    if (workingImage_.isPalette8()) {
        Image1.invalidate();
        SendMessageW(hwnd_, WM_QUERYNEWPALETTE, 0, 0);
    }
}

void TfrmMagnify::mnuImgModeReverseClick() {
    runFilter(hueloom::wideText("main.image.4"), [this](const Dib& d) {
        return hueloom::image::invert(d, [this](hueloom::image::ProgressStage, int p) { Image1Progress(p); });
    });
}

void TfrmMagnify::mnuImgModeGrayClick() {
    runFilter(hueloom::wideText("main.image.5"), [this](const Dib& d) {
        return hueloom::image::grayscale(d, [this](hueloom::image::ProgressStage, int p) { Image1Progress(p); });
    });
}

void TfrmMagnify::mnuImgMode256Click() {
    // An image that is 8-bit palette already is not reduced again.
    if (workingImage_.isNull() || workingImage_.isPalette8()) return;
    runFilter(hueloom::wideText("main.image.6"), [this](const Dib& d) {
        return hueloom::image::reduceTo256(d, [this](hueloom::image::ProgressStage, int p) { Image1Progress(p); });
    });
}

}  // namespace hueloom::app
