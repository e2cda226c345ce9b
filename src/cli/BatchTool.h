#pragma once

#include <string>
#include <vector>

namespace halvera {

// Exit statuses of the batch tool.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1; // the program's message was printed
inline constexpr int kExitUsage = 2;   // wrong use; the usage text was printed

// Runs one command of halvera-cli (the words after the program's name) and
// returns its exit status:
//
//   info FILE
//   convert IN OUT [--quality Q]
//   apply IN OUT OP [NAME=VALUE ...] [--mask FILE] [--mask-out FILE] [--quality Q]
//   measure [OPTIONS] ITEM...   (MeasureCommand.h)
//   calibrate IMAGE --spacing REAL [OPTIONS]  (CalibrateCommand.h)
//   print IN OUT.pdf [OPTIONS]  (PrintCommand.h)
//   video-sources | snap OUT | record OUT.avi --time S --rate FPS | video-frame IN N OUT
//       (the video commands, VideoBatchCommands.h)
//   scanners | scan OUT [--source NAME] [--resolution DPI] [--mode M] [--option NAME=VALUE ...]
//       (the scanner commands, ScanCommands.h)
//   --help
//
// Files are read as File Open reads them and written as Save writes them, both
// chosen by the last four characters of the name. Messages the desktop program
// would show in a box go to standard error.
int RunBatchTool(const std::vector<std::string>& words);

// The usage text, listing every registered operation with its arguments.
std::string BatchToolUsage();

} // namespace halvera
