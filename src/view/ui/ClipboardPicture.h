#pragma once

#include "image/PackedDib.h"

#include <QImage>
#include <memory>

class QMimeData;

namespace halvera {

// The clipboard's pictures as the program's packed DIBs, both ways.
//
// Out: a picture is offered as a Qt image (other programs see PNG and the
// other formats Qt writes) and as "image/bmp", a whole BMP file (14-byte file
// header, then the packed DIB), so image editors and word processors can
// paste it.
//
// In: "image/bmp" is read as File Open reads a BMP file (BmpDecoder.h), so
// a picture pastes exactly as it opens (an indexed picture keeps its
// palette); any other picture Qt can read (PNG, JPEG, a BMP the program
// refuses, ...) becomes a 24-bit packed DIB, or an 8-bit one with its palette
// when it arrived indexed.

inline constexpr char kBmpMimeType[] = "image/bmp";

// A BMP file of the picture; empty when `picture` is not a readable packed DIB.
QByteArray BmpFileBytes(const PackedDib& picture);
// The picture as a Qt image; null when it cannot be read.
QImage PictureToImage(const PackedDib& picture);
// A Qt image as a packed DIB: depth 8 with its palette when indexed with at
// most 256 colours, else depth 24. Empty for a null image or short memory.
PackedDib ImageToPicture(const QImage& image);

// What Copy and Cut put on the clipboard; null when the picture is unreadable.
std::unique_ptr<QMimeData> PictureMimeData(const PackedDib& picture);
// The picture `data` offers, or an empty one.
PackedDib PictureFromMimeData(const QMimeData* data);
// True when `data` offers a picture Paste can take.
bool OffersPicture(const QMimeData* data);

// The system clipboard through the above. Putting replaces its contents and
// is false when there is nothing to put.
bool PutPictureOnClipboard(const PackedDib& picture);
PackedDib PictureFromClipboard();
bool ClipboardOffersPicture();

} // namespace halvera
