#include "ViewHarness.h"
#include "view/CommandIds.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace halvera::testing {
namespace {

DibBlock CopyOf(const CDibImage& image) {
    DibBlock copy;
    if (!CreateRgb(copy, image.width(), image.height))
        throw std::runtime_error("no memory for the copy");
    CopyBlock(copy.dib(), image);
    return copy;
}

void InvertAll(const CDibImage& image, const CDibImage&, const CDibImage&) {
    for (int32_t y = 0; y < image.height; ++y) {
        uint8_t* row = image.row(y);
        for (int32_t i = 0; i < image.width() * 3; ++i)
            row[i] = static_cast<uint8_t>(255 - row[i]);
    }
}

// Every client pixel inside the displayed image shows the image pixel that
// windowToImage names for it: the conversion and the paint agree. At
// fractional zooms the painter samples pixel centres while the conversion
// truncates, so there they may differ by one displayed pixel.
void ExpectPaintMatchesConversion(ViewHarness& harness, int tolerance) {
    const QImage shown = harness.grab();
    const QRect visible = harness.view().displayedImageRect() & shown.rect();
    ASSERT_FALSE(visible.isEmpty());
    int checked = 0;
    for (int y = visible.top(); y <= visible.bottom(); y += 7) {
        for (int x = visible.left(); x <= visible.right(); x += 5) {
            const QPoint painted = CoordinateOf(shown.pixel(x, y));
            const QPoint converted = harness.view().windowToImage(QPoint(x, y));
            ASSERT_LE(std::abs(painted.x() - converted.x()), tolerance) << "at " << x << "," << y;
            ASSERT_LE(std::abs(painted.y() - converted.y()), tolerance) << "at " << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

TEST(MavView, FirstPaintShowsASmallImageCentredAtOneHundredPercent) {
    ViewHarness harness(100, 60);
    CMavView& view = harness.view();
    EXPECT_EQ(view.zoomIndex(), kZoomIndex100);
    const QSize client = harness.viewport()->size();
    const QPoint origin((client.width() - 100) / 2, (client.height() - 60) / 2);
    EXPECT_EQ(view.displayedImageRect(), QRect(origin, QSize(100, 60)));

    const QImage shown = harness.grab();
    EXPECT_EQ(CoordinateOf(shown.pixel(origin)), QPoint(0, 0));
    EXPECT_EQ(CoordinateOf(shown.pixel(origin + QPoint(99, 59))), QPoint(99, 59));
    EXPECT_EQ(CoordinateOf(shown.pixel(origin + QPoint(37, 21))), QPoint(37, 21));
    // Outside the image the window keeps its background, a grey that sets off
    // the edges of a white picture.
    const QRgb background = harness.viewport()->palette().color(QPalette::Dark).rgb();
    EXPECT_NE(background, qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(origin - QPoint(1, 1)), background);
    EXPECT_EQ(shown.pixel(origin + QPoint(100, 60)), background);
}

TEST(MavView, PaintAndWindowToImageAgreeAtSeveralZoomsAndScrollPositions) {
    ViewHarness harness(700, 500);
    CMavView& view = harness.view();
    struct Case {
        int zoomIndex;
        QPoint scroll;
        int tolerance;
    };
    const std::vector<Case> cases = {
        {kZoomIndex100, {0, 0}, 0}, {kZoomIndex100, {133, 77}, 0},
        {8, {401, 333}, 0},         {0, {5000, 3001}, 0},
        {0, {11047, 7713}, 0},      {9, {250, 123}, 1},
        {11, {57, 31}, 2},          {14, {0, 0}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "zoom index " << c.zoomIndex << " scroll "
                                          << c.scroll.x() << "," << c.scroll.y());
        ASSERT_TRUE(view.zoomTo(c.zoomIndex, QPoint(0, 0)));
        view.scrollTo(c.scroll);
        const QPoint maximum(view.placement().MaxScroll().x, view.placement().MaxScroll().y);
        EXPECT_EQ(view.scrollPosition(),
                  QPoint(std::min(c.scroll.x(), maximum.x()), std::min(c.scroll.y(), maximum.y())));
        ExpectPaintMatchesConversion(harness, c.tolerance);
    }
}

TEST(MavView, ScrollBarsSettleWithinTheZoomStep) {
    ViewHarness harness(300, 200, QSize(400, 300));
    CMavView& view = harness.view();
    const QSize withoutBars = harness.viewport()->size();
    ASSERT_TRUE(view.zoomTo(8, QPoint(200, 150))); // 600 x 400: both bars appear
    const QSize withBars = harness.viewport()->size();
    EXPECT_LT(withBars.width(), withoutBars.width());
    EXPECT_LT(withBars.height(), withoutBars.height());
    QApplication::processEvents();
    EXPECT_EQ(harness.viewport()->size(), withBars);
    EXPECT_EQ(view.placement().MaxScroll().x, 600 - withBars.width());
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 600 - withBars.width());
}

TEST(MavView, ConversionsRoundTripAtIntegerZooms) {
    ViewHarness harness(400, 300);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.zoomTo(8, QPoint(0, 0))); // 200 %
    view.scrollTo(QPoint(90, 40));
    EXPECT_EQ(view.windowToImage(QPoint(10, 10)), QPoint(50, 25));
    EXPECT_EQ(view.imageToWindow(QPoint(50, 25)), QPoint(100, 50));
    EXPECT_EQ(view.logicalToClient(view.imageToWindow(QPoint(50, 25))), QPoint(10, 10));
    EXPECT_EQ(view.imageRectToWindow(QRect(QPoint(50, 25), QPoint(51, 25))),
              QRect(QPoint(100, 50), QPoint(103, 51)));
    EXPECT_EQ(view.imageLengthToWindow(7), 14);
}

TEST(MavView, StatusTextReportsZoomAndWindowPixelsWhateverTheLocale) {
    ViewHarness harness(400, 300);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.zoomTo(8, QPoint(0, 0)));
    view.scrollTo(QPoint(0, 0));
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QSignalSpy status(&view, &CMavView::statusTextChanged);

    // Over image pixel (10, 10) of an unscrolled, uncentred image at 200 %.
    harness.moveMouse(QPoint(21, 21));
    QLocale::setDefault(previous);
    EXPECT_EQ(view.windowToImage(QPoint(21, 21)), QPoint(10, 10));
    ASSERT_EQ(status.count(), 1);
    // The image pixel under the pointer follows, with its colour.
    EXPECT_EQ(status.takeFirst().at(0).toString(),
              QStringLiteral("Zoom:200.0%, Mouse:X=21, Y=21, x=10 y=10 RGB(10,10,0)"));

    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 7));
    ASSERT_GE(status.count(), 1);
    EXPECT_EQ(status.last().at(0).toString(),
              QStringLiteral("Zoom:200.0%, Mouse:X=5, Y=7, x=2 y=3 RGB(2,3,0)"));

    view.setActive(false);
    EXPECT_EQ(status.last().at(0).toString(), QStringLiteral("Zoom:200.0%"));
}

