#pragma once

#include "image/CalibrationRecord.h"
#include "image/DibImage.h"
#include "image/PictureAssembler.h"
#include "image/PictureFileContents.h"

#include <optional>
#include <string>

namespace halvera {

// TIFF files through libtiff. Each call opens and closes its own file; every
// failure is reported to the user before the call returns, with the messages
// of BMP files: "Can not read the file!" with the file and the reason on a
// second line (ReadFailure.h), "Cannotsave the file!".
class CTiffFile {
public:
    // Reads the first picture of the file: grey (black or white is zero),
    // palette and RGB, with or without extra samples (alpha, dropped), of 1,
    // 2, 4, 8 and 16 unsigned bits, stored in strips or tiles with any
    // compression libtiff decodes, as PictureAssembler converts them. RGB must
    // be stored pixel by pixel (not in separate planes), with the calibration
    // its resolution tags give (TiffCalibration.h). Empty picture after a
    // message.
    PictureFromFile ReadPicture(const std::string& path);
    // The pages of the TIFF file at `path` and the sample depth of its first,
    // without a message: one page of 8 bits when it cannot be read.
    static PictureFileContents Inspect(const std::string& path);

    // Writes the 24-bit `image` as an uncompressed 8-bit RGB TIFF, with the
    // tags of `calibration` as ImageJ writes them (TiffCalibration.h). False
    // when `image` is not a 24-bit image (no message) or after a message; an
    // existing file is then untouched.
    bool Write(const std::string& path, const CDibImage& image,
               const std::optional<CalibrationRecord>& calibration = std::nullopt);
};

} // namespace halvera
