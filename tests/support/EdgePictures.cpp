#include "EdgePictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace halvera::testing {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr int kDiscSamples = 64;

// A half-plane a x + b y <= c.
struct HalfPlane {
    double a, b, c;
};

// The area of pixel (x, y)'s square inside every half-plane: the square
// clipped against each (Sutherland-Hodgman), measured by the shoelace rule.
double ClippedArea(int x, int y, const std::vector<HalfPlane>& planes) {
    std::vector<SubPixelPoint> polygon = {
        {x - 0.5, y - 0.5}, {x + 0.5, y - 0.5}, {x + 0.5, y + 0.5}, {x - 0.5, y + 0.5}};
    for (const HalfPlane& plane : planes) {
        std::vector<SubPixelPoint> clipped;
        for (size_t i = 0; i < polygon.size(); ++i) {
            const SubPixelPoint p = polygon[i];
            const SubPixelPoint q = polygon[(i + 1) % polygon.size()];
            const double fp = plane.a * p.x + plane.b * p.y - plane.c;
            const double fq = plane.a * q.x + plane.b * q.y - plane.c;
            if (fp <= 0.0)
                clipped.push_back(p);
            if ((fp < 0.0 && fq > 0.0) || (fp > 0.0 && fq < 0.0)) {
                const double s = fp / (fp - fq);
                clipped.push_back({p.x + s * (q.x - p.x), p.y + s * (q.y - p.y)});
            }
        }
        polygon = std::move(clipped);
        if (polygon.empty())
            return 0.0;
    }
    double twice = 0.0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const SubPixelPoint p = polygon[i];
        const SubPixelPoint q = polygon[(i + 1) % polygon.size()];
        twice += p.x * q.y - q.x * p.y;
    }
    return std::fabs(twice) / 2.0;
}

// The inside of a straight edge as a half-plane: -InsideDistance <= 0.
HalfPlane InsideOf(const StraightEdgeTruth& edge) {
    const SubPixelPoint d = edge.Direction();
    // Inside distance = (p - onEdge) . n with n = (d.y, -d.x) on screen.
    const SubPixelPoint n{d.y, -d.x};
    return {-n.x, -n.y, -(n.x * edge.onEdge.x + n.y * edge.onEdge.y)};
}

Coverage Empty(int width, int height) {
    return {width, height, std::vector<double>(static_cast<size_t>(width) * height, 0.0)};
}

// Covers with the intersection of `planes`; `nearEdge(x, y)` tells whether a
// pixel may be cut (others are wholly in or out, decided by their centre).
template <typename NearEdge>
void CoverPlanes(Coverage& coverage, const std::vector<HalfPlane>& planes, NearEdge nearEdge) {
    for (int y = 0; y < coverage.height; ++y)
        for (int x = 0; x < coverage.width; ++x) {
            if (nearEdge(x, y)) {
                coverage.at(x, y) += ClippedArea(x, y, planes);
                continue;
            }
            const bool inside = std::all_of(planes.begin(), planes.end(), [&](const HalfPlane& p) {
                return p.a * x + p.b * y <= p.c;
            });
            coverage.at(x, y) += inside ? 1.0 : 0.0;
        }
}

double DistanceToPlane(const HalfPlane& plane, int x, int y) {
    return std::fabs(plane.a * x + plane.b * y - plane.c) / std::hypot(plane.a, plane.b);
}

std::vector<double> GaussianKernel(double sigma) {
    const int radius = static_cast<int>(std::ceil(4.0 * sigma));
    std::vector<double> kernel(static_cast<size_t>(2 * radius + 1));
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[static_cast<size_t>(i + radius)] = std::exp(-0.5 * i * i / (sigma * sigma));
        sum += kernel[static_cast<size_t>(i + radius)];
    }
    for (double& k : kernel)
        k /= sum;
    return kernel;
}