// Centred at 200 %, the pixel readout follows the image, not the window, and
// stops beside the picture; a calibration adds the position in its unit.
TEST(MavView, StatusTextNamesTheImagePixelUnderThePointer) {
    ViewHarness harness(40, 30, QSize(320, 240));
    CMavView& view = harness.view();
    ASSERT_TRUE(view.zoomTo(8, QPoint(0, 0)));
    QSignalSpy status(&view, &CMavView::statusTextChanged);
    const QPoint pixel = ClientPointOf(view, 25, 17);
    harness.moveMouse(pixel + QPoint(1, 1));
    EXPECT_TRUE(status.last().at(0).toString().endsWith(QStringLiteral(", x=25 y=17 RGB(25,17,0)")))
        << status.last().at(0).toString().toStdString();
    const QRect shown = view.displayedImageRect();
    harness.moveMouse(shown.topLeft() - QPoint(1, 1));
    EXPECT_FALSE(status.last().at(0).toString().contains(QStringLiteral("RGB")));
    harness.moveMouse(shown.bottomRight());
    EXPECT_TRUE(status.last().at(0).toString().endsWith(QStringLiteral("x=39 y=29 RGB(39,29,0)")));

    harness.doc().settings().RulerUnit = 1;
    harness.doc().settings().xRealRulerData = 5.0;
    harness.doc().settings().xPixelRulerData = 20;
    harness.moveMouse(pixel);
    EXPECT_TRUE(status.last().at(0).toString().endsWith(
        QStringLiteral("x=25 y=17 RGB(25,17,0) (6.250, 17.000 mm)")))
        << status.last().at(0).toString().toStdString();
}

