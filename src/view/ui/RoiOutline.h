#pragma once

#include "image/DibImage.h"

#include <QPoint>
#include <QRect>

class QPainter;

namespace halvera {

// The "marching ants" of the selection: paints the marked pixels (255) of an
// outline map as black and white stripes that move one pixel per step.
//
// Map pixel (j, i) is white when pattern[(j + phase) mod 8][i mod 8] is 1,
// where pattern row r holds 1 in columns r .. r + 3 (mod 8): diagonal
// stripes four pixels wide.
class RoiOutline {
public:
    int phase() const { return phase_; }

    static bool IsWhite(int column, int row, int phase) {
        const int r = (column + phase) & 7;
        return ((row - r) & 7) < 4;
    }

    // Paints every marked pixel of `map` (8-bit, rows from the top of the
    // displayed image) at `origin` + (j, i). Only marked pixels are touched.
    // Returns the rectangle holding them (empty when there are none).
    QRect Paint(QPainter& painter, const CDibImage& map, QPoint origin) const;

    // One animation step: the phase runs 1, 2, ..., 8, 1, ...
    void Advance() { phase_ = phase_ % 8 + 1; }

private:
    int phase_ = 0;
};

} // namespace halvera
