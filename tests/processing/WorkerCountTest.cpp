// The operations that share their rows among the pixel workers give the same
// bytes for any number of workers, on sizes where the bands are uneven, one
// row tall, or fewer than the workers.
#include "ProcessingTestSupport.h"
#include "image/RowBands.h"
#include "image/WorkerRowBands.h"
#include "processing/Convolve3x3Mean.h"
#include "processing/EdgeDirectional.h"
#include "processing/EdgeKirsch.h"
#include "processing/EdgeLaplace.h"
#include "processing/EdgePrewitt.h"
#include "processing/EdgeRoberts.h"
#include "processing/EdgeSobel.h"
#include "processing/FilterAverage.h"
#include "processing/FilterLowPass.h"
#include "processing/ShadeCorrectMorphological.h"
#include "processing/ShadeCorrectPolynomial.h"

#include <atomic>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvera::testing {
namespace {

// Sets the worker count for a scope and goes back to the processor count.
class ScopedWorkers {
public:
    explicit ScopedWorkers(int workers) { SetPixelWorkerCount(workers); }
    ~ScopedWorkers() { SetPixelWorkerCount(0); }
    ScopedWorkers(const ScopedWorkers&) = delete;
    ScopedWorkers& operator=(const ScopedWorkers&) = delete;
};

struct Size {
    int width;
    int height;
};

// Uneven bands (131 rows in 2 or 3), a last chunk shorter than the others
// (64 rows a chunk for the 3x3 filters, 256 for the average), one-pixel rows
// and columns, and heights below the worker count.
const std::vector<Size> kSizes = {{67, 131}, {131, 67}, {2, 300}, {1, 37},
                                  {37, 1},   {9, 2},    {2, 3},   {1, 1}};

uint32_t Hash(int x, int y) {
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

// A smooth ramp with noise and scattered black and white pixels, so that the
// edge filters reach both clamps.
DibBlock Photo(Size size) {
    return MakeRgb(size.width, size.height, [](int x, int y) {
        const uint32_t h = Hash(x, y);
        if (h % 7 == 0)
            return h % 2 == 0 ? kWhite : kBlack;
        const auto level = [&](int shift, int ramp) {
            return static_cast<uint8_t>((ramp + static_cast<int>((h >> shift) % 48)) % 256);
        };
        return Bgr{level(3, 2 * x + y), level(9, x + 3 * y), level(17, 128 + x - y)};
    });
}

// An irregular region: a disc with holes.
DibBlock Region(Size size) {
    return MaskWhere(size.width, size.height, [size](int x, int y) {
        const int dx = 2 * x - size.width, dy = 2 * y - size.height;
        return dx * dx + dy * dy <= size.width * size.width && Hash(y, x) % 5 != 0;
    });
}

// Every byte of the rows, padding included.
std::vector<uint8_t> Bytes(const CDibImage& image) {
    return {image.bits, image.end};
}

// Runs `operation` on each size, whole and within a region, with 1, 2 and 3
// workers, and expects the bytes of one worker every time.
void ExpectSameForAnyWorkerCount(const ImageOperation& operation) {
    for (const Size size : kSizes) {
        const DibBlock source = Photo(size);
        const DibBlock region = Region(size);
        const CDibImage none{};
        for (const CDibImage* mask : {&none, &region.dib()}) {
            SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height) +
                         (mask->empty() ? " whole" : " region"));
            std::vector<uint8_t> expected;
            for (const int workers : {1, 2, 3}) {
                const ScopedWorkers scope(workers);
                const DibBlock result = RunOn(operation, source.dib(), *mask);
                if (workers == 1)
                    expected = Bytes(result.dib());
                else
                    EXPECT_EQ(Bytes(result.dib()), expected) << workers << " workers";
            }
        }
    }
}

TEST(WorkerRowBands, CoverTheRowsInOrderWithHeightsOneApart) {
    for (const int workers : {1, 2, 3, 5}) {
        const ScopedWorkers scope(workers);
        for (const int32_t rows : {0, 1, 2, 4, 131}) {
            const WorkerRowBands bands(rows);
            ASSERT_EQ(bands.count(), std::min(workers, rows));
            int32_t next = 0;
            for (int64_t b = 0; b < bands.count(); ++b) {
                const RowSpan span = bands.span(b);
                EXPECT_EQ(span.first, next);
                EXPECT_GE(span.end - span.first, rows / bands.count());
                EXPECT_LE(span.end - span.first, rows / bands.count() + 1);
                next = span.end;
            }
            EXPECT_EQ(next, rows);
        }
    }
}

TEST(WorkerRowBands, RunEveryBandOnceWithItsOwnSpan) {
    const ScopedWorkers scope(3);
    const WorkerRowBands bands(10);
    std::vector<int> rowsSeen(10, 0);
    bands.run([&](int64_t, RowSpan span) {
        for (int32_t y = span.first; y < span.end; ++y)
            ++rowsSeen[static_cast<size_t>(y)];
    });
    EXPECT_EQ(rowsSeen, std::vector<int>(10, 1));
}

