#pragma once

#include <optional>
#include <string>
#include <vector>

namespace halvera {

// One entry of the print layout's ratio list: "a:b" shown, a / b applied.
struct PrintRatio {
    std::string text;
    double factor = 1.0;
};

// The 72 ratios in the list's order: 1:1; 1.5:1 to 9.5:1 by 0.5; 10:1 to
// 100:1 by 10; 150:1 to 500:1 by 50; 600:1 to 1000:1 by 50; 1:2 to 1:9;
// 1:10 to 1:100 by 10; 1:150, 1:200, 1:250; 1:300 to 1:550 by 50.
const std::vector<PrintRatio>& PrintRatios();

// The index of the ratio spelled exactly `text` ("2.5:1", "1:150"), or
// nothing when the list has no such entry.
std::optional<int> FindPrintRatio(const std::string& text);

} // namespace halvera
