// Measuring on edges in the running program: "Snap to edges" with the
// measurement tools, the Width tool and the calibration panel's Auto, worked
// with real mouse events on pictures whose edges are known exactly.
#include "DialogDriving.h"
#include "EdgePictures.h"
#include "ShellFixture.h"
#include "ViewHarness.h"
#include "image/BmpFile.h"
#include "measure/ui/CalibrationBar.h"
#include "measure/ui/CalibrationTool.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <numbers>

namespace halvera::testing {
namespace {

// A slanting edge through (80.37, 60.21) at 23 degrees, light above it.
const StraightEdgeTruth kEdge{{80.37, 60.21}, 23.0};
// A light disc of radius 27.4.
const SubPixelPoint kCentre{70.41, 62.77};
constexpr double kRadius = 27.4;

class EdgeToolsTest : public ShellTest {
protected:
    void open(const DibBlock& picture) {
        const std::string path = tempPath("picture.bmp");
        ASSERT_TRUE(CBmpFile().Write(path, picture.dib()));
        window = app->OpenDocumentFile(path);
        ASSERT_NE(window, nullptr);
        settle();
    }

    CMavView& view() { return window->view(); }
    MeasureData& data() { return window->document().measureData(); }
    QWidget* viewport() { return view().viewport(); }
    QPoint at(int x, int y) { return ClientPointOf(view(), x, y); }
    void run(int command) {
        ASSERT_TRUE(frame().router().dispatch(command));
        settle();
    }
    void snapOn() {
        if (!app->settings().SnapToEdges)
            run(kIdSnapToEdges);
    }

    void hover(QPoint client) { QTest::mouseMove(viewport(), client); }
    void click(QPoint client) {
        QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, client);
        QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, client);
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, from);
        for (const QPoint step : {(from * 2 + to) / 3, (from + to * 2) / 3, to}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(step),
                             viewport()->mapToGlobal(QPointF(step)), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(viewport(), &move);
        }
        QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, to);
    }
    QString message() { return frame().statusPane(0)->text(); }

    CChildFrame* window = nullptr;
};

// The two numbers of "Edge at X, Y".
SubPixelPoint EdgeInMessage(const QString& text) {
    const QStringList numbers = text.mid(QStringLiteral("Edge at ").size()).split(u',');
    EXPECT_EQ(numbers.size(), 2) << text.toStdString();
    return {numbers.value(0).trimmed().toDouble(), numbers.value(1).trimmed().toDouble()};
}

TEST_F(EdgeToolsTest, SnapToEdgesIsAToolbarToggleKeptInTheSettings) {
    open(RenderGrey(CoverHalfPlane(160, 120, kEdge), {}));
    QToolBar* bar = frame().toolbar(QStringLiteral("Measurement tools"));
    ASSERT_NE(bar, nullptr);
    QAction* toggle = nullptr;
    for (QAction* action : bar->actions())
        if (action->data().toInt() == kIdSnapToEdges)
            toggle = action;
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(frame().router().state(kIdSnapToEdges).checked);

    QTest::mouseClick(bar->widgetForAction(toggle), Qt::LeftButton);
    settle();
    EXPECT_EQ(app->settings().SnapToEdges, 1);
    EXPECT_TRUE(frame().router().state(kIdSnapToEdges).checked);
    QTest::mouseClick(bar->widgetForAction(toggle), Qt::LeftButton);
    settle();
    EXPECT_EQ(app->settings().SnapToEdges, 0);
}

TEST_F(EdgeToolsTest, PointToolShowsAndPlacesTheEdgePointNearThePointer) {
    open(RenderGrey(CoverHalfPlane(160, 120, kEdge), {}));
    snapOn();
    run(kIdMeasurePoint);
    // Three pixels off the edge, inside.
    const QPoint near = at(79, 57);
    const SubPixelPoint foot{79 - kEdge.InsideDistance({79, 57}) * kEdge.Direction().y,
                             57 + kEdge.InsideDistance({79, 57}) * kEdge.Direction().x};
    hover(near);
    const SubPixelPoint shown = EdgeInMessage(message());
    EXPECT_NEAR(shown.x, foot.x, 0.035);
    EXPECT_NEAR(shown.y, foot.y, 0.035);

    click(near);
    ASSERT_EQ(data().ItemCount(MeasureKind::Point), 1);
    const SubPixelPoint placed = data().subPixel(MeasureKind::Point)[0];
    EXPECT_LE(std::hypot(placed.x - foot.x, placed.y - foot.y), 0.03);
    EXPECT_TRUE(data().edgeFit(MeasureKind::Point, 0).measured);
    EXPECT_EQ(data().points()[0], NearestPixel(placed));
}

