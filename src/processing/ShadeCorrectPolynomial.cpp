#include "processing/ShadeCorrectPolynomial.h"

#include "image/WorkerRowBands.h"
#include "processing/GaussElimination.h"
#include "processing/LuminanceTables.h"
#include "processing/OperandCheck.h"
#include "processing/ShadeTables.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <new>
#include <optional>
#include <vector>

namespace halvera {

namespace {

constexpr int kGrid = 64;      // cells per side of the sampling grid
constexpr int kTerms = 6;      // 1, x, y, xy, x^2, y^2
constexpr int kOutlierGap = 5; // a sample this far from the surface is dropped
constexpr int kOutlierPasses = 2;
constexpr int32_t kDivisionChunkRows = 64; // rows a pixel worker takes at a time
// Pivots of the unit-diagonal normal matrix below this mean samples that fix
// no unique surface; for the full grid of any image size the smallest is
// about 0.014, for dependent samples it is round-off, near 1e-16.
constexpr double kRankTolerance = 1e-10;

struct Sample {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0; // luminance
};

using Surface = std::array<double, kTerms>;

// The brightest pixel of each cell of the grid, the first in row order when
// several are as bright (a cell of nothing but black gives its default
// sample). Each row of cells is one band for the pixel workers, and within it
// the image rows are walked whole, every cell keeping its best so far.
std::vector<Sample> SampleCells(const CDibImage& image) {
    const LuminanceTables luminanceOf;
    const int32_t cellWidth = image.width() / kGrid;
    const int32_t cellHeight = image.height / kGrid;
    std::vector<Sample> samples(kGrid * kGrid);
    ForEachRowBand(kGrid, [&](int64_t cellY) {
        Sample* const best = samples.data() + cellY * kGrid;
        const auto top = static_cast<int32_t>(cellY) * cellHeight;
        for (int32_t y = top; y < top + cellHeight; ++y) {
            const uint8_t* pixel = image.row(y);
            for (int cellX = 0; cellX < kGrid; ++cellX) {
                Sample& cell = best[cellX];
                const int32_t left = cellX * cellWidth;
                for (int32_t x = left; x < left + cellWidth; ++x, pixel += 3) {
                    const int32_t z = luminanceOf(pixel);
                    if (z > cell.z)
                        cell = Sample{x, y, z};
                }
            }
        }
    });
    return samples;
}

// The least-squares surface through `samples`, or nothing when they do not fix one.
std::optional<Surface> FitSurface(const std::vector<Sample>& samples) {
    std::array<double, kTerms * kTerms> normal{};
    std::array<double, kTerms> rhs{};
    for (const Sample& s : samples) {
        const double x = s.x;
        const double y = s.y;
        const std::array<double, kTerms> basis = {1.0, x, y, x * y, x * x, y * y};
        for (int i = 0; i < kTerms; ++i) {
            for (int j = 0; j < kTerms; ++j)
                normal[i * kTerms + j] += basis[i] * basis[j];
            rhs[i] += s.z * basis[i];
        }
    }
    if (!HasFullRank(normal, kTerms, kRankTolerance))
        return std::nullopt;
    Surface surface{};
    if (!SolveByCompletePivoting(normal, rhs, surface))
        return std::nullopt;
    for (const double c : surface)
        if (!std::isfinite(c))
            return std::nullopt;
    return surface;
}

// The surface at (x, y), in the order of evaluation the correction uses too.
long double Evaluate(const Surface& c, int32_t x, int32_t y) {
    const long double X = x;
    const long double Y = y;
    return Y * (X * c[3] + Y * c[5] + c[2]) + X * (X * c[4] + c[1]) + c[0];
}

// Truncation toward zero of a surface value, kept inside the 64-bit range.
int64_t Truncated(long double value) {
    constexpr long double kLimit = 1e15L;
    if (!(value < kLimit))
        return static_cast<int64_t>(kLimit);
    if (!(value > -kLimit))
        return -static_cast<int64_t>(kLimit);
    return static_cast<int64_t>(value);
}

std::vector<Sample> CloseSamples(const std::vector<Sample>& samples, const Surface& surface) {
    std::vector<Sample> close;
    for (const Sample& s : samples)
        if (std::llabs(s.z - Truncated(Evaluate(surface, s.x, s.y))) < kOutlierGap)
            close.push_back(s);
    return close;
}

// Rows `rows` divided by the surface; `xTimesC3` and `xTerm` hold the parts of
// Evaluate that depend on x alone.
void DivideRows(const CDibImage& image, const Surface& c, const long double* xTimesC3,
                const long double* xTerm, RowSpan rows) {
    const int32_t width = image.width();
    // Numerators v * 255 never exceed 65025, so a background above it gives 0.
    constexpr int64_t kLargestNumerator = 255 * 255;
    int64_t divisorValue = 1;
    ExactDivisor divisor(1);
    for (int32_t y = rows.first; y < rows.end; ++y) {
        const long double Y = y;
        const long double yTimesC5 = Y * c[5];
        uint8_t* pixel = image.row(y);
        for (int32_t x = 0; x < width; ++x, pixel += 3) {
            const int64_t background =
                Truncated(Y * (xTimesC3[x] + yTimesC5 + c[2]) + xTerm[x] + c[0]);
            if (background <= 0) {
                pixel[0] = pixel[1] = pixel[2] = 255;
                continue;
            }
            if (background > kLargestNumerator) {
                pixel[0] = pixel[1] = pixel[2] = 0;
                continue;
            }
            if (background != divisorValue) {
                divisorValue = background;
                divisor = ExactDivisor(static_cast<uint32_t>(background));
            }
            for (int ch = 0; ch < 3; ++ch) {
                const uint32_t quotient = divisor.divide(pixel[ch] * 255u);
                pixel[ch] = static_cast<uint8_t>(quotient > 255 ? 255 : quotient);
            }
        }
    }
}

void DivideBySurface(const CDibImage& image, const Surface& c) {
    const int32_t width = image.width();
    // The parts of Evaluate that depend on x alone, computed once per column
    // with the same operations in the same order, so the values are identical.
    std::vector<long double> xTimesC3(static_cast<size_t>(width));
    std::vector<long double> xTerm(static_cast<size_t>(width));
    for (int32_t x = 0; x < width; ++x) {
        const long double X = x;
        xTimesC3[x] = X * c[3];
        xTerm[x] = X * (X * c[4] + c[1]);
    }
    // The rows are shared among the pixel workers in chunks; every pixel
    // depends on its own position and bytes alone, and each chunk starts its
    // own divisor.
    const SharedRowChunks chunks(image.height, kDivisionChunkRows);
    chunks.run(
        [&](int64_t, RowSpan rows) { DivideRows(image, c, xTimesC3.data(), xTerm.data(), rows); });
}

} // namespace

PolynomialShadeResult ShadeCorrectPolynomial(const CDibImage& image) {
    if (!IsRgbImage(image))
        return PolynomialShadeResult::NotAColourImage;
    try {
        std::vector<Sample> samples = SampleCells(image);
        std::optional<Surface> surface = FitSurface(samples);
        if (!surface)
            return PolynomialShadeResult::NoBackgroundFit;
        for (int pass = 0; pass < kOutlierPasses; ++pass) {
            std::vector<Sample> close = CloseSamples(samples, *surface);
            if (close.size() < kTerms)
                break;
            const std::optional<Surface> refit = FitSurface(close);
            if (!refit)
                break;
            surface = refit;
            samples = std::move(close);
        }
        DivideBySurface(image, *surface);
    } catch (const std::bad_alloc&) {
        // Only the sample lists and the two column rows are allocated, all
        // before the first pixel is written.
        return PolynomialShadeResult::NoMemory;
    }
    return PolynomialShadeResult::Corrected;
}

} // namespace halvera
