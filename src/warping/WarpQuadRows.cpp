// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call. The file is compiled
// with floating-point contraction off (see CMakeLists.txt): a multiply and an
// add fused into one rounding would move positions and products off the
// values the scalar rule gives.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "warping/WarpQuadRows.cpp"
#include "warping/WarpQuadRows.h"

#include "image/RegionOfInterest.h"
#include "warping/Bilinear.h"

#include <algorithm>
#include <cmath>
#include <hwy/cache_control.h>
#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// One lane per destination pixel: positions, samples and sums in double, the
// source offsets and the bytes read there in 64-bit integers.
using DoubleTag = hn::ScalableTag<double>;
using WordTag = hn::Rebind<uint64_t, DoubleTag>;
using OffsetTag = hn::Rebind<int64_t, DoubleTag>;
using DoubleVec = hn::Vec<DoubleTag>;
using WordVec = hn::Vec<WordTag>;
using OffsetVec = hn::Vec<OffsetTag>;

constexpr size_t kMaxLanes = HWY_MAX_BYTES / sizeof(double);

// A turned quadrilateral reads its source along slanted lines that the
// processor's own prefetch does not foresee; each vector asks for the source
// this many rows further down, which is wanted a few rows later.
constexpr int32_t kPrefetchRows = 4;

// How many bytes on, roughly, the source of the pixel kPrefetchRows rows
// below (first, y) lies from that of (first, y). Zero where the mapping gives
// no step inside the image (a vanishing w on the way).
template <bool affine> int32_t PrefetchStep(const WarpRowJob& job, int32_t y, int32_t first) {
    const auto& m = job.m;
    const auto at = [&](double x, double row, double& u, double& v) {
        const double w = affine ? 1.0 : m[2][0] * x + m[2][1] * row + m[2][2];
        u = (m[0][0] * x + m[0][1] * row + m[0][2]) / w;
        v = (m[1][0] * x + m[1][1] * row + m[1][2]) / w;
    };
    double u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    at(first, y, u0, v0);
    at(first, y + kPrefetchRows, u1, v1);
    const double step =
        3.0 * std::nearbyint(u1 - u0) - job.working.stride * std::nearbyint(v1 - v0);
    // Also false for an infinite or undefined step.
    return std::abs(step) < job.working.bitsSize ? static_cast<int32_t>(step) : 0;
}

// One pixel at (u, v) the plain way, for the lanes of a vector that are not
// all inside the source.
template <bool region>
HWY_INLINE void OnePixel(const WarpRowJob& job, double u, double v, double uLimit, double vLimit,
                         uint8_t* target, uint8_t* maskByte) {
    // Positions in (-1, 0) truncate to 0 too; they lie outside and would
    // interpolate with a negative fraction, so u and v are tested themselves.
    // The comparisons also reject NaN.
    if (!(u >= 0.0 && v >= 0.0 && u < uLimit && v < vLimit))
        return;
    const auto i = static_cast<int32_t>(u);
    const auto j = static_cast<int32_t>(v);
    if constexpr (region) {
        const uint8_t selected = job.savedRows[j][i];
        *maskByte = selected;
        if (!IsSelectedByte(selected))
            return;
    }
    const ptrdiff_t from = ptrdiff_t{3} * i;
    BilinearPixel(job.sourceRows[j] + from, job.sourceRows[j + 1] + from, u - i, v - j, target);
}

// Samples and sums are held as 2^52 + value: small integers in the low
// mantissa bits of a double, exact under subtraction and addition, with the
// value readable from the low bits again and no conversion on the way.
constexpr double kIntegerBias = 4503599627370496.0; // 2^52

// The eight bytes read at each lane's left neighbours with their last two,
// which no sample uses, replaced by the top bytes of 2^52.
HWY_INLINE WordVec Biased(WordVec bytes) {
    const DoubleTag d;
    const WordTag dw;
    return hn::Or(hn::And(bytes, hn::Set(dw, 0x0000FFFFFFFFFFFFull)),
                  hn::BitCast(dw, hn::Set(d, kIntegerBias)));
}

