#include "measure/EdgeSearch.h"

#include "measure/MeasureNumber.h"

namespace halvera {

std::string EdgeMissText(EdgeMiss miss, double radius) {
    switch (miss) {
    case EdgeMiss::None:
        break;
    case EdgeMiss::OutsidePicture:
        return "the search lies outside the picture";
    case EdgeMiss::NoEdge:
        return "no edge with contrast within " + FormatDecimals(radius, 1) + " pixels";
    case EdgeMiss::TooFewPoints:
        return "too few edge points for the fit";
    case EdgeMiss::FewerThanTwoEdges:
        return "the segment crosses fewer than two edges";
    }
    return {};
}

} // namespace halvera
