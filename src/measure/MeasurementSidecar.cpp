#include "measure/MeasurementSidecar.h"

#include "measure/ResultExport.h"

namespace halvera {

std::string MeasurementSidecarPath(const std::string& imagePath) {
    return imagePath + ".measure.csv";
}

bool WriteMeasurementSidecar(const std::string& path, const MeasureData& data,
                             const ResultOutputRules& rules) {
    return WriteResultFile(path,
                           ResultCsvText(data, rules.scale, rules.tolerance, rules.selection));
}

} // namespace halvera