TEST(MavView, ThirdsOfAPercentShowOneDecimal) {
    ViewHarness harness(300, 300);
    QSignalSpy status(&harness.view(), &CMavView::statusTextChanged);
    ASSERT_TRUE(harness.view().zoomTo(11, QPoint(0, 0)));
    harness.view().setActive(true);
    EXPECT_EQ(status.last().at(0).toString(), QStringLiteral("Zoom:66.7%"));
}

// A tool that writes down what reaches it.
class RecordingTool : public CMouseTool {
public:
    explicit RecordingTool(std::vector<std::string>& calls) : calls_(calls) {}
    ~RecordingTool() override { calls_.push_back("deleted"); }

    void OnLButtonDblClk(CMavView&, int flags, int x, int y) override {
        Note("dblclk", flags, x, y);
    }
    void OnLButtonDown(CMavView&, int flags, int x, int y) override { Note("down", flags, x, y); }
    void OnLButtonUp(CMavView&, int flags, int x, int y) override { Note("up", flags, x, y); }
    void OnMouseMove(CMavView&, int flags, int x, int y) override { Note("move", flags, x, y); }
    void OnTimer(CMavView&, int id) override {
        if (calls_.empty() || calls_.back() != "timer " + std::to_string(id))
            calls_.push_back("timer " + std::to_string(id));
    }
    void OnKeyDown(CMavView&, int key, int, int) override { Note("keydown", key, 0, 0); }
    void OnKeyUp(CMavView&, int key, int, int) override { Note("keyup", key, 0, 0); }
    void Finish(CMavView&) override { calls_.push_back("finish"); }

private:
    void Note(const char* what, int a, int x, int y) {
        calls_.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(x) +
                         " " + std::to_string(y));
    }
    std::vector<std::string>& calls_;
};

TEST(MavView, ForwardsInputToTheToolOnlyWhileActive) {
    std::vector<std::string> calls;
    ViewHarness harness(400, 300);
    CMavView& view = harness.view();
    view.setTool(std::make_unique<RecordingTool>(calls));

    view.setActive(false);
    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 12));
    harness.moveMouse(QPoint(11, 12), Qt::LeftButton);
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(11, 12));
    QTest::keyClick(&view, Qt::Key_A);
    QTest::qWait(3 * CMavView::kOutlineTimerPeriodMs);
    EXPECT_TRUE(calls.empty());

    view.setActive(true);
    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 12));
    harness.moveMouse(QPoint(11, 13), Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(11, 13));
    // A double-click arrives as press, release, double-click, release.
    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 21));
    QTest::mouseDClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 21));
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 21));
    QTest::mousePress(harness.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 21));
    QTest::keyPress(&view, Qt::Key_Control);
    QTest::keyRelease(&view, Qt::Key_Control);
    QTest::qWait(3 * CMavView::kOutlineTimerPeriodMs);

    std::vector<std::string> input;
    bool ticked = false;
    for (const std::string& call : calls) {
        if (call == "timer 1105")
            ticked = true;
        else
            input.push_back(call);
    }
    EXPECT_TRUE(ticked);
    const std::string ctrl = std::to_string(Qt::Key_Control);
    const std::vector<std::string> expected = {
        "down 9 10 12", // left button (1) and Ctrl (8)
        "move 9 11 13",
        "up 8 11 13", // the released button is no longer held
        "down 1 20 21",
        "up 0 20 21",
        "dblclk 1 20 21",
        "up 0 20 21",
        "keydown " + ctrl + " 0 0",
        "keyup " + ctrl + " 0 0",
    };
    EXPECT_EQ(input, expected);

    calls.clear();
    view.setTool(nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"finish", "deleted"}));
    EXPECT_EQ(view.toolMode(), ToolMode::None);
}