TEST(SharedRowChunks, RunEveryRowOnceAndNoSlotTwiceAtOnce) {
    for (const int workers : {1, 2, 3}) {
        const ScopedWorkers scope(workers);
        for (const int32_t rows : {0, 1, 63, 64, 65, 300}) {
            const SharedRowChunks chunks(rows, 64);
            ASSERT_LE(chunks.slots(), workers);
            std::vector<std::atomic<int>> rowsSeen(static_cast<size_t>(rows));
            std::vector<std::atomic<int>> inUse(static_cast<size_t>(chunks.slots()));
            std::atomic<int> calls = 0;
            std::atomic<bool> overlap = false;
            chunks.run([&](int64_t slot, RowSpan span) {
                if (inUse[static_cast<size_t>(slot)]++ != 0)
                    overlap = true;
                ++calls;
                EXPECT_LE(span.end - span.first, workers == 1 ? rows : 64);
                for (int32_t y = span.first; y < span.end; ++y)
                    ++rowsSeen[static_cast<size_t>(y)];
                --inUse[static_cast<size_t>(slot)];
            });
            EXPECT_FALSE(overlap);
            for (const std::atomic<int>& seen : rowsSeen)
                EXPECT_EQ(seen, 1);
            // One worker takes the rows as one chunk.
            EXPECT_EQ(calls, rows == 0 ? 0 : workers == 1 ? 1 : (rows + 63) / 64);
        }
    }
}

TEST(AnyWorkerCount, WeightedMeans) {
    ExpectSameForAnyWorkerCount([](auto& d, auto& s, auto& m) { return FilterLowPass(d, s, m); });
    // Negative weights take the table path with its bias and clamp.
    ExpectSameForAnyWorkerCount([](auto& d, auto& s, auto& m) {
        return Convolve3x3Mean(d, s, m, Kernel3x3{{-1, -2, -1, 0, 5, 0, 1, 2, 1}});
    });
}

TEST(AnyWorkerCount, Average) {
    for (const int window : {1, 4, 15}) {
        SCOPED_TRACE(window);
        ExpectSameForAnyWorkerCount(
            [window](auto& d, auto& s, auto& m) { return FilterAverage(d, s, m, window); });
    }
}

TEST(AnyWorkerCount, GradientEdges) {
    for (const EdgeNorm norm : {EdgeNorm::SumOfAbsolutes, EdgeNorm::RootOfSquares}) {
        SCOPED_TRACE(static_cast<int>(norm));
        ExpectSameForAnyWorkerCount(
            [norm](auto& d, auto& s, auto& m) { return EdgeSobel(d, s, m, norm); });
        ExpectSameForAnyWorkerCount(
            [norm](auto& d, auto& s, auto& m) { return EdgePrewitt(d, s, m, norm); });
        ExpectSameForAnyWorkerCount(
            [norm](auto& d, auto& s, auto& m) { return EdgeRoberts(d, s, m, norm); });
    }
}

TEST(AnyWorkerCount, OtherEdges) {
    ExpectSameForAnyWorkerCount([](auto& d, auto& s, auto& m) { return EdgeLaplace(d, s, m); });
    ExpectSameForAnyWorkerCount([](auto& d, auto& s, auto& m) { return EdgeKirsch(d, s, m); });
    ExpectSameForAnyWorkerCount(
        [](auto& d, auto& s, auto& m) { return EdgeDirectional(d, s, m, kDownLeftEdgeKernel); });
}

// The shade corrections work in place on the whole image; the region is not
// consulted, so it only repeats the run.
TEST(AnyWorkerCount, ShadeCorrections) {
    ExpectSameForAnyWorkerCount([](auto& d, auto&, auto&) {
        return ShadeCorrectMorphological(d, kShadeElement7, kShadeSmoothing7);
    });
    ExpectSameForAnyWorkerCount([](auto& d, auto&, auto&) {
        return ShadeCorrectMorphological(d, kShadeElement9, kShadeSmoothing9);
    });
    // The fit needs 64 x 64 pixels; a taller image gives uneven bands.
    const DibBlock source = Photo({96, 203});
    std::vector<uint8_t> expected;
    for (const int workers : {1, 2, 3}) {
        const ScopedWorkers scope(workers);
        const DibBlock image = CopyOf(source.dib());
        ASSERT_EQ(ShadeCorrectPolynomial(image.dib()), PolynomialShadeResult::Corrected);
        if (workers == 1)
            expected = Bytes(image.dib());
        else
            EXPECT_EQ(Bytes(image.dib()), expected) << workers << " workers";
    }
    EXPECT_NE(expected, Bytes(source.dib()));
}

} // namespace
} // namespace halvera::testing
