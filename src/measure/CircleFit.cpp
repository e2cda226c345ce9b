#include "measure/CircleFit.h"

#include "measure/Centroid.h"
#include "measure/LinearSolve3.h"

#include <cmath>

namespace halvera {

namespace {

constexpr int kGeometricIterations = 50;
constexpr double kSettled = 1e-10; // pixels of change in one step

// The algebraic circle, in coordinates relative to the points' centroid
// (which keeps the sums well conditioned far from the image origin).
std::optional<FittedEdgeCircle> AlgebraicCircle(std::span<const SubPixelPoint> points) {
    const auto [meanX, meanY] = Centroid(points);
    // Minimise sum (u^2 + v^2 + D u + E v + F)^2 over D, E, F.
    Matrix3 m{};
    Vector3 b{};
    for (const SubPixelPoint p : points) {
        const double u = p.x - meanX;
        const double v = p.y - meanY;
        AddObservation(m, b, {u, v, 1.0}, -(u * u + v * v));
    }
    const std::optional<Vector3> def = SolveLinear3(m, b);
    if (!def)
        return std::nullopt;
    const double cu = -(*def)[0] / 2.0;
    const double cv = -(*def)[1] / 2.0;
    const double squared = cu * cu + cv * cv - (*def)[2];
    if (!(squared > 0.0))
        return std::nullopt;
    return FittedEdgeCircle{{cu + meanX, cv + meanY}, std::sqrt(squared), 0.0};
}

double RmsDistance(std::span<const SubPixelPoint> points, const FittedEdgeCircle& circle) {
    double squares = 0.0;
    for (const SubPixelPoint p : points) {
        const double d = std::hypot(p.x - circle.centre.x, p.y - circle.centre.y) - circle.radius;
        squares += d * d;
    }
    return std::sqrt(squares / static_cast<double>(points.size()));
}

// One Gauss-Newton step on the distances d_i = |p_i - c| - r; nothing when
// a point sits on the centre or the normal equations are singular.
std::optional<Vector3> GeometricStep(std::span<const SubPixelPoint> points,
                                     const FittedEdgeCircle& circle) {
    Matrix3 normal{};
    Vector3 gradient{};
    for (const SubPixelPoint p : points) {
        const double dx = p.x - circle.centre.x;
        const double dy = p.y - circle.centre.y;
        const double distance = std::hypot(dx, dy);
        if (distance == 0.0)
            return std::nullopt;
        // The step solves J^T J step = -J^T d.
        AddObservation(normal, gradient, {-dx / distance, -dy / distance, -1.0},
                       circle.radius - distance);
    }
    return SolveLinear3(normal, gradient);
}

} // namespace

std::optional<FittedEdgeCircle> FitCircle(std::span<const SubPixelPoint> points) {
    if (points.size() < 3)
        return std::nullopt;
    std::optional<FittedEdgeCircle> circle = AlgebraicCircle(points);
    if (!circle)
        return std::nullopt;
    bool settled = false;
    for (int iteration = 0; iteration < kGeometricIterations && !settled; ++iteration) {
        const std::optional<Vector3> step = GeometricStep(points, *circle);
        if (!step)
            return std::nullopt;
        circle->centre.x += (*step)[0];
        circle->centre.y += (*step)[1];
        circle->radius += (*step)[2];
        settled = std::fabs((*step)[0]) + std::fabs((*step)[1]) + std::fabs((*step)[2]) < kSettled;
    }
    if (!settled || !(circle->radius > 0.0))
        return std::nullopt;
    circle->residual = RmsDistance(points, *circle);
    return circle;
}

} // namespace halvera