// Blurs rows then columns, the border pixels repeated outward.
void Blur(std::vector<double>& levels, int width, int height, double sigma) {
    if (sigma <= 0.0)
        return;
    const std::vector<double> kernel = GaussianKernel(sigma);
    const int radius = static_cast<int>(kernel.size() / 2);
    std::vector<double> pass(levels.size());
    const auto at = [&](const std::vector<double>& v, int x, int y) {
        return v[static_cast<size_t>(std::clamp(y, 0, height - 1)) * width +
                 std::clamp(x, 0, width - 1)];
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double sum = 0.0;
            for (int i = -radius; i <= radius; ++i)
                sum += kernel[static_cast<size_t>(i + radius)] * at(levels, x + i, y);
            pass[static_cast<size_t>(y) * width + x] = sum;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double sum = 0.0;
            for (int i = -radius; i <= radius; ++i)
                sum += kernel[static_cast<size_t>(i + radius)] * at(pass, x, y + i);
            levels[static_cast<size_t>(y) * width + x] = sum;
        }
}

// Gaussian noise by the Box-Muller rule on a 64-bit Mersenne twister, so
// that a seed gives the same picture with every standard library.
void AddNoise(std::vector<double>& levels, double sigma, uint64_t seed) {
    if (sigma <= 0.0)
        return;
    std::mt19937_64 random(seed);
    const auto uniform = [&random] {
        return (static_cast<double>(random() >> 11) + 0.5) / 9007199254740992.0;
    };
    for (double& level : levels) {
        const double radius = std::sqrt(-2.0 * std::log(uniform()));
        level += sigma * radius * std::cos(2.0 * std::numbers::pi * uniform());
    }
}

std::vector<uint8_t> Levels(const Coverage& coverage, const Look& look) {
    std::vector<double> levels(coverage.share.size());
    for (size_t i = 0; i < levels.size(); ++i)
        levels[i] = look.outside + (look.inside - look.outside) * coverage.share[i];
    Blur(levels, coverage.width, coverage.height, look.blur);
    AddNoise(levels, look.noise, look.seed);
    std::vector<uint8_t> bytes(levels.size());
    for (size_t i = 0; i < levels.size(); ++i)
        bytes[i] = static_cast<uint8_t>(std::clamp(std::round(levels[i]), 0.0, 255.0));
    return bytes;
}

} // namespace

SubPixelPoint StraightEdgeTruth::Direction() const {
    // Counter-clockwise on screen: y grows downward, so the y part is negated.
    return {std::cos(degrees * kRadiansPerDegree), -std::sin(degrees * kRadiansPerDegree)};
}

double StraightEdgeTruth::InsideDistance(SubPixelPoint p) const {
    const SubPixelPoint d = Direction();
    return (p.x - onEdge.x) * d.y - (p.y - onEdge.y) * d.x;
}

Coverage CoverHalfPlane(int width, int height, const StraightEdgeTruth& edge) {
    Coverage coverage = Empty(width, height);
    const std::vector<HalfPlane> planes = {InsideOf(edge)};
    CoverPlanes(coverage, planes,
                [&](int x, int y) { return DistanceToPlane(planes[0], x, y) < 0.75; });
    return coverage;
}

Coverage CoverBar(int width, int height, const StraightEdgeTruth& edge, double barWidth) {
    Coverage coverage = Empty(width, height);
    const HalfPlane near = InsideOf(edge);
    // The far side: inside distance <= barWidth.
    const HalfPlane far{-near.a, -near.b, -near.c + barWidth};
    const std::vector<HalfPlane> planes = {near, far};
    CoverPlanes(coverage, planes, [&](int x, int y) {
        return DistanceToPlane(near, x, y) < 0.75 || DistanceToPlane(far, x, y) < 0.75;
    });
    return coverage;
}

Coverage CoverConvex(int width, int height, const std::vector<StraightEdgeTruth>& edges) {
    Coverage coverage = Empty(width, height);
    std::vector<HalfPlane> planes;
    for (const StraightEdgeTruth& edge : edges)
        planes.push_back(InsideOf(edge));
    CoverPlanes(coverage, planes, [&](int x, int y) {
        return std::any_of(planes.begin(), planes.end(), [&](const HalfPlane& plane) {
            return DistanceToPlane(plane, x, y) < 0.75;
        });
    });
    return coverage;
}

