#include "PhotographicImage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace halvera::peers {

namespace {

constexpr int kCellTile = 96; // one cell per tile, placed at random inside it

uint32_t Hash(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352du;
    value ^= value >> 15;
    value *= 0x846ca68bu;
    value ^= value >> 16;
    return value;
}

struct Cell {
    double x, y, radius;
    double shade[3];
};

Cell CellOfTile(int tx, int ty, unsigned seed) {
    const uint32_t h = Hash(static_cast<uint32_t>(tx * 7919 + ty * 104729) ^ (seed * 0x9e3779b9u));
    Cell cell{};
    cell.radius = 18.0 + (h & 15);
    cell.x = tx * kCellTile + cell.radius + ((h >> 4) & 63) * (kCellTile - 2 * cell.radius) / 63.0;
    cell.y = ty * kCellTile + cell.radius + ((h >> 10) & 63) * (kCellTile - 2 * cell.radius) / 63.0;
    cell.shade[0] = 0.55 + ((h >> 16) & 31) / 80.0;
    cell.shade[1] = 0.45 + ((h >> 21) & 31) / 90.0;
    cell.shade[2] = 0.70 + ((h >> 26) & 31) / 120.0;
    return cell;
}

} // namespace

DibBlock MakePhotographicImage(int width, int height, unsigned seed) {
    DibBlock image;
    if (!CreateRgb(image, width, height))
        throw std::runtime_error("peer benchmark picture could not be created");
    const CDibImage dib = image.dib();
    uint32_t noise = 0x2545f491u * seed;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = dib.row(y);
        const int ty = y / kCellTile;
        for (int x = 0; x < width; ++x, p += 3) {
            const Cell cell = CellOfTile(x / kCellTile, ty, seed);
            const double dx = x - cell.x, dy = y - cell.y;
            const double r = std::sqrt(dx * dx + dy * dy) / cell.radius;
            for (int c = 0; c < 3; ++c) {
                // Background: slow stain gradients.
                double v = 200.0 + 30.0 * std::sin(x * 0.0021 + c * 1.1) * std::cos(y * 0.0017 - c);
                if (r < 1.0) {
                    // Cytoplasm with a soft rim, nucleus darker still.
                    v *= cell.shade[c] + 0.25 * r * r;
                    if (r < 0.4)
                        v *= 0.55 + 0.5 * r;
                }
                noise = noise * 1664525u + 1013904223u;
                v += static_cast<int>(noise >> 29) - 3.5;
                p[c] = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
            }
        }
    }
    return image;
}

} // namespace halvera::peers
