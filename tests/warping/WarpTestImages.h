#pragma once

#include "SyntheticImages.h"
#include "image/DibImage.h"
#include "warping/WarpGeometry.h"

#include <cstdint>
#include <functional>
#include <ostream>

namespace halvera::testing {

// The four buffers a warp works on, as a document holds them: the image, its
// working copy and the mask with its saved copy (all masks clear at first).
struct WarpBuffersFixture {
    DibBlock image;
    DibBlock working;
    DibBlock mask;
    DibBlock savedMask;

    // `working` is drawn by `colour`; `image` is filled with kMarker so that
    // every pixel a warp writes is told apart from one it leaves alone.
    WarpBuffersFixture(int width, int height, const std::function<Bgr(int x, int y)>& colour);

    // Selects the pixels `selected` says in both masks.
    void Select(const std::function<bool(int x, int y)>& selected);
    // Copies the working copy over the image (the restore a tool does first).
    void Restore();
};

// Shows a pixel as (blue, green, red) in failure messages.
inline void PrintTo(const Bgr& pixel, std::ostream* out) {
    *out << '(' << int{pixel.blue} << ", " << int{pixel.green} << ", " << int{pixel.red} << ')';
}

// The colour of pixels no warp has written.
constexpr Bgr kMarker{1, 2, 3};

// A pattern whose three channels change in x, in y and in both, so that a
// pixel from a wrong place shows: blue = x * 7 + 11, green = y * 5 + 13,
// red = (x * 3 + y * 11) mod 256.
Bgr Pattern(int x, int y);

// The corners of `corners` rotated by `degrees` counter-clockwise (on screen,
// y downwards) about `centreX, centreY`, truncated to whole pixels as the
// rotate tool truncates them.
QuadCorners RotatedCorners(const QuadCorners& corners, double centreX, double centreY,
                           double degrees);

} // namespace halvera::testing
