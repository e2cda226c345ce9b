#pragma once

#include <string>

namespace halvera::testing {

// The messages of a picture file that could not be read or saved, as the
// program words them.
inline const std::string kCannotReadFile = "Can not read the file!";
inline const std::string kCannotSaveFile = "Cannotsave the file!";

// The message of a picture file that could not be read: the program's text,
// then the file and the reason on a second line.
inline std::string CannotReadMessage(const std::string& path, const std::string& reason) {
    return kCannotReadFile + "\n" + path + ": " + reason;
}

// Whether `text` is that message for `path` with some reason given.
inline bool IsCannotReadMessage(const std::string& text, const std::string& path) {
    const std::string start = CannotReadMessage(path, "");
    return text.size() > start.size() && text.starts_with(start) &&
           text.find('\n', start.size()) == std::string::npos;
}

} // namespace halvera::testing
