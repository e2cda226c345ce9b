#pragma once

#include "app/RecoverySnapshot.h"

#include <optional>
#include <string>

namespace halvera {

// The file of one recovery copy: a short header (file, title, size and the
// calibration in force), then the pixel rows, the selection rows and the
// measured items as a measurement file's text. Keeping the items inside the
// copy means one file is written whole and removed, renamed or adopted as a
// unit. It is read back only on the machine that wrote it, so numbers are
// kept in the machine's own byte order.
inline constexpr const char* kRecoveryCopyExtension = ".hlvrec";

// What the recovery offer shows of a copy, read without its pixels.
struct RecoveryCopyHeader {
    std::string path;
    std::string title;
    int width = 0;
    int height = 0;
    CalibrationRecord calibration;
};

// Writes `snapshot` to `file` whole (AtomicFileWriter): the file is either
// the new copy or what it was before. Says nothing on failure: it runs on the
// autosave worker, where no message can be shown.
bool WriteRecoveryCopy(const std::string& file, const RecoverySnapshot& snapshot);

// The header of the copy in `file`; nothing when it is not a whole copy.
std::optional<RecoveryCopyHeader> ReadRecoveryCopyHeader(const std::string& file);

// The copy in `file` with its pixels, selection and measured items; nothing
// when the file is not a whole copy or the memory is not there.
std::optional<RecoverySnapshot> ReadRecoveryCopy(const std::string& file);

} // namespace halvera
