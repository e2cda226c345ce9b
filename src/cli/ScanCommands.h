#pragma once

#include <string>
#include <vector>

namespace halvera {

// The batch tool's scanner commands:
//
//   scanners
//   scan OUT [--source NAME] [--resolution DPI] [--mode Color|Gray]
//            [--option NAME=VALUE ...] [--quality Q] [--force]
//
// `scanners` lists the devices, one a line: name, vendor, model and type
// separated by tabs. `scan` opens the device NAME (the first one when no
// source is given), sets the mode, then the resolution, then each --option in
// order (any option by its name in the scanner library), scans one picture
// and makes it a new image as the desktop program does, then saves it to OUT
// by its extension. An OUT that holds more than one 8-bit picture is kept
// (status 1) unless --force.
bool IsScannerCommand(const std::string& command);

// Runs a scanner command (the words after the program's name); throws
// UsageError on wrong use, as the other commands do.
int RunScannerCommand(const std::vector<std::string>& words);

// The usage lines of the scanner commands.
std::string ScannerCommandsUsage();

} // namespace halvera
