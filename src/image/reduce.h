// Reduction of a picture to an 8-bit palette image of at most 256 colours.
//
// The colours are found by a binary split of the pixels, eight levels deep:
// each range is cut at the mean of the channel with the largest weighted
// variance (weights red 3, green 4, blue 2; ties go to red, then green), the
// part above the mean first. Each leaf's colour is the mean of its pixels
// (rounded half to even); every pixel takes the index of its leaf. No
// dithering. Leaves holding larger channel values come first in the palette.
//
// Progress: Starting 0, then after leaf position k of the full 256-leaf tree
// (k = 1..255, empty subtrees included) Running k*100/256, then Ending 100 -
// the Ending event is sent also when the reduction fails.
//
// 15-, 16-, 24- and 32-bit sources are reduced; 1- and 4-bit ones are widened
// to 8 bits with their palette kept; an 8-bit one is taken over as it is.
// Neither of these sends progress events.
#pragma once

#include "image/dib.h"
#include "image/progress.h"

namespace hueloom::image {

Dib reduceTo256(const Dib& source, const ProgressFn& progress = {});

// 1- or 4-bit palette image with each index widened to a byte, palette kept.
Dib widenTo8(const Dib& source);

// The converter object behind the reduction, for code that works in the
// assign / choose mode / convert style: assign a picture (15, 16 and 32 bits
// become 24), set the reduction mode (1, the variance split, is the only one)
// and ask for the 8-bit format; onProgress receives the events.
class DibImage {
public:
    ProgressFn onProgress;

    void assign(const Dib& picture);
    void setReductionMode(int mode);
    int reductionMode() const { return mode_; }
    void setPixelFormat8Bit();

    const Dib& dib() const { return dib_; }
    Dib takeDib() { return std::move(dib_); }

private:
    Dib dib_;
    int mode_ = 1;
};

}  // namespace hueloom::image