TEST_F(EdgeToolsTest, WithoutSnappingAClickStaysOnItsPixel) {
    open(RenderGrey(CoverHalfPlane(160, 120, kEdge), {}));
    run(kIdMeasurePoint);
    click(at(79, 57));
    ASSERT_EQ(data().ItemCount(MeasureKind::Point), 1);
    EXPECT_EQ(data().subPixel(MeasureKind::Point)[0], (SubPixelPoint{79.0, 57.0}));
    EXPECT_FALSE(data().edgeFit(MeasureKind::Point, 0).measured);
}

TEST_F(EdgeToolsTest, LineToolFitsTheEdgeAlongTheDrag) {
    open(RenderGrey(CoverHalfPlane(160, 120, kEdge), {}));
    snapOn();
    run(kIdMeasureLine);
    // About the edge from 60 pixels left of the middle to 60 right, 2 off it.
    drag(at(25, 83), at(136, 38));
    ASSERT_EQ(data().ItemCount(MeasureKind::Line), 1);
    const auto ends = data().subPixel(MeasureKind::Line);
    for (const SubPixelPoint end : ends)
        EXPECT_LE(std::fabs(kEdge.InsideDistance(end)), 0.02);
    const double degrees =
        std::atan2(-(ends[1].y - ends[0].y), ends[1].x - ends[0].x) * 180.0 / std::numbers::pi;
    EXPECT_NEAR(degrees, 23.0, 0.02);
    EXPECT_TRUE(data().edgeFit(MeasureKind::Line, 0).measured);
}

TEST_F(EdgeToolsTest, AngleAndPointToPointClicksLandOnEdges) {
    // A bar 17.6 pixels high between rows 52.7 and 70.3.
    open(RenderGrey(CoverBar(160, 120, {{10.0, 70.3}, 0.0}, 17.6), {}));
    snapOn();
    run(kIdMeasurePointToPoint);
    click(at(80, 48));
    click(at(80, 74));
    ASSERT_EQ(data().ItemCount(MeasureKind::Point), 2) << "each press placed a point on an edge";
    ASSERT_EQ(data().PointPairCount(), 1);
    const auto points = data().subPixel(MeasureKind::Point);
    EXPECT_NEAR(points[0].y, 52.7, 0.03);
    EXPECT_NEAR(points[1].y, 70.3, 0.03);
    EXPECT_NEAR(std::hypot(points[1].x - points[0].x, points[1].y - points[0].y), 17.6, 0.06);

    // Two arm ends on the bar's edges, the vertex far from any edge.
    run(kIdMeasureAngle);
    for (const QPoint press : {at(40, 50), at(40, 95), at(120, 72)})
        click(press);
    ASSERT_EQ(data().ItemCount(MeasureKind::Angle), 1);
    const auto angle = data().subPixel(MeasureKind::Angle);
    EXPECT_NEAR(angle[0].y, 52.7, 0.03);
    EXPECT_EQ(angle[1], (SubPixelPoint{40.0, 95.0})) << "no edge near: the pixel clicked";
    EXPECT_NEAR(angle[2].y, 70.3, 0.03);
    EXPECT_TRUE(data().edgeFit(MeasureKind::Angle, 0).measured);
}

TEST_F(EdgeToolsTest, CircleToolsFitTheWholeCircumference) {
    open(RenderGrey(CoverDisc(150, 130, kCentre, kRadius), {}));
    snapOn();
    run(kIdMeasureCircle);
    drag(at(72, 61), at(97, 60));
    run(kIdMeasureThreePointCircle);
    for (const QPoint rim : {at(43, 63), at(70, 35), at(90, 82)})
        click(rim);
    ASSERT_EQ(data().ItemCount(MeasureKind::Circle), 2);
    const auto circles = data().subPixel(MeasureKind::Circle);
    for (int circle = 0; circle < 2; ++circle) {
        const SubPixelPoint c = circles[2 * circle];
        const SubPixelPoint q = circles[2 * circle + 1];
        EXPECT_LE(std::hypot(c.x - kCentre.x, c.y - kCentre.y), 0.02) << circle;
        EXPECT_NEAR(std::hypot(q.x - c.x, q.y - c.y), kRadius, 0.02) << circle;
        EXPECT_TRUE(data().edgeFit(MeasureKind::Circle, circle).measured);
    }
}

