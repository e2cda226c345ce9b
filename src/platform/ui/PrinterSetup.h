#pragma once

class QPrinter;
class QWidget;

namespace halvera {

// The printer every print of the program uses, with the choices made in the
// print setup (printer, paper, orientation). Lives until the program ends.
QPrinter& ApplicationPrinter();

// The print setup dialog for ApplicationPrinter(); true when the user chose OK.
bool RunPrintSetupDialog(QWidget* parent);

} // namespace halvera
