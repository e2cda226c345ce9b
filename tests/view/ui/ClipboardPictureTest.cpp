#include "view/ui/ClipboardPicture.h"

#include "PackedPictures.h"
#include "SyntheticImages.h"
#include "image/ConvertPackedDib.h"
#include "view/PackImage.h"

#include <QBuffer>
#include <QMimeData>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace halvera::testing {
namespace {

Bgr ClipboardColour(int x, int y) {
    return Bgr{uint8_t(30 * x), uint8_t(50 * y), uint8_t(7 + x + y)};
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

TEST(ClipboardPicture, OffersAQtImageAndABmpFile) {
    const DibBlock image = MakeRgb(5, 3, ClipboardColour);
    const std::unique_ptr<QMimeData> data = PictureMimeData(PackImage(image.dib()));
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasImage());
    const QImage offered = qvariant_cast<QImage>(data->imageData());
    ASSERT_EQ(offered.size(), QSize(5, 3));
    EXPECT_EQ(offered.pixel(4, 2), qRgb(7 + 6, 100, 120));

    const QByteArray bmp = data->data(QStringLiteral("image/bmp"));
    ASSERT_GT(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(bmp.size(), 54 + 16 * 3);
    EXPECT_TRUE(OffersPicture(data.get()));
}

TEST(ClipboardPicture, ABmpFileComesBackExactly) {
    const DibBlock image = MakeRgb(7, 4, ClipboardColour);
    const std::unique_ptr<QMimeData> data = PictureMimeData(PackImage(image.dib()));
    QMimeData onlyBmp;
    onlyBmp.setData(QStringLiteral("image/bmp"), data->data(QStringLiteral("image/bmp")));
    EXPECT_TRUE(OffersPicture(&onlyBmp));
    EXPECT_TRUE(SamePixels(Unpacked(PictureFromMimeData(&onlyBmp)).dib(), image.dib()));
}

// Appends `value` to `bytes` as `size` little-endian bytes.
void AppendLittle(QByteArray& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

TEST(ClipboardPicture, ABmpFilePastesExactlyAsItOpens) {
    // 2 x 1 at 16 bits with 5-6-5 masks: red 16 of 31, then green 63 of 63.
    QByteArray bmp("BM");
    for (const auto& [value, size] : std::vector<std::pair<uint32_t, int>>{{70, 4},
                                                                           {0, 4},
                                                                           {66, 4}, // file header
                                                                           {40, 4},
                                                                           {2, 4},
                                                                           {1, 4},
                                                                           {1, 2},
                                                                           {16, 2},
                                                                           {3, 4}, // picture header
                                                                           {4, 4},
                                                                           {0, 4},
                                                                           {0, 4},
                                                                           {0, 4},
                                                                           {0, 4},
                                                                           {0xF800, 4},
                                                                           {0x07E0, 4},
                                                                           {0x001F, 4}, // masks
                                                                           {0x8000, 2},
                                                                           {0x07E0, 2}})
        AppendLittle(bmp, value, size);
    QMimeData data;
    data.setData(QStringLiteral("image/bmp"), bmp);
    const DibBlock image = Unpacked(PictureFromMimeData(&data));
    ASSERT_EQ(image.width(), 2);
    EXPECT_EQ(PixelAt(image.dib(), 0, 0), (Bgr{0, 0, 132})); // round(16 * 255 / 31)
    EXPECT_EQ(PixelAt(image.dib(), 1, 0), (Bgr{0, 255, 0}));
}

TEST(ClipboardPicture, AnIndexedPictureKeepsItsPalette) {
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(10, 20, 30)});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            indexed.setPixel(x, y, uint(x));
    const PackedDib picture = ImageToPicture(indexed);
    ASSERT_TRUE(picture);
    EXPECT_EQ(PackedDibDepth(*picture.header()), 8);
    const DibBlock image = Unpacked(picture);
    EXPECT_EQ(PixelAt(image.dib(), 0, 1), (Bgr{0, 0, 255}));
    EXPECT_EQ(PixelAt(image.dib(), 2, 0), (Bgr{30, 20, 10}));
}

TEST(ClipboardPicture, PngFromAnotherProgramBecomesTwentyFourBits) {
    QImage png(4, 3, QImage::Format_ARGB32);
    png.fill(qRgba(0, 0, 0, 0)); // transparent: white, as on a page
    png.setPixel(1, 2, qRgb(200, 100, 50));
    QMimeData data;
    data.setData(QStringLiteral("image/png"), Encoded(png, "PNG"));
    ASSERT_TRUE(OffersPicture(&data));
    const PackedDib picture = PictureFromMimeData(&data);
    ASSERT_TRUE(picture);
    EXPECT_EQ(PackedDibDepth(*picture.header()), 24);
    const DibBlock image = Unpacked(picture);
    EXPECT_EQ(PixelAt(image.dib(), 1, 2), (Bgr{50, 100, 200}));
    EXPECT_EQ(PixelAt(image.dib(), 0, 0), (Bgr{255, 255, 255}));
}

TEST(ClipboardPicture, ATopDownBmpIsReadThroughQt) {
    QImage source(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            source.setPixel(x, y, qRgb(10 * x, 20 * y, 99));
    QByteArray bmp = Encoded(source, "BMP");
    QMimeData data;
    data.setData(QStringLiteral("image/bmp"), bmp);
    const DibBlock image = Unpacked(PictureFromMimeData(&data));
    ASSERT_EQ(image.width(), 3);
    EXPECT_EQ(PixelAt(image.dib(), 2, 1), (Bgr{99, 20, 20}));
}

TEST(ClipboardPicture, TextOrNothingOffersNoPicture) {
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    EXPECT_FALSE(OffersPicture(&text));
    EXPECT_FALSE(PictureFromMimeData(&text));
    EXPECT_FALSE(OffersPicture(nullptr));
    QMimeData broken;
    broken.setData(QStringLiteral("image/bmp"), QByteArray("BM garbage"));
    EXPECT_FALSE(PictureFromMimeData(&broken));
    EXPECT_EQ(PictureMimeData(PackedDib{}), nullptr);
}

} // namespace
} // namespace halvera::testing
