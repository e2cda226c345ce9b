#include "view/ui/ClipboardPicture.h"

#include "image/BmpDecoder.h"
#include "image/ConvertPackedDib.h"
#include "view/PackImage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <cstring>

namespace halvera {

namespace {

constexpr int kFileHeaderSize = 14;

int PaletteEntries(int depth) {
    return depth <= 8 ? 1 << depth : 0;
}

void PutLittle16(char* at, uint16_t value) {
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>(value >> 8);
}

void PutLittle32(char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The packed DIB of a BMP file, read by the same rules as a file opened from
// disk; empty when those refuse it.
PackedDib PackedDibOfBmpFile(const QByteArray& file) {
    return ReadBmpBytes(reinterpret_cast<const uint8_t*>(file.constData()),
                        static_cast<size_t>(file.size()))
        .picture;
}

PackedDib IndexedToPicture(const QImage& image) {
    DibBlock plane;
    if (!CreateGrey(plane, image.width(), image.height()))
        return {};
    const CDibImage dib = plane.dib();
    auto* palette =
        reinterpret_cast<RgbQuad*>(reinterpret_cast<uint8_t*>(dib.header) + kHeaderSize);
    const QList<QRgb> colours = image.colorTable();
    for (qsizetype i = 0; i < colours.size() && i < kGreyPaletteEntries; ++i)
        palette[i] = RgbQuad{static_cast<uint8_t>(qBlue(colours[i])),
                             static_cast<uint8_t>(qGreen(colours[i])),
                             static_cast<uint8_t>(qRed(colours[i])), 0};
    for (int32_t y = 0; y < dib.height; ++y)
        std::memcpy(dib.row(y), image.constScanLine(y), static_cast<size_t>(dib.width()));
    return PackImage(dib);
}

PackedDib RgbToPicture(const QImage& image) {
    // Transparent pixels become their colour over white, as on a page.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    const QImage bgr = opaque.convertToFormat(QImage::Format_BGR888);
    DibBlock rgb;
    if (bgr.isNull() || !CreateRgb(rgb, bgr.width(), bgr.height()))
        return {};
    const CDibImage dib = rgb.dib();
    std::memset(dib.bits, 0, static_cast<size_t>(dib.bitsSize)); // row padding
    for (int32_t y = 0; y < dib.height; ++y)
        std::memcpy(dib.row(y), bgr.constScanLine(y), static_cast<size_t>(dib.width()) * 3);
    return PackImage(dib);
}

} // namespace

QByteArray BmpFileBytes(const PackedDib& picture) {
    if (!picture || picture.size() < sizeof(BitmapInfoHeader) ||
        !IsReadableDibHeader(*picture.header()))
        return {};
    const BitmapInfoHeader& header = *picture.header();
    const int64_t size = PackedDibRequiredSize(header);
    if (size < 0 || static_cast<size_t>(size) > picture.size())
        return {};
    QByteArray file(kFileHeaderSize + size, '\0');
    char* out = file.data();
    out[0] = 'B';
    out[1] = 'M';
    PutLittle32(out + 2, static_cast<uint32_t>(file.size()));
    PutLittle16(out + 6, 0);
    PutLittle16(out + 8, 0);
    PutLittle32(out + 10, static_cast<uint32_t>(kFileHeaderSize + kHeaderSize +
                                                4 * PaletteEntries(header.biBitCount)));
    std::memcpy(out + kFileHeaderSize, picture.data(), static_cast<size_t>(size));
    return file;
}

QImage PictureToImage(const PackedDib& picture) {
    const QByteArray file = BmpFileBytes(picture);
    return file.isEmpty() ? QImage() : QImage::fromData(file, "BMP");
}

PackedDib ImageToPicture(const QImage& image) {
    if (image.isNull() || image.width() > kMaxDibSide || image.height() > kMaxDibSide)
        return {};
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() <= kGreyPaletteEntries)
        return IndexedToPicture(image);
    return RgbToPicture(image);
}

std::unique_ptr<QMimeData> PictureMimeData(const PackedDib& picture) {
    const QByteArray file = BmpFileBytes(picture);
    const QImage image = file.isEmpty() ? QImage() : QImage::fromData(file, "BMP");
    if (image.isNull())
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setImageData(image);
    data->setData(QString::fromLatin1(kBmpMimeType), file);
    return data;
}

PackedDib PictureFromMimeData(const QMimeData* data) {
    if (data == nullptr)
        return {};
    const QString bmpType = QString::fromLatin1(kBmpMimeType);
    if (data->hasFormat(bmpType)) {
        const QByteArray file = data->data(bmpType);
        if (PackedDib picture = PackedDibOfBmpFile(file))
            return picture;
        if (PackedDib picture = ImageToPicture(QImage::fromData(file, "BMP")))
            return picture;
    }
    if (data->hasImage())
        if (PackedDib picture = ImageToPicture(qvariant_cast<QImage>(data->imageData())))
            return picture;
    // Any other picture format a program offers and Qt can read.
    for (const QString& format : data->formats()) {
        if (!format.startsWith(QLatin1String("image/")))
            continue;
        if (PackedDib picture = ImageToPicture(QImage::fromData(data->data(format))))
            return picture;
    }
    return {};
}

bool OffersPicture(const QMimeData* data) {
    if (data == nullptr)
        return false;
    if (data->hasImage())
        return true;
    const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    for (const QString& format : data->formats())
        if (readable.contains(format.toLatin1()))
            return true;
    return false;
}

bool PutPictureOnClipboard(const PackedDib& picture) {
    std::unique_ptr<QMimeData> data = PictureMimeData(picture);
    if (!data)
        return false;
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

PackedDib PictureFromClipboard() {
    return PictureFromMimeData(QGuiApplication::clipboard()->mimeData());
}

bool ClipboardOffersPicture() {
    return OffersPicture(QGuiApplication::clipboard()->mimeData());
}

} // namespace halvera
