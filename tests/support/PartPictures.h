#pragma once

#include "EdgePictures.h"
#include "measure/PartFrame.h"

namespace halvera::testing {

// A machined plate for the inspection tests, in its own coordinates: its
// datum corner at the origin, its reference edge along x from 0 to kLength,
// the plate above it (y from -kHeight to 0), a bore through it.
struct Plate {
    static constexpr double kLength = 500.0;
    static constexpr double kHeight = 260.0;
    static constexpr SubPixelPoint kBoreCentre{330.0, -130.0};
    static constexpr double kBoreRadius = 60.0;
    static constexpr SubPixelPoint kMiddle{kLength / 2.0, -kHeight / 2.0};
};

// The plate lying at `pose` on a `width` x `height` picture, rendered with
// exact area coverage (the bore's rim from 64 x 64 samples per pixel), light
// on dark, as `look` says.
DibBlock RenderPlate(int width, int height, const PartFrame& pose, const Look& look);

// The pose of the plate at `placed` moved by `shift` pixels and turned by
// `degrees` (counter-clockwise on screen) about its middle.
PartFrame MovePlate(const PartFrame& placed, SubPixelPoint shift, double degrees);

} // namespace halvera::testing