TEST(MavView, AClickGivesTheViewTheKeyboard) {
    std::vector<std::string> calls; // outlives the view, which deletes the tool
    ViewHarness harness(400, 300);
    harness.view().setTool(std::make_unique<RecordingTool>(calls));
    harness.view().clearFocus();
    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_TRUE(harness.view().hasFocus());
    calls.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(calls, (std::vector<std::string>{"keydown " + std::to_string(Qt::Key_Left) + " 0 0",
                                               "keyup " + std::to_string(Qt::Key_Left) + " 0 0"}));
    EXPECT_EQ(harness.view().scrollPosition(), QPoint(0, 0)); // keys do not scroll the view
}

TEST(MavView, WithoutAToolAMoveShowsTheArrow) {
    ViewHarness harness(400, 300);
    harness.view().setToolCursor(CursorId::Pencil);
    harness.moveMouse(QPoint(30, 30));
    EXPECT_TRUE(harness.showsArrow());
}

// A tool that ends itself from inside its own operation and then still uses
// the view, as the magnifying glass does on a double-click.
class SelfEndingTool : public CMouseTool {
public:
    explicit SelfEndingTool(bool& alive) : alive_(alive) { alive_ = true; }
    ~SelfEndingTool() override { alive_ = false; }
    void OnLButtonUp(CMavView& view, int, int, int) override {
        view.endTool();
        EXPECT_TRUE(alive_); // still here until this call returns
        view.repaintView();
    }

private:
    bool& alive_;
};

TEST(MavView, AToolMayEndItselfDuringItsOwnCall) {
    ViewHarness harness(400, 300);
    bool alive = false;
    harness.view().setTool(std::make_unique<SelfEndingTool>(alive));
    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    EXPECT_FALSE(alive);
    EXPECT_EQ(harness.view().tool(), nullptr);
}

TEST(MavView, DestroyingTheViewDeletesTheToolWithoutFinish) {
    std::vector<std::string> calls;
    {
        ViewHarness harness(100, 100);
        harness.view().setTool(std::make_unique<RecordingTool>(calls));
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"deleted"}));
}

class AutoScrollingTool : public CMouseTool {
public:
    void OnMouseMove(CMavView& view, int flags, int x, int y) override {
        if (flags & kMouseLeftButton)
            AutoScroll(view, x, y);
    }
};

TEST(MavView, AutoScrollBringsADraggedPointBackIntoView) {
    ViewHarness harness(1000, 800);
    CMavView& view = harness.view();
    view.setTool(std::make_unique<AutoScrollingTool>());
    view.scrollTo(QPoint(100, 100));
    const QSize client = harness.viewport()->size();
    harness.moveMouse(QPoint(-30, client.height() + 25), Qt::LeftButton);
    EXPECT_EQ(view.scrollPosition(), QPoint(70, 125));
    harness.moveMouse(QPoint(-500, -500), Qt::LeftButton);
    EXPECT_EQ(view.scrollPosition(), QPoint(0, 0));
}

