#include "app/RecoverySnapshot.h"

#include "document/MavDoc.h"

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
    if (!CreateRgb(snapshot.image, document.width(), document.height()) ||
        !CreateGrey(snapshot.mask, document.width(), document.height()))
        return std::nullopt;
    CopyBlock(snapshot.image.dib(), document.image());
    CopyBlock(snapshot.mask.dib(), document.mask());
    snapshot.path = document.path();
    snapshot.title = document.title();
    snapshot.calibration = CalibrationOf(document.settings());
    snapshot.measurements = document.measureData();
    return snapshot;
}

} // namespace halvera
