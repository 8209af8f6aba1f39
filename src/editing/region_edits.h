// Edits of a part of the working image: the selection made on the picture,
// kept inside it, and what the image-edit menu does to the pixels under it
// (fill, pixelate, a filter applied to that part only).
//
// The edits work in place on a picture of 24 or 32 bits per pixel, so a small
// selection of a large picture costs no second copy of it; `editable` gives a
// picture of another format (palette, 15 or 16 bits) at 24 bits first.
#pragma once

#include <cstdint>
#include <functional>

#include "core/geometry.h"
#include "image/dib.h"

namespace hueloom::editing {

// The part of `r` that lies on a picture of width × height (empty when none).
Rect clipToPicture(const Rect& r, int width, int height);
// `r` moved back onto the picture where it fits (a keyboard move past an
// edge), then cut at the picture's edges.
Rect keepOnPicture(const Rect& r, int width, int height);

// The picture itself at 24 or 32 bits, any other format widened to 24 bits.
image::Dib editable(image::Dib picture);

// Every pixel of `r` (clipped to the picture) set to the colour.
void fillRect(image::Dib& picture, const Rect& r, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// `r` (clipped) cut into squares of `block` pixels from its top-left corner,
// the last row and column of squares as wide as what is left; each square
// set to the mean of its pixels, each channel rounded to the nearest.
void pixelate(image::Dib& picture, const Rect& r, int block);

// The pixels of `part` (any format) written at `at`, converted to the
// picture's 24 or 32 bits; what falls outside the picture is left out.
void paste(image::Dib& picture, const image::Dib& part, Point at);

}  // namespace hueloom::editing
