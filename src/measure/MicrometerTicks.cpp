#include "measure/MicrometerTicks.h"

#include "measure/LinearSolve3.h"
#include "measure/ProfileEdge.h"
#include "processing/LuminanceRows.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace halvera {

namespace {

constexpr int kBandSize = 32; // pixels across the ticks
constexpr int kMostBands = 8;
constexpr double kTickPeakShare = 0.8; // of the highest autocorrelation peak
constexpr double kTickShare = 0.5;     // of the deepest tick, to be a tick
constexpr int kCentroidRounds = 40;
constexpr double kCentroidSettled = 1e-7;     // pixels of shift in a round
constexpr double kLargestResidualShare = 0.1; // of the period

// Mean levels of each band along the axis: bands[b][i] is the mean of band
// b at position i along the axis.
struct BandProfiles {
    std::vector<std::vector<double>> bands;
    std::vector<double> middles; // each band's middle, across the ticks
};

BandProfiles AverageBands(CDibImage image, PixelRect box, TickAxis axis) {
    const int32_t width = box.right - box.left + 1;
    const int32_t height = box.bottom - box.top + 1;
    const int32_t along = axis == TickAxis::X ? width : height;
    const int32_t across = axis == TickAxis::X ? height : width;
    const int count = std::clamp(across / kBandSize, 1, kMostBands);
    BandProfiles profiles;
    profiles.bands.assign(static_cast<size_t>(count),
                          std::vector<double>(static_cast<size_t>(along)));
    std::vector<int32_t> bandOf(static_cast<size_t>(across));
    std::vector<double> members(static_cast<size_t>(count), 0.0);
    for (int32_t i = 0; i < across; ++i) {
        bandOf[static_cast<size_t>(i)] = static_cast<int32_t>(int64_t{i} * count / across);
        members[static_cast<size_t>(bandOf[static_cast<size_t>(i)])] += 1.0;
    }
    for (int b = 0; b < count; ++b) {
        const int32_t first = static_cast<int32_t>((int64_t{b} * across + count - 1) / count);
        const int32_t next = static_cast<int32_t>((int64_t{b + 1} * across + count - 1) / count);
        profiles.middles.push_back(0.5 * (first + next - 1) +
                                   (axis == TickAxis::X ? box.top : box.left));
    }
    std::vector<uint8_t> grey(static_cast<size_t>(width));
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* pixels =
            image.row(box.top + y) + static_cast<ptrdiff_t>(box.left) * (image.bitCount() / 8);
        if (image.bitCount() == 24) {
            LuminanceRow(pixels, grey.data(), width);
            pixels = grey.data();
        }
        if (axis == TickAxis::X) {
            std::vector<double>& band =
                profiles.bands[static_cast<size_t>(bandOf[static_cast<size_t>(y)])];
            for (int32_t x = 0; x < width; ++x)
                band[static_cast<size_t>(x)] += pixels[x];
        } else {
            for (int32_t x = 0; x < width; ++x)
                profiles.bands[static_cast<size_t>(bandOf[static_cast<size_t>(x)])]
                              [static_cast<size_t>(y)] += pixels[x];
        }
    }
    for (size_t b = 0; b < profiles.bands.size(); ++b)
        for (double& level : profiles.bands[b])
            level /= members[b];
    return profiles;
}