void CutOut(Coverage& coverage, const Coverage& hole) {
    for (size_t i = 0; i < coverage.share.size(); ++i)
        coverage.share[i] = std::max(0.0, coverage.share[i] - hole.share[i]);
}

Coverage CoverDisc(int width, int height, SubPixelPoint centre, double radius) {
    Coverage coverage = Empty(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double distance = std::hypot(x - centre.x, y - centre.y);
            if (distance < radius - 0.75) {
                coverage.at(x, y) = 1.0;
                continue;
            }
            if (distance > radius + 0.75)
                continue;
            int inside = 0;
            for (int i = 0; i < kDiscSamples; ++i)
                for (int j = 0; j < kDiscSamples; ++j) {
                    const double px = x - 0.5 + (i + 0.5) / kDiscSamples - centre.x;
                    const double py = y - 0.5 + (j + 0.5) / kDiscSamples - centre.y;
                    inside += px * px + py * py < radius * radius ? 1 : 0;
                }
            coverage.at(x, y) = static_cast<double>(inside) / (kDiscSamples * kDiscSamples);
        }
    return coverage;
}

Coverage CoverTicks(int width, int height, const TickComb& comb) {
    Coverage coverage = Empty(width, height);
    const double turn = comb.degrees * kRadiansPerDegree;
    // Unit vector along the comb (square to the ticks) and along the ticks.
    const SubPixelPoint along = comb.alongY ? SubPixelPoint{-std::sin(turn), std::cos(turn)}
                                            : SubPixelPoint{std::cos(turn), std::sin(turn)};
    const SubPixelPoint tick{-along.y, along.x};
    const SubPixelPoint middle{comb.alongY && comb.across >= 0.0 ? comb.across : width / 2.0,
                               !comb.alongY && comb.across >= 0.0 ? comb.across : height / 2.0};
    for (int i = 0; i < comb.count; ++i) {
        const double offset = comb.first + i * comb.period;
        // Centre of tick i: on the line through the middle, `offset` along
        // the comb from the picture's edge it starts at.
        const SubPixelPoint base =
            comb.alongY ? SubPixelPoint{middle.x, 0.0} : SubPixelPoint{0.0, middle.y};
        const SubPixelPoint centre{base.x + offset * along.x, base.y + offset * along.y};
        const double c = along.x * centre.x + along.y * centre.y;
        const double t = tick.x * middle.x + tick.y * middle.y;
        const std::vector<HalfPlane> planes = {{along.x, along.y, c + comb.tickWidth / 2.0},
                                               {-along.x, -along.y, -c + comb.tickWidth / 2.0},
                                               {tick.x, tick.y, t + comb.length / 2.0},
                                               {-tick.x, -tick.y, -t + comb.length / 2.0}};
        CoverPlanes(coverage, planes, [&](int x, int y) {
            return std::any_of(planes.begin(), planes.end(),
                               [&](const HalfPlane& p) { return DistanceToPlane(p, x, y) < 0.75; });
        });
    }
    return coverage;
}

DibBlock RenderGrey(const Coverage& coverage, const Look& look) {
    const std::vector<uint8_t> bytes = Levels(coverage, look);
    DibBlock block;
    CreateGrey(block, coverage.width, coverage.height);
    const CDibImage image = block.dib();
    for (int y = 0; y < coverage.height; ++y)
        std::copy_n(bytes.begin() + static_cast<ptrdiff_t>(y) * coverage.width, coverage.width,
                    image.row(y));
    return block;
}

DibBlock RenderRgb(const Coverage& coverage, const Look& look) {
    const std::vector<uint8_t> bytes = Levels(coverage, look);
    DibBlock block;
    CreateRgb(block, coverage.width, coverage.height);
    const CDibImage image = block.dib();
    for (int y = 0; y < coverage.height; ++y) {
        uint8_t* row = image.row(y);
        for (int x = 0; x < coverage.width; ++x) {
            const uint8_t level = bytes[static_cast<size_t>(y) * coverage.width + x];
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = level;
        }
    }
    return block;
}

} // namespace halvera::testing