TEST(MavView, ImageCommandIsOneUndoableStep) {
    std::vector<std::string> calls;
    ViewHarness harness(64, 48);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    const DibBlock original = CopyOf(doc.image());
    CommandState state;
    ASSERT_TRUE(view.onUpdateCommand(kIdEditUndo, state));
    EXPECT_FALSE(state.enabled);
    ASSERT_TRUE(view.onUpdateCommand(kIdEditRedo, state));
    EXPECT_FALSE(state.enabled);

    view.setTool(std::make_unique<RecordingTool>(calls));
    view.selection().words = {9, 1, 2, 3, 4, 5, 6};
    QSignalSpy panel(&view, &CMavView::indexPanelRepaintRequested);
    view.runImageCommand(InvertAll);

    EXPECT_EQ(calls, (std::vector<std::string>{"finish", "deleted"}));
    EXPECT_EQ(view.tool(), nullptr);
    EXPECT_TRUE(view.outlineTimerOn());
    EXPECT_EQ(panel.count(), 1);
    EXPECT_EQ(view.selection().words, (std::array<int32_t, 7>{3, 1, 2, 0, 0, 0, 6}));
    EXPECT_EQ(PixelAt(doc.image(), 5, 7).red, 255 - PixelAt(original.dib(), 5, 7).red);
    EXPECT_TRUE(SamePixels(doc.working(), original.dib())); // the operation read the copy
    EXPECT_TRUE(doc.IsModified());

    view.onUpdateCommand(kIdEditUndo, state);
    EXPECT_TRUE(state.enabled);
    view.onUpdateCommand(kIdEditRedo, state);
    EXPECT_FALSE(state.enabled);

    view.selection().words = {};
    EXPECT_TRUE(view.onCommand(kIdEditUndo));
    EXPECT_TRUE(SamePixels(doc.image(), original.dib()));
    EXPECT_EQ(view.selection().kind(), 3); // the record comes back from the history
    view.onUpdateCommand(kIdEditUndo, state);
    EXPECT_FALSE(state.enabled);
    view.onUpdateCommand(kIdEditRedo, state);
    EXPECT_TRUE(state.enabled);

    EXPECT_TRUE(view.onCommand(kIdEditRedo));
    EXPECT_EQ(PixelAt(doc.image(), 5, 7).red, 255 - PixelAt(original.dib(), 5, 7).red);
    view.onUpdateCommand(kIdEditRedo, state);
    EXPECT_FALSE(state.enabled);
}

TEST(MavView, UndoShowsTheRestoredImage) {
    ViewHarness harness(64, 48);
    CMavView& view = harness.view();
    view.runImageCommand(InvertAll);
    const QPoint origin = view.displayedImageRect().topLeft();
    const QRgb inverted = harness.grab().pixel(origin + QPoint(3, 4));
    EXPECT_EQ(qRed(inverted), 255 - 3);
    view.onCommand(kIdEditUndo);
    EXPECT_EQ(CoordinateOf(harness.grab().pixel(origin + QPoint(3, 4))), QPoint(3, 4));
}

TEST(MavView, ImageAndMaskCommandUndoesBoth) {
    ViewHarness harness(32, 32);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    view.runImageCommand(
        [](const CDibImage& image, const CDibImage&, const CDibImage& mask) {
            SetPixel(image, 1, 1, Bgr{1, 2, 3});
            SetByte(mask, 1, 1, 255);
        },
        {.readsWorkingCopy = false, .kind = StepKind::ImageAndMask});
    EXPECT_EQ(view.selection().kind(), 4);
    view.undo();
    EXPECT_EQ(ByteAt(doc.mask(), 1, 1), 0);
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), CoordinateColour(1, 1));
}