double MeanOf(const std::vector<double>& values) {
    double sum = 0.0;
    for (const double v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

// The autocorrelation of all bands together at lags 0..longest, each band's
// mean removed, normalised to 1 at lag 0 (0 everywhere for flat bands).
std::vector<double> Autocorrelation(const BandProfiles& profiles, size_t longest) {
    std::vector<double> sums(longest + 1, 0.0);
    for (const std::vector<double>& band : profiles.bands) {
        const double mean = MeanOf(band);
        for (size_t lag = 0; lag <= longest; ++lag) {
            double sum = 0.0;
            for (size_t i = 0; i + lag < band.size(); ++i)
                sum += (band[i] - mean) * (band[i + lag] - mean);
            sums[lag] += sum / static_cast<double>(band.size() - lag);
        }
    }
    if (sums[0] > 0.0)
        for (double& s : sums)
            s /= sums[0];
    else
        std::fill(sums.begin(), sums.end(), 0.0);
    return sums;
}

// The period from the autocorrelation: past its first fall below zero, the
// first peak that reaches kTickPeakShare of the highest, refined by a parabola.
std::optional<double> RoughPeriod(const std::vector<double>& correlation) {
    size_t lag = 1;
    while (lag < correlation.size() && correlation[lag] > 0.0)
        ++lag;
    const size_t start = lag;
    const auto isPeak = [&](size_t k) {
        return k + 1 < correlation.size() && correlation[k] >= correlation[k - 1] &&
               correlation[k] >= correlation[k + 1];
    };
    double highest = 0.0;
    for (size_t k = start; k + 1 < correlation.size(); ++k)
        if (isPeak(k))
            highest = std::max(highest, correlation[k]);
    for (size_t k = start; k + 1 < correlation.size(); ++k) {
        if (!isPeak(k) || correlation[k] < kTickPeakShare * highest ||
            correlation[k] < kClearPeriod)
            continue;
        const double a = correlation[k - 1];
        const double b = correlation[k];
        const double c = correlation[k + 1];
        const double bend = a - 2.0 * b + c;
        return static_cast<double>(k) + (bend < 0.0 ? 0.5 * (a - c) / bend : 0.0);
    }
    return std::nullopt;
}

// The upper of the two middle values when their count is even.
double UpperMedian(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The tick signal polarity * (background - level) on the straight lines
// between the samples, at coordinate t along the profile.
double TickSignal(const std::vector<double>& profile, double background, int polarity, double t) {
    const auto i = std::min(static_cast<size_t>(std::floor(t)), profile.size() - 1);
    const size_t j = std::min(i + 1, profile.size() - 1);
    const double level = profile[i] + (t - static_cast<double>(i)) * (profile[j] - profile[i]);
    return polarity * (background - level);
}

// The area under the tick signal from `from` to `to`, exactly (the trapezoid
// rule on each straight piece between samples).
double TickArea(const std::vector<double>& profile, double background, int polarity, double from,
                double to) {
    double area = 0.0;
    for (double a = from; a < to;) {
        const double b = std::min(to, std::floor(a) + 1.0);
        area += 0.5 * (b - a) *
                (TickSignal(profile, background, polarity, a) +
                 TickSignal(profile, background, polarity, b));
        a = b;
    }
    return area;
}

// The centre of the tick near `guess`: the point that halves the tick's area
// within half a period to either side, found by Newton's rule (the area's
// rate of change there is the signal itself). For a sharp tick spanning two
// whole pixels and more the straight lines between the samples enclose
// exactly the tick's area up to each whole pixel, so the halving point is
// exact; the centroid would be pulled toward the pixel grid by the partly
// covered pixels at the tick's sides. Nothing when the window leaves the
// profile or the signal vanishes.
std::optional<double> TickCentre(const std::vector<double>& profile, double background,
                                 int polarity, double guess, double half) {
    double centre = guess;
    const double last = static_cast<double>(profile.size() - 1);
    for (int round = 0; round < kCentroidRounds; ++round) {
        if (centre - half < 0.0 || centre + half > last)
            return std::nullopt;
        const double rate = TickSignal(profile, background, polarity, centre);
        if (!(rate > 0.0))
            return std::nullopt;
        const double before = TickArea(profile, background, polarity, centre - half, centre);
        const double after = TickArea(profile, background, polarity, centre, centre + half);
        const double shift = std::clamp((after - before) / (2.0 * rate), -half / 2.0, half / 2.0);
        centre += shift;
        if (std::fabs(shift) < kCentroidSettled)
            return centre;
    }
    return centre;
}

// The normalised autocorrelation of one band at a (fractional) lag.
double PeriodicityAt(const std::vector<double>& band, double lag) {
    const double mean = MeanOf(band);
    const auto whole = static_cast<size_t>(lag);
    const double share = lag - static_cast<double>(whole);
    double product = 0.0;
    double energy = 0.0;
    size_t pairs = 0;
    for (size_t i = 0; i + whole + 1 < band.size(); ++i, ++pairs) {
        const double shifted = band[i + whole] + share * (band[i + whole + 1] - band[i + whole]);
        product += (band[i] - mean) * (shifted - mean);
    }
    for (const double v : band)
        energy += (v - mean) * (v - mean);
    if (pairs == 0 || energy <= 0.0)
        return 0.0;
    return (product / static_cast<double>(pairs)) / (energy / static_cast<double>(band.size()));
}

struct TickCentreAt {
    double position; // along the axis
    double across;   // the band's middle
    int index;       // the tick's number in the comb
};

// The tick centres of one band, in order along the axis.
std::vector<double> BandTicks(const std::vector<double>& band, double period, int polarity) {
    const double background = UpperMedian(band);
    double deepest = 0.0;
    for (const double v : band)
        deepest = std::max(deepest, polarity * (background - v));
    std::vector<double> centres;
    if (deepest < kMinimumEdgeContrast)
        return centres;
    const double half = period / 2.0;
    for (size_t i = 1; i + 1 < band.size(); ++i) {
        const double depth = polarity * (background - band[i]);
        if (depth < kTickShare * deepest || depth < polarity * (background - band[i - 1]) ||
            depth < polarity * (background - band[i + 1]))
            continue;
        if (!centres.empty() && static_cast<double>(i) - centres.back() < half)
            continue;
        const auto centre = TickCentre(band, background, polarity, static_cast<double>(i), half);
        if (centre && (centres.empty() || *centre - centres.back() >= half))
            centres.push_back(*centre);
    }
    return centres;
}

// Numbers the ticks of every band on one comb: band by band, the tick
// nearest the previous band's tick 0 is the new band's tick 0, so a tilt
// that drifts by less than half a period between bands keeps the count.
std::vector<TickCentreAt> NumberTicks(const std::vector<std::vector<double>>& ticksOfBands,
                                      const std::vector<double>& middles, double period) {
    std::vector<TickCentreAt> numbered;
    std::optional<double> zero;
    for (size_t b = 0; b < ticksOfBands.size(); ++b) {
        const std::vector<double>& ticks = ticksOfBands[b];
        if (ticks.empty())
            continue;
        double here = ticks.front();
        if (zero) {
            const double wanted = *zero;
            here = *std::min_element(ticks.begin(), ticks.end(), [wanted](double a, double c) {
                return std::fabs(a - wanted) < std::fabs(c - wanted);
            });
            // No tick near the previous zero: number from the nearest whole period.
            here += std::round((wanted - here) / period) * period;
        }
        zero = here;
        for (const double t : ticks)
            numbered.push_back({t, middles[b], static_cast<int>(std::lround((t - here) / period))});
    }
    return numbered;
}

} // namespace

std::optional<TickPeriod> FitTickPeriod(CDibImage image, PixelRect box, TickAxis axis) {
    if (image.empty() || (image.bitCount() != 8 && image.bitCount() != 24))
        return std::nullopt;
    const PixelRect wanted = box.normalized();
    const PixelRect clipped{std::max(wanted.left, 0), std::max(wanted.top, 0),
                            std::min(wanted.right, image.width() - 1),
                            std::min(wanted.bottom, image.height - 1)};
    if (clipped.left > clipped.right || clipped.top > clipped.bottom)
        return std::nullopt;
    const BandProfiles profiles = AverageBands(image, clipped, axis);
    const size_t along = profiles.bands.front().size();
    if (along < 3 * static_cast<size_t>(kFewestTicks))
        return std::nullopt;
    const std::optional<double> rough =
        RoughPeriod(Autocorrelation(profiles, along / static_cast<size_t>(kFewestTicks)));
    if (!rough)
        return std::nullopt;

    std::vector<double> all;
    for (const std::vector<double>& band : profiles.bands)
        all.insert(all.end(), band.begin(), band.end());
    std::vector<double> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    const int polarity = median - sorted.front() >= sorted.back() - median ? 1 : -1;

    std::vector<std::vector<double>> ticksOfBands;
    for (const std::vector<double>& band : profiles.bands)
        ticksOfBands.push_back(PeriodicityAt(band, *rough) >= kClearPeriod
                                   ? BandTicks(band, *rough, polarity)
                                   : std::vector<double>{});
    const std::vector<TickCentreAt> ticks = NumberTicks(ticksOfBands, profiles.middles, *rough);

    std::set<int> distinct;
    std::set<double> bands;
    for (const TickCentreAt& t : ticks) {
        distinct.insert(t.index);
        bands.insert(t.across);
    }
    if (static_cast<int>(distinct.size()) < kFewestTicks)
        return std::nullopt;
    // One band: no tilt to fit; a zero column keeps the system solvable.
    Matrix3 m{};
    Vector3 b{};
    const bool tilted = bands.size() > 1;
    for (const TickCentreAt& t : ticks)
        AddObservation(m, b, {1.0, static_cast<double>(t.index), tilted ? t.across : 0.0},
                       t.position);
    if (!tilted)
        m[2][2] = 1.0;
    const std::optional<Vector3> comb = SolveLinear3(m, b);
    if (!comb || !((*comb)[1] > 0.0))
        return std::nullopt;
    double squares = 0.0;
    for (const TickCentreAt& t : ticks) {
        const double d = t.position - ((*comb)[0] + (*comb)[1] * t.index +
                                       (*comb)[2] * (tilted ? t.across : 0.0));
        squares += d * d;
    }
    const double residual = std::sqrt(squares / static_cast<double>(ticks.size()));
    const double period = (*comb)[1] / std::sqrt(1.0 + (*comb)[2] * (*comb)[2]);
    if (residual > kLargestResidualShare * period)
        return std::nullopt;
    return TickPeriod{period, static_cast<int>(distinct.size()), residual};
}

} // namespace halvera
