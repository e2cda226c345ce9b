#include "print/PrintRatios.h"

#include <algorithm>

namespace halvera {

namespace {

// "a" of a magnification a:1 in tenths, so that 2.5 reads "2.5" and 2 reads "2".
std::string Tenths(int tenths) {
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0)
        text += "." + std::to_string(tenths % 10);
    return text;
}

void AddMagnifications(std::vector<PrintRatio>& list, int fromTenths, int toTenths, int step) {
    for (int t = fromTenths; t <= toTenths; t += step)
        list.push_back({Tenths(t) + ":1", t / 10.0});
}

void AddReductions(std::vector<PrintRatio>& list, int from, int to, int step) {
    for (int b = from; b <= to; b += step)
        list.push_back({"1:" + std::to_string(b), 1.0 / b});
}

std::vector<PrintRatio> BuildRatios() {
    std::vector<PrintRatio> list;
    list.push_back({"1:1", 1.0});
    AddMagnifications(list, 15, 95, 5);
    AddMagnifications(list, 100, 1000, 100);
    AddMagnifications(list, 1500, 5000, 500);
    AddMagnifications(list, 6000, 10000, 500);
    AddReductions(list, 2, 9, 1);
    AddReductions(list, 10, 100, 10);
    AddReductions(list, 150, 250, 50);
    AddReductions(list, 300, 550, 50);
    return list;
}

} // namespace

const std::vector<PrintRatio>& PrintRatios() {
    static const std::vector<PrintRatio> ratios = BuildRatios();
    return ratios;
}

std::optional<int> FindPrintRatio(const std::string& text) {
    const auto& ratios = PrintRatios();
    const auto found = std::find_if(ratios.begin(), ratios.end(),
                                    [&](const PrintRatio& r) { return r.text == text; });
    if (found == ratios.end())
        return std::nullopt;
    return static_cast<int>(found - ratios.begin());
}

} // namespace halvera