TEST(MavView, CancelledDialogCommandLeavesImageHistoryAndRecordAsBefore) {
    ViewHarness harness(40, 30);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    view.runImageCommand(InvertAll);
    view.runImageCommand(InvertAll);
    view.undo(); // one step to undo, one to redo
    const DibBlock before = CopyOf(doc.image());
    view.selection().words = {3, 7, 7, 7, 7, 7, 7};

    const bool accepted = view.runDialogCommand([&] {
        // The dialog previews on the main image, reading the working copy.
        EXPECT_TRUE(SamePixels(doc.working(), before.dib()));
        SetPixel(doc.image(), 2, 2, Bgr{0, 0, 0});
        return false;
    });

    EXPECT_FALSE(accepted);
    EXPECT_TRUE(SamePixels(doc.image(), before.dib()));
    EXPECT_EQ(view.selection().words, (std::array<int32_t, 7>{3, 7, 7, 7, 7, 7, 7}));
    EXPECT_EQ(doc.undoHistory().count(), 1);
    EXPECT_FALSE(doc.CanRedo()); // the command discarded what could be redone
    view.undo();
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), CoordinateColour(2, 2));
    EXPECT_FALSE(doc.CanUndo());
}

TEST(MavView, AcceptedDialogCommandIsOneUndoableStep) {
    ViewHarness harness(40, 30);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    EXPECT_TRUE(view.runDialogCommand([&] {
        SetPixel(doc.image(), 2, 2, Bgr{0, 0, 0});
        return true;
    }));
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), (Bgr{0, 0, 0}));
    EXPECT_EQ(view.selection().kind(), 3);
    EXPECT_EQ(doc.undoHistory().count(), 1);
    view.undo();
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), CoordinateColour(2, 2));
}

TEST(MavView, SelectionOutlineMarchesWhileTheTimerRuns) {
    ViewHarness harness(64, 48);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 30; ++x)
            SetByte(doc.mask(), x, y, 255);
    ASSERT_TRUE(view.outlineTimerOn());
    const QPoint origin = view.displayedImageRect().topLeft();

    auto outlineAt = [&](const QImage& shown, QPoint image) {
        return shown.pixel(origin + image);
    };
    QImage shown = harness.grab();
    // The edge of the selected block is black or white; inside it the image shows.
    for (const QPoint edge : {QPoint(10, 10), QPoint(29, 15), QPoint(20, 19)}) {
        const QRgb colour = outlineAt(shown, edge);
        EXPECT_TRUE(colour == qRgb(0, 0, 0) || colour == qRgb(255, 255, 255));
    }
    EXPECT_EQ(CoordinateOf(outlineAt(shown, QPoint(15, 15))), QPoint(15, 15));
    EXPECT_EQ(CoordinateOf(outlineAt(shown, QPoint(9, 15))), QPoint(9, 15));

    const int phase = view.outline().phase();
    QTest::qWait(4 * CMavView::kOutlineTimerPeriodMs);
    EXPECT_NE(view.outline().phase(), phase);

    // The magnifying glass stops the animation and the outline goes.
    view.onCommand(kIdMagnifierTool);
    EXPECT_FALSE(view.outlineTimerOn());
    shown = harness.grab();
    EXPECT_EQ(CoordinateOf(outlineAt(shown, QPoint(10, 10))), QPoint(10, 10));
    view.onCommand(kIdZoomTool);
    EXPECT_TRUE(view.outlineTimerOn());
}

TEST(RoiOutline, StripesFollowTheEightByEightPattern) {
    // Row 5 of the pattern: 1 0 0 0 0 1 1 1.
    const bool row5[8] = {true, false, false, false, false, true, true, true};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(RoiOutline::IsWhite(5, i, 0), row5[i]) << i;
    // The phase shifts the pattern along the map's columns.
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(RoiOutline::IsWhite(j, i, 3), RoiOutline::IsWhite(j + 3, i, 0));
    RoiOutline outline;
    for (int step = 0; step < 9; ++step)
        outline.Advance();
    EXPECT_EQ(outline.phase(), 1); // 1, 2, ..., 8, 1
}

} // namespace
} // namespace halvera::testing
