#pragma once

#include <string>

namespace halvera {

// What a picture file on disk holds, as far as a document written over it
// could lose it: a document is one picture of 8-bit samples, while a TIFF
// may hold several pages and a PNG or TIFF 16-bit samples (opened as the
// first page, stretched to 8 bits).
struct PictureFileContents {
    int pages = 1;
    int bitsPerSample = 8; // of the first picture

    // What the file holds beyond one 8-bit picture: "3 pages",
    // "16-bit samples", "3 pages, 16-bit samples"; empty when nothing.
    std::string Beyond8BitPicture() const;
    // The warning before a document is saved over the file: "The file holds
    // more than this picture (3 pages); saving replaces it."; empty when the
    // file holds no more than the document.
    std::string ReplaceWarning() const;
};

// Looks at the file at `path` by its first bytes (a TIFF or PNG signature,
// whatever the name ends in). A missing file, one of another type or one
// that cannot be made out counts as one 8-bit picture. Shows nothing.
PictureFileContents InspectPictureFile(const std::string& path);

} // namespace halvera
