#include "app/RecoverySnapshot.h"

#include "document/MavDoc.h"
#include "image/DuplicateBlock.h"

namespace halvera {

namespace {

RecoveryCalibration CalibrationOf(const AppSettings& settings) {
    return {settings.RulerUnit, settings.xRealRulerData, settings.yRealRulerData,
            settings.xPixelRulerData, settings.yPixelRulerData};
}

} // namespace

bool NeedsRecoveryCopy(const CMavDoc& document) {
    return document.IsModified() || !document.MeasurementsAsWritten();
}

std::optional<RecoverySnapshot> TakeRecoverySnapshot(const CMavDoc& document) {
    RecoverySnapshot snapshot;
    if (!DuplicateBlock(snapshot.image, document.image()) ||
        !DuplicateBlock(snapshot.mask, document.mask()))
        return std::nullopt;
    snapshot.path = document.path();
    snapshot.title = document.title();
    snapshot.calibration = CalibrationOf(document.settings());
    snapshot.measurements = document.measureData();
    return snapshot;
}

} // namespace halvera
