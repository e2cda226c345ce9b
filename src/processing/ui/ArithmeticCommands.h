#pragma once

namespace halvera {

class CMavView;

// The view's commands for image arithmetic and shade correction.

// "Arithmetic": the "Calculation" dialog as a dialog command.
void ArithmeticCommand(CMavView& view);
// "Shade correction(1)", "(2)" and "(3)": the automatic corrections as image
// commands, under the wait cursor.
void ShadePolynomialCommand(CMavView& view);
void ShadeMorphological7Command(CMavView& view);
void ShadeMorphological9Command(CMavView& view);
// "Reference image": saves the image as a reference file; no undo step.
void ReferenceImageCommand(CMavView& view);
// "Shade correction" of the field shade submenu: the reference dialog as a
// dialog command.
void FieldShadeCorrectionCommand(CMavView& view);

} // namespace halvera