#if HWY_TARGET != HWY_SCALAR
// Shuffles that pick byte `k` of each lane's eight and the two top bytes of
// 2^52 from Biased bytes, clearing the rest (index bit 7 set): one byte
// shuffle per sample. Indices count within 16-byte blocks, as the shuffle does.
struct SampleIndices {
    alignas(HWY_MAX_BYTES) uint8_t bytes[HWY_MAX_BYTES];
};
constexpr SampleIndices MakeSampleIndices(int k) {
    SampleIndices table{};
    for (int p = 0; p < HWY_MAX_BYTES; ++p) {
        const int q = p % 8;
        const int lane = p % 16 - q;
        table.bytes[p] = static_cast<uint8_t>(q == 0 ? lane + k : q >= 6 ? lane + q : 0x80);
    }
    return table;
}
constexpr SampleIndices kSampleIndices[6] = {MakeSampleIndices(0), MakeSampleIndices(1),
                                             MakeSampleIndices(2), MakeSampleIndices(3),
                                             MakeSampleIndices(4), MakeSampleIndices(5)};
#endif

// Byte `k` of each lane's eight source bytes as 2^52 + byte.
template <int k> HWY_INLINE DoubleVec Sample(WordVec biased) {
    const DoubleTag d;
#if HWY_TARGET == HWY_SCALAR
    const WordTag dw;
    const WordVec low = hn::And(hn::ShiftRight<8 * k>(biased), hn::Set(dw, 0xFF));
    return hn::BitCast(d, hn::Or(low, hn::BitCast(dw, hn::Set(d, kIntegerBias))));
#else
    const hn::Repartition<uint8_t, DoubleTag> db;
    const auto indices = hn::Load(db, kSampleIndices[k].bytes);
    return hn::BitCast(d, hn::TableLookupBytesOr0(hn::BitCast(db, biased), indices));
#endif
}

// One channel of the rule in Bilinear.h, lane by lane on biased values: each
// difference is exact, each product is rounded once as the scalar product is,
// and truncating it in double gives the integer the scalar cast gives.
template <int channel>
HWY_INLINE DoubleVec BlendChannel(WordVec upper, WordVec lower, DoubleVec dx, DoubleVec dy) {
    const DoubleTag d;
    const DoubleVec topLeft = Sample<channel>(upper);
    const DoubleVec bottomLeft = Sample<channel>(lower);
    const DoubleVec top =
        hn::Add(topLeft, hn::Trunc(hn::Mul(dx, hn::Sub(Sample<channel + 3>(upper), topLeft))));
    const DoubleVec bottom = hn::Add(
        bottomLeft, hn::Trunc(hn::Mul(dx, hn::Sub(Sample<channel + 3>(lower), bottomLeft))));
    return hn::Add(top, hn::Trunc(hn::Add(hn::Mul(hn::Sub(bottom, top), dy), hn::Set(d, 0.5))));
}

// Interpolates each lane from the eight bytes at its left neighbours, in the
// upper and the lower row (the left pixel's three, the right pixel's three
// and two beyond, which the caller keeps inside the block), and leaves blue,
// green and red in the low three bytes of each lane of `packed`.
HWY_INLINE void SampleLanes(const uint64_t* bits, OffsetVec upper, OffsetVec lower, DoubleVec dx,
                            DoubleVec dy, uint64_t* packed) {
    const WordTag dw;
    const WordVec upperBytes = Biased(hn::GatherOffset(dw, bits, upper));
    const WordVec lowerBytes = Biased(hn::GatherOffset(dw, bits, lower));
    const WordVec blue = hn::BitCast(dw, BlendChannel<0>(upperBytes, lowerBytes, dx, dy));
    const WordVec green = hn::BitCast(dw, BlendChannel<1>(upperBytes, lowerBytes, dx, dy));
    const WordVec red = hn::BitCast(dw, BlendChannel<2>(upperBytes, lowerBytes, dx, dy));
    // Results lie within their four samples, 0..255, so bits 8..51 of each
    // biased value are clear and the shifted channels do not overlap there.
    hn::Store(hn::Or(blue, hn::Or(hn::ShiftLeft<8>(green), hn::ShiftLeft<16>(red))), dw, packed);
}

