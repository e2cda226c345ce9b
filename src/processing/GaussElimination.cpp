#include "processing/GaussElimination.h"

#include <cmath>
#include <numeric>
#include <utility>
#include <vector>

namespace halvera {

bool SolveByCompletePivoting(std::span<double> matrix, std::span<double> rhs,
                             std::span<double> solution) {
    const auto n = static_cast<int>(rhs.size());
    const auto at = [&](int row, int column) -> double& {
        return matrix[row * n + column];
    };
    // columnOf[k]: the unknown that column k now stands for.
    std::vector<int> columnOf(static_cast<size_t>(n));
    std::iota(columnOf.begin(), columnOf.end(), 0);

    for (int k = 0; k < n; ++k) {
        int pivotRow = k;
        int pivotColumn = k;
        double largest = 0.0;
        for (int row = k; row < n; ++row)
            for (int column = k; column < n; ++column)
                if (std::fabs(at(row, column)) > largest) {
                    largest = std::fabs(at(row, column));
                    pivotRow = row;
                    pivotColumn = column;
                }
        if (largest == 0.0)
            return false;
        if (pivotRow != k) {
            for (int column = 0; column < n; ++column)
                std::swap(at(k, column), at(pivotRow, column));
            std::swap(rhs[k], rhs[pivotRow]);
        }
        if (pivotColumn != k) {
            for (int row = 0; row < n; ++row)
                std::swap(at(row, k), at(row, pivotColumn));
            std::swap(columnOf[k], columnOf[pivotColumn]);
        }
        for (int row = k + 1; row < n; ++row) {
            const double factor = at(row, k) / at(k, k);
            for (int column = k; column < n; ++column)
                at(row, column) -= factor * at(k, column);
            rhs[row] -= factor * rhs[k];
        }
    }
    for (int k = n - 1; k >= 0; --k) {
        double value = rhs[k];
        for (int column = k + 1; column < n; ++column)
            value -= at(k, column) * solution[columnOf[column]];
        solution[columnOf[k]] = value / at(k, k);
    }
    return true;
}

bool HasFullRank(std::span<const double> symmetric, int n, double tolerance) {
    std::vector<double> scaled(symmetric.begin(), symmetric.end());
    std::vector<double> scale(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double diagonal = symmetric[i * n + i];
        if (!(diagonal > 0.0))
            return false;
        scale[i] = 1.0 / std::sqrt(diagonal);
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            scaled[i * n + j] *= scale[i] * scale[j];

    std::vector<bool> done(static_cast<size_t>(n), false);
    for (int step = 0; step < n; ++step) {
        int pivot = -1;
        for (int i = 0; i < n; ++i)
            if (!done[i] && (pivot < 0 || scaled[i * n + i] > scaled[pivot * n + pivot]))
                pivot = i;
        const double value = scaled[pivot * n + pivot];
        if (!(value > tolerance))
            return false;
        done[pivot] = true;
        for (int i = 0; i < n; ++i) {
            if (done[i])
                continue;
            const double factor = scaled[i * n + pivot] / value;
            for (int j = 0; j < n; ++j)
                if (!done[j])
                    scaled[i * n + j] -= factor * scaled[pivot * n + j];
        }
    }
    return true;
}

} // namespace halvera
