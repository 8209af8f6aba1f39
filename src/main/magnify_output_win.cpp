// The main window as the image-output commands see it: its working image,
// colour-list mode, settings and hot-key scope.
#include <windows.h>

#include "main/magnify_win.h"
#include "editing/clipboard_win.h"
#include "editing/export_win.h"
#include "editing/print_win.h"

namespace hueloom::app {

class MagnifyOutputHost : public hueloom::editing::ImageOutputHost {
public:
    explicit MagnifyOutputHost(TfrmMagnify& f) : f_(f) {}
    HWND owner() override { return f_.hwnd(); }
    const hueloom::image::Dib* workingImage() override { return f_.hasWorkingImage() ? &f_.workingImage() : nullptr; }
    bool colourListMode() override { return f_.colourListMode(); }
    void drawColourList(HDC dc, int, int) override { f_.drawColourList(dc, false); }
    hueloom::settings::Settings& settings() override { return f_.settings; }
    bool systemWideHotKeys() override { return f_.model_.hotKeyScope() == HotKeyScope::Always; }
    void setSystemWideHotKeys(bool on) override {
        if (on)
            f_.mnuHookHotKeyClick();
        else
            f_.mnuNotHookHotKeyClick();
    }
    void setSavePictureDialogOpen(bool open) override { f_.savePictureDialogOpen = open; }
    bool magnifierRunning() override { return f_.magnifierRunning(); }
    void forgetUndo() override { f_.ForgetUndo(); }
    void replaceWorkingImage(hueloom::image::Dib image) override { f_.replaceWorkingImage(std::move(image)); }

private:
    TfrmMagnify& f_;
};

struct TfrmMagnify::OutputCommands {
    explicit OutputCommands(TfrmMagnify& f) : host(f), save(host), clipboard(host), print(host) {}
    MagnifyOutputHost host;
    hueloom::editing::ImageExport save;
    hueloom::editing::ImageClipboard clipboard;
    hueloom::editing::ImagePrint print;
};

void TfrmMagnify::OutputDeleter::operator()(OutputCommands* p) const { delete p; }

void TfrmMagnify::initOutput() { output_.reset(new OutputCommands(*this)); }

void TfrmMagnify::mnuImgSaveClick() { output_->save.mnuImgSaveClick(); }
void TfrmMagnify::mnuCopyBMPClick() { output_->clipboard.mnuCopyBMPClick(); }
void TfrmMagnify::mnuCopyEMFClick() { output_->clipboard.mnuCopyEMFClick(); }
void TfrmMagnify::mnuPasteClick() { output_->clipboard.mnuPasteClick(); }
void TfrmMagnify::mnuPrintImageClick() { output_->print.mnuPrintImageClick(); }

}  // namespace hueloom::app