// With a region, the lanes of a vector whose positions all lie inside: each
// mask byte takes the saved-mask byte at (trunc(u), trunc(v)). True when every
// lane is selected, so that the vector path may write all of them; otherwise
// the selected lanes are interpolated here one by one and false returned.
HWY_INLINE bool SelectLanes(const WarpRowJob& job, DoubleVec u, DoubleVec v, DoubleVec i,
                            DoubleVec j, uint8_t* maskBytes, uint8_t* target) {
    const DoubleTag d;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d));
    alignas(HWY_MAX_BYTES) double columns[kMaxLanes];
    alignas(HWY_MAX_BYTES) double rows[kMaxLanes];
    hn::Store(i, d, columns);
    hn::Store(j, d, rows);
    bool all = true;
    for (int32_t l = 0; l < lanes; ++l) {
        const uint8_t selected =
            job.savedRows[static_cast<int32_t>(rows[l])][static_cast<int32_t>(columns[l])];
        maskBytes[l] = selected;
        all = all && IsSelectedByte(selected);
    }
    if (all)
        return true;
    alignas(HWY_MAX_BYTES) double us[kMaxLanes];
    alignas(HWY_MAX_BYTES) double vs[kMaxLanes];
    hn::Store(u, d, us);
    hn::Store(v, d, vs);
    for (int32_t l = 0; l < lanes; ++l) {
        if (!IsSelectedByte(maskBytes[l]))
            continue;
        const auto column = static_cast<int32_t>(columns[l]);
        const auto row = static_cast<int32_t>(rows[l]);
        const ptrdiff_t from = ptrdiff_t{3} * column;
        BilinearPixel(job.sourceRows[row] + from, job.sourceRows[row + 1] + from, us[l] - column,
                      vs[l] - row, target + ptrdiff_t{3} * l);
    }
    return false;
}

