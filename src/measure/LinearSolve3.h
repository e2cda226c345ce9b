#pragma once

#include <array>
#include <optional>

namespace halvera {

using Matrix3 = std::array<std::array<double, 3>, 3>;
using Vector3 = std::array<double, 3>;

// Solves m x = b by Gaussian elimination with partial pivoting, for the
// normal equations of the small least-squares fits; nothing when m is singular.
std::optional<Vector3> SolveLinear3(Matrix3 m, Vector3 b);

// Adds the outer product of `row` to m and row * target to b: one
// observation of a least-squares fit with three unknowns.
void AddObservation(Matrix3& m, Vector3& b, const Vector3& row, double target);

} // namespace halvera
