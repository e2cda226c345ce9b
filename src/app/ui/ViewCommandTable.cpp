#include "app/ui/ViewCommandTable.h"

#include "app/ui/HalveraApp.h"
#include "app/ui/MainFrame.h"
#include "measure/ui/CalibrationTool.h"
#include "measure/ui/GraphCommands.h"
#include "measure/ui/MeasureCommands.h"
#include "measure/ui/RecipeCommands.h"
#include "print/ui/PrintCommands.h"
#include "processing/ui/ArithmeticCommands.h"
#include "processing/ui/ProcessingViewCommands.h"
#include "view/CommandIds.h"
#include "view/ui/AnnotationCommands.h"
#include "view/ui/SelectionCommands.h"
#include "warping/ui/WarpingCommands.h"

namespace halvera {

namespace {

// The recipe commands work on the application's tolerances and output items
// and report to its main window's panels; a view without the application
// (a lone view in a test) has no recipe commands.
template <void (*Command)(CMavView&, const RecipeCommandContext&)>
void WithRecipeContext(CMavView& view) {
    CHalveraApp* app = CHalveraApp::Instance();
    if (!app)
        return;
    CMainFrame* frame = app->mainFrame();
    Command(view, {app->tolerance(), app->outputSelection(),
                   frame ? frame->resultsPanel() : nullptr, frame});
}

// The picture's calibration may be kept as a preset in the application's
// settings store; a lone view is offered none.
void OwnCalibrationAndPreset(CMavView& view) {
    CHalveraApp* app = CHalveraApp::Instance();
    UseOwnCalibrationCommand(view, app ? &app->settingsStore() : nullptr);
}

} // namespace

const CommandMap<CMavView>& ViewCommandTable() {
    static const auto map =
        CommandMap<CMavView>()
            .add(kIdLassoTool, &StartLassoTool)
            .add(kIdRectMarqueeTool, &StartRectangleMarquee)
            .add(kIdEllipseMarqueeTool, &StartEllipseMarquee)
            .add(kIdRoiCutTool, &StartRoiCutTool)
            .add(kIdRoiClear, &RoiClear)
            .add(kIdCrop, &CropToSelectionCommand)
            .add(kIdEditCopy, &CopyCommand)
            .add(kIdEditCut, &CutCommand)
            .add(kIdEditPaste, &PasteCommand, &UpdatePasteCommand)
            .add(kIdInvert, &InvertCommand)
            .add(kIdGrayscale, &GrayscaleCommand)
            .add(kIdBrightnessContrast, &BrightnessContrastCommand)
            .add(kIdColorBalance, &ColorBalanceCommand)
            .add(kIdHueSaturation, &HueSaturationCommand)
            .add(kIdSmoothAverage, &AverageCommand)
            .add(kIdSmoothMedian, &MedianCommand)
            .add(kIdSmoothLowPass, &LowPassCommand)
            .add(kIdEdgeRoberts, &RobertsCommand)
            .add(kIdEdgeSobel, &SobelCommand)
            .add(kIdEdgeLaplace, &LaplaceCommand)
            .add(kIdEdgeKirsch, &KirschCommand)
            .add(kIdEdgePrewitt, &PrewittCommand)
            .add(kIdEdgeHorizontal, &HorizontalEdgeCommand)
            .add(kIdEdgeVertical, &VerticalEdgeCommand)
            .add(kIdEdgeUpRight, &UpRightEdgeCommand)
            .add(kIdEdgeDownLeft, &DownLeftEdgeCommand)
            .add(kIdArithmetic, &ArithmeticCommand)
            .add(kIdShadeCorrection1, &ShadePolynomialCommand)
            .add(kIdShadeCorrection2, &ShadeMorphological7Command)
            .add(kIdShadeCorrection3, &ShadeMorphological9Command)
            .add(kIdReferenceImage, &ReferenceImageCommand)
            .add(kIdFieldShadeCorrection, &FieldShadeCorrectionCommand)
            .add(kIdHorizontalFlip, &HorizontalFlipCommand)
            .add(kIdVerticalFlip, &VerticalFlipCommand)
            .add(kIdZoomTransform, &ZoomTransformCommand)
            .add(kIdRotate, &RotateCommand)
            .add(kIdFreeTransform, &FreeTransformCommand)
            .add(kIdNetWarping, &NetWarpingCommand)
            .add(kIdPencilTool, &StartPencilTool)
            .add(kIdLineTool, &StartLineTool)
            .add(kIdEllipseTool, &StartEllipseTool)
            .add(kIdFilledEllipseTool, &StartFilledEllipseTool)
            .add(kIdRectangleTool, &StartRectangleTool)
            .add(kIdFilledRectangleTool, &StartFilledRectangleTool)
            .add(kIdPolygonTool, &StartPolygonTool)
            .add(kIdFilledPolygonTool, &StartFilledPolygonTool)
            .add(kIdFillTool, &StartFillTool)
            .add(kIdTextTool, &StartTextTool)
            .add(kIdRulerSignTool, &StartRulerSignTool)
            .add(kIdArrowSignTool, &StartArrowSignTool)
            .add(kIdEyedropperTool, &StartEyedropperTool)
            .add(kIdDimensionCalibration, &DimensionCalibrationCommand)
            .add(kIdMeasurePoint, &PointToolCommand)
            .add(kIdAdjustPoint, &AdjustPointCommand)
            .add(kIdMeasurePointToPoint, &PointToPointCommand)
            .add(kIdMeasureLine, &LineMeasureCommand)
            .add(kIdAdjustLine, &AdjustLineCommand)
            .add(kIdMeasureCircle, &CircleToolCommand)
            .add(kIdMeasureThreePointCircle, &ThreePointCircleCommand)
            .add(kIdAdjustCircle, &AdjustCircleCommand)
            .add(kIdMeasureRectangle, &RectangleMeasureCommand)
            .add(kIdAdjustRectangle, &AdjustRectangleCommand)
            .add(kIdMeasureAngle, &AngleToolCommand)
            .add(kIdAdjustAngle, &AdjustAngleCommand)
            .add(kIdMeasureWidth, &WidthToolCommand)
            .add(kIdSnapToEdges, &SnapToEdgesCommand, &UpdateSnapToEdgesCommand)
            .add(kIdMeasureSetColor, &SetMeasureColorCommand)
            .add(kIdClearMeasuredData, &ClearMeasureDataCommand)
            .add(kIdSaveMeasurements, &SaveMeasurementsCommand)
            .add(kIdUseOwnCalibration, &OwnCalibrationAndPreset, &UpdateUseOwnCalibrationCommand)
            .add(kIdFilePrint, &PrintImageCommand)
            .add(kIdGraphMerge, &GraphMergeCommand)
            .add(kIdGraphBuild, &BuildGraphCommand)
            .add(kIdGraphPrint, &PrintGraphCommand)
            .add(kIdSaveAsRecipe, &WithRecipeContext<&SaveAsRecipeCommand>)
            .add(kIdRunRecipe, &WithRecipeContext<&RunRecipeCommand>);
    return map;
}

void InstallViewCommands() {
    CMavView::InstallFeatureCommands(&ViewCommandTable());
}

} // namespace halvera