// Columns first..last of row y, a vector of pixels at a time: positions in
// double lanes exactly as the scalar formula, then, where every lane lies
// inside the source (and with a region is selected), the bilinear rule on all
// lanes at once; any other vector, and the piece's last pixels, go lane by
// lane through the plain rule.
template <bool affine, bool region>
void Piece(const WarpRowJob& job, int32_t y, int32_t first, int32_t last) {
    const DoubleTag d;
    const OffsetTag dof;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d));
    const auto& m = job.m;
    const DoubleVec m00 = hn::Set(d, m[0][0]), m02 = hn::Set(d, m[0][2]);
    const DoubleVec m10 = hn::Set(d, m[1][0]), m12 = hn::Set(d, m[1][2]);
    const DoubleVec m20 = hn::Set(d, m[2][0]), m22 = hn::Set(d, m[2][2]);
    const DoubleVec uy = hn::Set(d, m[0][1] * y);
    const DoubleVec vy = hn::Set(d, m[1][1] * y);
    const DoubleVec wy = hn::Set(d, m[2][1] * y);
    const double uLimit = job.image.width() - 1;
    const double vLimit = job.image.height - 1;
    const DoubleVec uLimits = hn::Set(d, uLimit);
    const DoubleVec vLimits = hn::Set(d, vLimit);
    const DoubleVec laneColumns = hn::Iota(d, 0.0);

    // The eight bytes read at a left neighbour reach two bytes past its
    // right one: past the end of the block only from the top image row (the
    // last in memory) when its padding is shorter. Lanes that would read
    // there take the plain path.
    const CDibImage& source = job.working;
    const bool topRowPadded = source.stride - ptrdiff_t{3} * source.width() >= 2;
    const DoubleVec uFirst = hn::Zero(d);
    const DoubleVec vFirst = hn::Set(d, topRowPadded ? 0.0 : 1.0);
    const auto* const bits = reinterpret_cast<const uint64_t*>(source.bits);
    // Image row j starts bitsSize - (j + 1) * stride bytes after `bits`; the
    // offsets are whole numbers below 2^31, exact in double and read back
    // from the low bits of 2^52 + offset.
    const DoubleVec strides = hn::Set(d, source.stride);
    const DoubleVec topRowStart = hn::Set(d, source.bitsSize - source.stride + kIntegerBias);
    const DoubleVec three = hn::Set(d, 3.0);
    const OffsetVec bias = hn::BitCast(dof, hn::Set(d, kIntegerBias));
    const OffsetVec rowStep = hn::Set(dof, source.stride);
    const DoubleVec prefetchStep = hn::Set(d, PrefetchStep<affine>(job, y, first));
    const DoubleVec firstWord = hn::Set(d, kIntegerBias);
    const DoubleVec lastWord = hn::Set(d, source.bitsSize - 8 + kIntegerBias);

    uint8_t* const target = job.image.row(y) + ptrdiff_t{3} * first;
    uint8_t* const maskRow = region ? job.mask.row(y) + first : nullptr;
    const int32_t count = last - first + 1;
    alignas(HWY_MAX_BYTES) int64_t ahead[kMaxLanes];
    alignas(HWY_MAX_BYTES) double us[kMaxLanes];
    alignas(HWY_MAX_BYTES) double vs[kMaxLanes];
    alignas(HWY_MAX_BYTES) uint64_t packed[kMaxLanes];
    for (int32_t k = 0; k < count; k += lanes) {
        const DoubleVec x = hn::Add(hn::Set(d, static_cast<double>(first + k)), laneColumns);
        DoubleVec u = hn::Add(hn::Add(hn::Mul(m00, x), uy), m02);
        DoubleVec v = hn::Add(hn::Add(hn::Mul(m10, x), vy), m12);
        if constexpr (!affine) {
            const DoubleVec w = hn::Add(hn::Add(hn::Mul(m20, x), wy), m22);
            u = hn::Div(u, w);
            v = hn::Div(v, w);
        }
        const auto inside = hn::And(hn::And(hn::Ge(u, uFirst), hn::Ge(v, vFirst)),
                                    hn::And(hn::Lt(u, uLimits), hn::Lt(v, vLimits)));
        if (k + lanes > count || !hn::AllTrue(d, inside)) {
            hn::Store(u, d, us);
            hn::Store(v, d, vs);
            const int32_t n = std::min(lanes, count - k);
            for (int32_t l = 0; l < n; ++l)
                OnePixel<region>(job, us[l], vs[l], uLimit, vLimit, target + ptrdiff_t{3} * (k + l),
                                 region ? maskRow + k + l : nullptr);
            continue;
        }
        // trunc(u) and trunc(v) in double are the scalar casts converted back.
        const DoubleVec i = hn::Trunc(u);
        const DoubleVec j = hn::Trunc(v);
        const DoubleVec at = hn::Add(hn::Sub(topRowStart, hn::Mul(j, strides)), hn::Mul(i, three));
        const OffsetVec upper = hn::Sub(hn::BitCast(dof, at), bias);
        // The source a few rows further down is wanted soon; the lanes'
        // neighbours lie close together, so the ends of the vector cover them.
        const DoubleVec aheadAt = hn::Min(hn::Max(hn::Add(at, prefetchStep), firstWord), lastWord);
        hn::Store(hn::Sub(hn::BitCast(dof, aheadAt), bias), dof, ahead);
        hwy::Prefetch(source.bits + ahead[0]);
        hwy::Prefetch(source.bits + ahead[lanes - 1]);
        if constexpr (region) {
            if (!SelectLanes(job, u, v, i, j, maskRow + k, target + ptrdiff_t{3} * k))
                continue;
        }
        SampleLanes(bits, upper, hn::Sub(upper, rowStep), hn::Sub(u, i), hn::Sub(v, j), packed);
        // Whole words, each one's fourth byte overwritten by the next pixel,
        // then the last pixel's three bytes.
        uint8_t* to = target + ptrdiff_t{3} * k;
        for (int32_t l = 0; l + 1 < lanes; ++l, to += 3)
            hwy::CopyBytes<4>(&packed[l], to);
        hwy::CopyBytes<3>(&packed[lanes - 1], to);
    }
}

void WarpRowPieceTarget(const WarpRowJob& job, int32_t y, int32_t first, int32_t last) {
    if (job.affine)
        job.region ? Piece<true, true>(job, y, first, last)
                   : Piece<true, false>(job, y, first, last);
    else
        job.region ? Piece<false, true>(job, y, first, last)
                   : Piece<false, false>(job, y, first, last);
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(WarpRowPieceTarget);

void WarpRowPiece(const WarpRowJob& job, int32_t y, int32_t first, int32_t last) {
    HWY_DYNAMIC_DISPATCH(WarpRowPieceTarget)(job, y, first, last);
}

} // namespace halvera
#endif
