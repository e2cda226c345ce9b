#pragma once

#include <optional>
#include <string>

namespace halvera {

// Why a picture file was not read. The message stays "Can not read the
// file!"; its second line names the file and this reason, so the user learns
// which file failed and what is wrong with it.
enum class ReadProblem {
    NoSuchFile,
    NoPermission,
    NotAFile,    // a folder, say
    CannotOpen,  // any other refusal of the system; the detail says which
    UnknownName, // the name ends in no picture type
    NotAPicture, // not a picture of the type its name says; the detail names the type
    Unsupported, // a kind of picture the program does not read; the detail names it
    Truncated,   // the file ends before its picture does
    Damaged,     // the picture's data contradict themselves; the detail may say how
    TooLarge,    // wider or higher than the program's images may be
    OutOfMemory,
};

struct ReadFailure {
    ReadProblem problem = ReadProblem::Damaged;
    std::string detail;
};

// The reason as the second line says it after the file's name:
// "not a BMP picture", "unsupported variant: 32 bits per pixel", ...
std::string ReadFailureText(const ReadFailure& failure);

// Why opening a file for reading failed, from the system's error number.
ReadFailure OpenFailureOf(int error);

// Why `path` cannot be read as a file, or nothing when it can be opened: no
// such file, no permission, a folder, or the system's reason.
std::optional<ReadFailure> UnopenableFile(const std::string& path);

// Shows "Can not read the file!" with "PATH: reason" on a second line, as a
// warning.
void ReportReadFailure(const std::string& path, const ReadFailure& failure);

} // namespace halvera
