#pragma once

#include <optional>
#include <string_view>

namespace halvera {

// The largest real size a calibration takes; larger sizes are held to it.
inline constexpr double kLargestRealSize = 1e9;

// A real ruler size as the user types it: a number in any locale's form (a
// decimal comma reads as a point), blanks around it allowed. A number not
// above 0 gives 1.0; one above the largest size, including one too large
// for a double ("1e400"), gives the largest size. Nothing when the text is
// not a number as a whole ("abc", "12 mm", "1,000.5").
std::optional<double> ParseTypedRealSize(std::string_view text);

} // namespace halvera
