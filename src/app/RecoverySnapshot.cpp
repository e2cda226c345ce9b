#include "app/RecoverySnapshot.h"

#include "document/MavDoc.h"
#include "image/DuplicateBlock.h"
#include "measure/CalFile.h"
#include "measure/RulerCalibration.h"

namespace halvera {

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
    snapshot.calibration = CalibrationInForce(RulerCalibration(document.settings()));
    snapshot.measurements = document.measureData();
    return snapshot;
}

} // namespace halvera
