#pragma once

#include <string>
#include <vector>

namespace halvera {

// Exit status of `inspect` when it ran but a value is an Error or a picture
// failed (its datum not found, the file not read).
inline constexpr int kExitInspectionFailed = 3;

// Runs `inspect RECIPE IMAGE... [--csv OUT] [--summary OUT] [--jobs N]
// [--datum-radius R]` on the words after the command's name: the recipe on
// every picture (RecipeBatch.h; an IMAGE that is a folder stands for its
// pictures, PictureFolder.h), one progress line per picture on standard
// error in input order, the rows and the summary as CSV files. Every option,
// folder and the recipe are checked before any picture is read.
int RunInspectCommand(const std::vector<std::string>& words);

// The usage lines of the inspect command.
std::string InspectCommandUsage();

} // namespace halvera
