#pragma once

#include <string>
#include <vector>

namespace halvera {

// `halvera-cli print IN OUT.pdf [--calibration UNIT,REALX,REALY,PIXELX,PIXELY |
// --preset NAME]
// [--ratio A:B | --fit] [--center] [--title TEXT] [--paper WIDTH_MM,HEIGHT_MM]`
// on the words after the command's name: lays the image out as the "Image
// Position Set" dialog would (the ratio or the fit first, then the centring)
// on a printable area of the given whole millimetres (default 200 x 287, A4
// less 5 mm margins), writes the page to OUT.pdf with that 5 mm margin all
// round, and prints the four read-out fields on standard output.
int RunPrintCommand(const std::vector<std::string>& words);

// The usage lines of the print command.
std::string PrintCommandUsage();

} // namespace halvera
