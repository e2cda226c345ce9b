#include "measure/LinearSolve3.h"

#include <cmath>
#include <utility>

namespace halvera {

std::optional<Vector3> SolveLinear3(Matrix3 m, Vector3 b) {
    for (size_t column = 0; column < 3; ++column) {
        size_t pivot = column;
        for (size_t row = column + 1; row < 3; ++row)
            if (std::fabs(m[row][column]) > std::fabs(m[pivot][column]))
                pivot = row;
        if (m[pivot][column] == 0.0)
            return std::nullopt;
        std::swap(m[column], m[pivot]);
        std::swap(b[column], b[pivot]);
        for (size_t row = 0; row < 3; ++row) {
            if (row == column)
                continue;
            const double factor = m[row][column] / m[column][column];
            for (size_t k = column; k < 3; ++k)
                m[row][k] -= factor * m[column][k];
            b[row] -= factor * b[column];
        }
    }
    const Vector3 x{b[0] / m[0][0], b[1] / m[1][1], b[2] / m[2][2]};
    if (!std::isfinite(x[0]) || !std::isfinite(x[1]) || !std::isfinite(x[2]))
        return std::nullopt;
    return x;
}

void AddObservation(Matrix3& m, Vector3& b, const Vector3& row, double target) {
    for (size_t i = 0; i < 3; ++i) {
        for (size_t j = 0; j < 3; ++j)
            m[i][j] += row[i] * row[j];
        b[i] += row[i] * target;
    }
}

} // namespace halvera
