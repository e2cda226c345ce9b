#include "warping/ProjectiveMatrix.h"

#include <cmath>

namespace halvera {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// The mapping of the unit square onto `quad`: (0, 0) to the top-left corner,
// (1, 0) to the top-right, (1, 1) to the bottom-right and (0, 1) to the
// bottom-left. Affine when the quad is a parallelogram, projective otherwise.
Matrix SquareToQuad(const QuadCorners& quad) {
    const double x0 = quad[kTopLeft].x, y0 = quad[kTopLeft].y;
    const double x1 = quad[kTopRight].x, y1 = quad[kTopRight].y;
    const double x2 = quad[kBottomRight].x, y2 = quad[kBottomRight].y;
    const double x3 = quad[kBottomLeft].x, y3 = quad[kBottomLeft].y;
    const double sumX = x0 - x1 + x2 - x3;
    const double sumY = y0 - y1 + y2 - y3;
    double g = 0.0, h = 0.0;
    if (sumX != 0.0 || sumY != 0.0) {
        const double dx1 = x1 - x2, dx2 = x3 - x2, dy1 = y1 - y2, dy2 = y3 - y2;
        const double denominator = dx1 * dy2 - dx2 * dy1;
        if (denominator == 0.0)
            return Matrix{}; // three corners on one line: singular
        g = (sumX * dy2 - dx2 * sumY) / denominator;
        h = (dx1 * sumY - sumX * dy1) / denominator;
    }
    return Matrix{{{x1 - x0 + g * x1, x3 - x0 + h * x3, x0},
                   {y1 - y0 + g * y1, y3 - y0 + h * y3, y0},
                   {g, h, 1.0}}};
}

double Determinant(const Matrix& a) {
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
           a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
           a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

// The adjugate: the inverse times the determinant. A projective mapping does
// not change when all coefficients are scaled, so it serves as the inverse.
Matrix Adjugate(const Matrix& a) {
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int i1 = (j + 1) % 3, i2 = (j + 2) % 3;
            const int j1 = (i + 1) % 3, j2 = (i + 2) % 3;
            r[i][j] = a[i1][j1] * a[i2][j2] - a[i1][j2] * a[i2][j1];
        }
    return r;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return r;
}

} // namespace

std::optional<ProjectiveMatrix> QuadToQuad(const QuadCorners& from, const QuadCorners& to) {
    const Matrix ontoFrom = SquareToQuad(from);
    const double determinant = Determinant(ontoFrom);
    if (determinant == 0.0 || !std::isfinite(determinant))
        return std::nullopt;
    Matrix mapping = Multiply(SquareToQuad(to), Adjugate(ontoFrom));
    // Scale so that w is near 1 for the usual, nearly affine case; this keeps
    // the identity exact when `from` equals `to` and spares large magnitudes.
    const double scale = mapping[2][2] != 0.0 ? mapping[2][2] : determinant;
    for (auto& row : mapping)
        for (double& value : row) {
            value /= scale;
            if (!std::isfinite(value))
                return std::nullopt;
        }
    return ProjectiveMatrix{mapping};
}

} // namespace halvera
