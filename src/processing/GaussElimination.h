#pragma once

#include <span>

namespace halvera {

// Solves the n x n system `matrix` * solution = `rhs` by Gauss elimination
// with complete pivoting: at each step the entry of greatest magnitude in the
// remaining sub-matrix becomes the pivot, by a row and a column exchange.
// `matrix` is row-major and, like `rhs`, is used as work space. Returns false
// when a pivot is exactly zero (the system is singular); `solution` is then
// not meaningful.
bool SolveByCompletePivoting(std::span<double> matrix, std::span<double> rhs,
                             std::span<double> solution);

// True when the symmetric positive semi-definite matrix (a normal matrix of
// least squares) is numerically of full rank: after scaling it to a unit
// diagonal, no pivot of a pivoted Cholesky elimination falls below
// `tolerance`. Unlike a test of the raw pivots it does not depend on the
// scale of the basis functions.
bool HasFullRank(std::span<const double> symmetric, int n, double tolerance);

} // namespace halvera
