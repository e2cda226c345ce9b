#pragma once

#include "image/PixelGeometry.h"

#include <cstdint>
#include <cstdlib>

namespace halvera {

// The midpoint ellipse inscribed in a rectangle of inclusive corners
// (x1, y1), (x2, y2). The selection marquee, the annotation ellipses and the
// brush discs all step it, so the same rectangle gives the same pixels
// everywhere.
//
// With dx = |x2 - x1| and dy = |y2 - y1| the centre is ((x1 + x2) / 2,
// (y1 + y2) / 2) truncated toward zero; an even pixel count (odd dx or dy)
// adds one extra column or row on the right or bottom half. The stepping
// works on half sizes a = max(dx, dy) / 2 and b = min(dx, dy) / 2 with integer
// decision values (all divisions truncate toward zero), so the shape is
// symmetric and reproducible to the pixel.
struct MidpointEllipse {
    int32_t cx = 0;   // centre column
    int32_t cy = 0;   // centre row
    int32_t ox = 0;   // 1 when the width in pixels is even (extra column)
    int32_t oy = 0;   // 1 when the height in pixels is even (extra row)
    bool tall = true; // the long half size runs vertically

    int64_t a = 0; // long half size
    int64_t b = 0; // short half size

    // Rectangles with a side longer than this are not stepped (nothing is
    // plotted): it keeps the decision values well inside 64 bits.
    static constexpr int64_t kMaxSide = int64_t{1} << 20;

    explicit MidpointEllipse(const PixelRect& rect) {
        const int64_t dx = std::llabs(int64_t{rect.right} - rect.left);
        const int64_t dy = std::llabs(int64_t{rect.bottom} - rect.top);
        valid_ = dx <= kMaxSide && dy <= kMaxSide;
        ox = static_cast<int32_t>(dx % 2);
        oy = static_cast<int32_t>(dy % 2);
        cx = static_cast<int32_t>((int64_t{rect.left} + rect.right) / 2);
        cy = static_cast<int32_t>((int64_t{rect.top} + rect.bottom) / 2);
        tall = dy >= dx || dx == 0;
        a = (dx > dy ? dx : dy) / 2;
        b = (dx < dy ? dx : dy) / 2;
    }

    // Calls visit(hx, hy) with the half width and half height of every step,
    // from the end of the long axis round to the end of the short one.
    template <typename Visit> void step(Visit&& visit) const {
        if (!valid_)
            return;
        int64_t a1 = a;
        const int64_t bb = b * b;
        const int64_t aa = a1 * a1;
        int64_t s = 0;
        int64_t e = bb / 4 + aa - bb * a1;
        int64_t f = 2 * bb * a1;
        int64_t t = 0;
        const auto plot = [&](int64_t minor, int64_t major) {
            if (tall)
                visit(static_cast<int32_t>(minor), static_cast<int32_t>(major));
            else
                visit(static_cast<int32_t>(major), static_cast<int32_t>(minor));
        };
        // First region: the minor coordinate advances every step; a decision
        // value of exactly 0 does not step the major one.
        while (t < f) {
            plot(s, a1);
            ++s;
            int64_t next;
            if (e > 0) {
                next = e + 2 * bb - f + t + 3 * aa;
                --a1;
                f -= 2 * bb;
            } else {
                next = e + t + 3 * aa;
            }
            t += 2 * aa;
            e = next;
        }
        e += ((bb - aa) * 3 / 2 - f - t) / 2;
        // Second region: the major coordinate falls every step.
        while (a1 >= 0) {
            plot(s, a1);
            if (e < 0) {
                e += 2 * aa + t + 3 * bb - f;
                t += 2 * aa;
                ++s;
            } else {
                e += 3 * bb - f;
            }
            --a1;
            f -= 2 * bb;
        }
    }

    // Calls span(y, left, right) for the filled rows of every step: rows
    // cy - hy and cy + hy + oy (once when they coincide), columns cx - hx to
    // cx + hx + ox inclusive. Rows repeat with narrower spans; nothing is clipped.
    template <typename Span> void forEachSpan(Span&& span) const {
        step([&](int32_t hx, int32_t hy) {
            const int32_t left = cx - hx;
            const int32_t right = cx + hx + ox;
            span(cy - hy, left, right);
            if (2 * hy + oy != 0)
                span(cy + hy + oy, left, right);
        });
    }

    // Calls point(x, y) for the outline: the four mirrored points of every
    // step, each point once, so that XOR drawing never cancels itself.
    template <typename Point> void forEachOutlinePoint(Point&& point) const {
        step([&](int32_t hx, int32_t hy) {
            const bool twoColumns = 2 * hx + ox != 0;
            point(cx - hx, cy - hy);
            if (twoColumns)
                point(cx + hx + ox, cy - hy);
            if (2 * hy + oy != 0) {
                point(cx - hx, cy + hy + oy);
                if (twoColumns)
                    point(cx + hx + ox, cy + hy + oy);
            }
        });
    }

private:
    bool valid_ = true;
};

} // namespace halvera