TEST_F(EdgeToolsTest, WidthToolMeasuresABarSquareToItsSides) {
    // A bar 17.6 pixels wide at -12 degrees.
    const StraightEdgeTruth side{{30.0, 70.3}, -12.0};
    open(RenderGrey(CoverBar(160, 120, side, 17.6), {}));
    run(kIdMeasureWidth);
    drag(at(60, 45), at(72, 99));
    ASSERT_EQ(data().ItemCount(MeasureKind::Line), 1);
    const auto ends = data().subPixel(MeasureKind::Line);
    EXPECT_NEAR(std::hypot(ends[1].x - ends[0].x, ends[1].y - ends[0].y), 17.6, 0.03);
    EXPECT_TRUE(message().startsWith(QStringLiteral("Width from "))) << message().toStdString();

    // Across no edge at all: nothing is stored and the status bar says why.
    drag(at(140, 5), at(150, 15));
    EXPECT_EQ(data().ItemCount(MeasureKind::Line), 1);
    EXPECT_EQ(message(), QStringLiteral("No width: the segment crosses fewer than two edges"));
}

// An L of two stage micrometers: ticks 9.7 pixels apart along row 40 from
// x = 100, and 11.3 apart down column 40 from y = 100.
DibBlock LMicrometer() {
    Coverage along = CoverTicks(340, 340, {false, 100.2, 9.7, 22, 2.5, 0.0, 36.0, 40.0});
    const Coverage down = CoverTicks(340, 340, {true, 100.6, 11.3, 20, 2.5, 0.0, 36.0, 40.0});
    for (size_t i = 0; i < along.share.size(); ++i)
        along.share[i] = std::min(1.0, along.share[i] + down.share[i]);
    Look look;
    look.inside = 30.0;
    look.outside = 210.0;
    look.blur = 1.0;
    return RenderGrey(along, look);
}

TEST_F(EdgeToolsTest, AutoFillsTheRealSizesFromTheTicksUnderTheRuler) {
    open(LMicrometer());
    constexpr int kZoomIndex50 = 12;
    ASSERT_TRUE(view().zoomTo(kZoomIndex50, QPoint(0, 0)));
    run(kIdDimensionCalibration);
    auto* tool = dynamic_cast<CCalibrationTool*>(view().tool());
    ASSERT_NE(tool, nullptr);
    // Move the whole ruler so that its corner sits on image pixel (40, 40),
    // then stretch its legs to x = 330 and y = 330.
    const QPoint corner = view().logicalToClient(QPoint(tool->origin().x, tool->origin().y));
    drag(corner + QPoint(20, 20), at(40, 40) + QPoint(20, 20));
    drag(view().logicalToClient(QPoint(tool->horizontalEnd().x, tool->horizontalEnd().y)),
         at(330, 40));
    drag(view().logicalToClient(QPoint(tool->verticalEnd().x, tool->verticalEnd().y)), at(40, 330));
    CCalibrationBar& bar = *frame().calibrationControls();
    ASSERT_EQ(bar.working().origin, (PixelPoint{40, 40}));
    ASSERT_EQ(bar.working().width, 290);
    ASSERT_EQ(bar.working().height, 290);

    QLineEdit* spacing = Child<QLineEdit>(bar, "tickSpacing");
    spacing->selectAll();
    QTest::keyClicks(spacing, QStringLiteral("0.01"));
    QTest::mouseClick(Child<QPushButton>(bar, "Auto"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(prompts.texts().empty()) << prompts.texts().front();
    const double xScale = bar.working().realX / bar.working().width;
    const double yScale = bar.working().realY / bar.working().height;
    EXPECT_LE(std::fabs(xScale - 0.01 / 9.7) / (0.01 / 9.7), 1e-4);
    EXPECT_LE(std::fabs(yScale - 0.01 / 11.3) / (0.01 / 11.3), 1e-4);
    EXPECT_EQ(Child<QLabel>(bar, "xRuler")->text().toStdString(), "0.001031");
}

TEST_F(EdgeToolsTest, AutoNamesALegWithoutTicks) {
    open(RenderGrey(CoverHalfPlane(200, 200, {{-10.0, 0.0}, 90.0}), {}));
    run(kIdDimensionCalibration);
    const double realX = frame().calibrationControls()->working().realX;
    QTest::mouseClick(Child<QPushButton>(*frame().calibrationControls(), "Auto"), Qt::LeftButton);
    settle();
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"No clear period of at least 5 micrometer ticks under the X "
                                       "and Y legs."});
    EXPECT_EQ(frame().calibrationControls()->working().realX, realX);
}

} // namespace
} // namespace halvera::testing
