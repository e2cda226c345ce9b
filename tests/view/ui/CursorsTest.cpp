#include "view/ui/Cursors.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>
#include <set>

namespace halvera {
namespace {

TEST(Cursors, EveryResourceHasItsOwnDrawingWithAHotSpotOnIt) {
    const std::set<int> expected = {131, 136, 142, 145, 146, 147, 148, 153, 179, 185, 186,
                                    187, 190, 194, 209, 210, 215, 216, 217, 218, 219, 220,
                                    221, 222, 223, 224, 225, 226, 227, 228, 229, 284};
    std::set<int> ids;
    std::set<QByteArray> drawings;
    for (const CursorId id : AllCursorIds()) {
        ids.insert(static_cast<int>(id));
        const QCursor& cursor = CursorFor(id);
        const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(32, 32)) << static_cast<int>(id);
        const QPoint hot = cursor.hotSpot();
        ASSERT_TRUE(image.rect().contains(hot)) << static_cast<int>(id);
        // The hot spot lies on the drawing or right next to it.
        int opaqueNear = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (image.rect().contains(hot + QPoint(dx, dy)) &&
                    qAlpha(image.pixel(hot + QPoint(dx, dy))) > 0)
                    ++opaqueNear;
        EXPECT_GT(opaqueNear, 0) << static_cast<int>(id);
        drawings.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                                   static_cast<int>(image.sizeInBytes())));
    }
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(drawings.size(), expected.size()); // no two cursors look alike
}

TEST(Cursors, AreCreatedOnceAndShared) {
    EXPECT_EQ(CursorFor(CursorId::ZoomIn).pixmap().cacheKey(),
              CursorFor(CursorId::ZoomIn).pixmap().cacheKey());
}

TEST(Cursors, RotateCursorsGoRoundTheOctants) {
    const CursorId expected[8] = {CursorId::RotateRight, CursorId::RotateUpRight,
                                  CursorId::RotateUp,    CursorId::RotateUpLeft,
                                  CursorId::RotateLeft,  CursorId::RotateDownLeft,
                                  CursorId::RotateDown,  CursorId::RotateDownRight};
    for (int octant = 0; octant < 8; ++octant)
        EXPECT_EQ(RotateCursorForOctant(octant), expected[octant]);
    // Resource numbers of the rotate tools' octants 0..7.
    EXPECT_EQ(static_cast<int>(RotateCursorForOctant(0)), 221);
    EXPECT_EQ(static_cast<int>(RotateCursorForOctant(1)), 215);
    EXPECT_EQ(static_cast<int>(RotateCursorForOctant(7)), 219);
}

} // namespace
} // namespace halvera
