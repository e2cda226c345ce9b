#include "processing/ShadeCorrectionCommand.h"

#include "document/ImageCommand.h"
#include "platform/UserPrompts.h"
#include "processing/ShadeCorrectMorphological.h"
#include "processing/ShadeCorrectPolynomial.h"

namespace halvera {

namespace {

enum class Outcome { Corrected, NoBackgroundFit, Failed };

// The document's image is always a 24-bit image, so a correction fails only
// for want of memory, or, for the polynomial, of a fit.
Outcome Correct(const CDibImage& image, AutomaticShadeCorrection kind) {
    switch (kind) {
    case AutomaticShadeCorrection::Polynomial:
        switch (ShadeCorrectPolynomial(image)) {
        case PolynomialShadeResult::Corrected:
            return Outcome::Corrected;
        case PolynomialShadeResult::NoBackgroundFit:
            return Outcome::NoBackgroundFit;
        default:
            return Outcome::Failed;
        }
    case AutomaticShadeCorrection::Morphological7:
        return ShadeCorrectMorphological(image, kShadeElement7, kShadeSmoothing7)
                   ? Outcome::Corrected
                   : Outcome::Failed;
    case AutomaticShadeCorrection::Morphological9:
        return ShadeCorrectMorphological(image, kShadeElement9, kShadeSmoothing9)
                   ? Outcome::Corrected
                   : Outcome::Failed;
    }
    return Outcome::Failed;
}

} // namespace

bool RunAutomaticShadeCorrection(CMavDoc& doc, SelectionRecord& selection,
                                 AutomaticShadeCorrection kind) {
    Outcome outcome = Outcome::Corrected;
    const bool changed = RunImageCommand(doc, selection, true, [&] {
        const WaitCursor wait;
        outcome = Correct(doc.image(), kind);
        return outcome == Outcome::Corrected;
    });
    // Messages come after the wait cursor is gone.
    if (outcome == Outcome::NoBackgroundFit)
        ShowMessage(kNoBackgroundFitMessage, MessageIcon::Warning);
    else if (outcome == Outcome::Failed)
        ShowMessage("Memory error!", MessageIcon::Stop);
    return changed;
}

} // namespace halvera
