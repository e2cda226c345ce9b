// The batch tool's image arithmetic and shade-correction operations.

#include "cli/CliOperation.h"
#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "image/BmpFile.h"
#include "image/PictureFiles.h"
#include "platform/UserPrompts.h"
#include "processing/ApplyReference.h"
#include "processing/ImageArithmetic.h"
#include "processing/ShadeCorrectionCommand.h"

#include <array>
#include <optional>
#include <string>

namespace halvera {

namespace {

// Reads the picture file `path` as File Open does and makes it a 24-bit image.
bool ReadImage(const std::string& path, DibBlock& image) {
    const PackedDib picture = ReadPicture(path);
    return picture && PictureToRgb(path, picture, image);
}

PreparedOperation PrepareArithmetic(const OperationArguments& arguments) {
    ArithmeticSettings settings;
    settings.operation =
        static_cast<ArithmeticOperation>(arguments.integer("op", 0, kArithmeticOperationCount - 1));
    settings.outputChannel = static_cast<ArithmeticChannel>(arguments.integer("out-channel", 0, 3));
    settings.inputChannel = static_cast<ArithmeticChannel>(arguments.integer("in-channel", 0, 3));
    settings.transparency = arguments.integer("transparency", 0, 100);
    settings.limitToRegion = arguments.integer("roi", 0, 1) == 1;
    settings.xShift = arguments.integer("xshift", -kMaxArithmeticShift, kMaxArithmeticShift, 0);
    settings.yShift = arguments.integer("yshift", -kMaxArithmeticShift, kMaxArithmeticShift, 0);

    // Without a second image the image is combined with its own copy taken
    // at the start, as when the dialog's input is the active image.
    std::optional<std::string> with;
    if (arguments.has("with"))
        with = arguments.text("with");
    return [=](CMavDoc& doc) {
        DibBlock other;
        if (with && !ReadImage(*with, other))
            return false;
        const bool changed = RunImageCommand(doc, true, [&] {
            const CDibImage input = other.empty() ? doc.working() : other.dib();
            return ImageArithmetic(doc.image(), doc.working(), doc.mask(), input, settings);
        });
        if (!changed)
            ShowMessage("Memory error!", MessageIcon::Stop);
        return changed;
    };
}

bool RunShadeCorrection(CMavDoc& doc, AutomaticShadeCorrection kind) {
    SelectionRecord selection;
    return RunAutomaticShadeCorrection(doc, selection, kind);
}

bool RunShadePolynomial(CMavDoc& doc) {
    return RunShadeCorrection(doc, AutomaticShadeCorrection::Polynomial);
}

bool RunShadeMorph7(CMavDoc& doc) {
    return RunShadeCorrection(doc, AutomaticShadeCorrection::Morphological7);
}

bool RunShadeMorph9(CMavDoc& doc) {
    return RunShadeCorrection(doc, AutomaticShadeCorrection::Morphological9);
}

// Building a reference changes nothing; the image is written as a reference
// file in place of the picture file.
bool RunMakeReference(CMavDoc&) {
    return true;
}

PreparedOperation PrepareReferenceOutput(const std::string& path) {
    if (!EndsWithIgnoringCase(path, ".REF"))
        throw UsageError("the output file of make-reference must end in .ref: " + path);
    return [path](CMavDoc& doc) {
        return CBmpFile().WriteReference(path, doc.image());
    };
}

// The reference is read into the document's initial copy, as the dialog's
// Load does; one of another size is refused with "Can not read the file!".
PreparedOperation PrepareReferenceDivide(const OperationArguments& arguments) {
    const std::string path = arguments.text("reference");
    const int level = arguments.integer("level", 0, 255);
    const bool limited = arguments.integer("roi", 0, 1) == 1;
    return [=](CMavDoc& doc) {
        if (!CBmpFile().ReadReference(path, doc.initialCopy()))
            return false;
        return RunImageCommand(doc, true, [&] {
            return ApplyReference(doc.image(), doc.working(), doc.initialCopy(), doc.mask(), level,
                                  limited);
        });
    };
}

constexpr std::array kOperations = {
    CliOperation{"arithmetic",
                 "arithmetic op=N [with=FILE] out-channel=C in-channel=C transparency=T roi=0|1 "
                 "[xshift=X yshift=Y]",
                 &PrepareArithmetic},
    CliOperation{"shade-polynomial", "shade-polynomial", &WithoutArguments<&RunShadePolynomial>},
    CliOperation{"shade-morph7", "shade-morph7", &WithoutArguments<&RunShadeMorph7>},
    CliOperation{"shade-morph9", "shade-morph9", &WithoutArguments<&RunShadeMorph9>},
    CliOperation{"make-reference", "make-reference (OUT is a .ref file)",
                 &WithoutArguments<&RunMakeReference>, &PrepareReferenceOutput},
    CliOperation{"reference-divide", "reference-divide reference=FILE level=L roi=0|1",
                 &PrepareReferenceDivide},
};

} // namespace

std::span<const CliOperation> ArithmeticOperations() {
    return kOperations;
}

} // namespace halvera
