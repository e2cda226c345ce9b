#include "app/ui/ToolbarResources.h"

#include "view/CommandIds.h"

namespace halvera {

namespace {

constexpr ToolbarButton kGap{};

} // namespace

const ToolbarResource& MainToolsBar() {
    static const ToolbarResource bar{"Main tools",
                                     20,
                                     18,
                                     {
                                         {kIdScanImage, "scan-image"},
                                         kGap,
                                         {kIdFileNew, "file-new"},
                                         {kIdFileOpen, "file-open"},
                                         {kIdFileSave, "file-save"},
                                         {kIdFilePrint, "file-print"},
                                         kGap,
                                         {kIdEditUndo, "edit-undo"},
                                         {kIdEditRedo, "edit-redo"},
                                         kGap,
                                         {kIdCrop, "crop"},
                                         {kIdEditCut, "edit-cut"},
                                         {kIdEditCopy, "edit-copy"},
                                         {kIdEditPaste, "edit-paste"},
                                         kGap,
                                         {kIdBrightnessContrast, "brightness-contrast"},
                                         {kIdColorBalance, "color-balance"},
                                         {kIdHueSaturation, "hue-saturation"},
                                         kGap,
                                         {kIdDimensionCalibration, "calibration"},
                                     }};
    return bar;
}

const ToolbarResource& ToolBoxBar() {
    static const ToolbarResource bar{"Tool",
                                     16,
                                     15,
                                     {
                                         {kIdLassoTool, "lasso"},
                                         {kIdRectMarqueeTool, "marquee-rectangle"},
                                         {kIdEllipseMarqueeTool, "marquee-ellipse"},
                                         {kIdRoiCutTool, "roi-cut"},
                                         {kIdMagnifierTool, "magnifier"},
                                         {kIdZoomTool, "zoom"},
                                         {kIdPencilTool, "pencil"},
                                         {kIdLineTool, "line"},
                                         {kIdEllipseTool, "ellipse"},
                                         {kIdFilledEllipseTool, "ellipse-filled"},
                                         {kIdRectangleTool, "rectangle"},
                                         {kIdFilledRectangleTool, "rectangle-filled"},
                                         {kIdPolygonTool, "polygon"},
                                         {kIdFilledPolygonTool, "polygon-filled"},
                                         {kIdFillTool, "fill"},
                                         {kIdTextTool, "text"},
                                         {kIdRulerSignTool, "ruler-sign"},
                                         {kIdArrowSignTool, "arrow-sign"},
                                         {kIdEyedropperTool, "eyedropper"},
                                         {kIdSignSetting, "sign-setting"},
                                     }};
    return bar;
}

const ToolbarResource& WarpingToolsBar() {
    static const ToolbarResource bar{"Warping tools",
                                     20,
                                     18,
                                     {
                                         {kIdHorizontalFlip, "flip-horizontal"},
                                         {kIdVerticalFlip, "flip-vertical"},
                                         {kIdZoomTransform, "zoom-transform"},
                                         {kIdRotate, "rotate"},
                                         {kIdFreeTransform, "free-transform"},
                                         {kIdNetWarping, "net-warping"},
                                     }};
    return bar;
}

const ToolbarResource& MeasurementToolsBar() {
    static const ToolbarResource bar{"Measurement tools",
                                     20,
                                     18,
                                     {
                                         {kIdMeasurePoint, "measure-point"},
                                         {kIdAdjustPoint, "adjust-point"},
                                         {kIdMeasurePointToPoint, "measure-point-to-point"},
                                         kGap,
                                         {kIdMeasureLine, "measure-line"},
                                         {kIdAdjustLine, "adjust-line"},
                                         kGap,
                                         {kIdMeasureCircle, "measure-circle"},
                                         {kIdMeasureThreePointCircle, "measure-three-point-circle"},
                                         {kIdAdjustCircle, "adjust-circle"},
                                         kGap,
                                         {kIdMeasureRectangle, "measure-rectangle"},
                                         {kIdAdjustRectangle, "adjust-rectangle"},
                                         kGap,
                                         {kIdMeasureAngle, "measure-angle"},
                                         {kIdAdjustAngle, "adjust-angle"},
                                         kGap,
                                         {kIdMeasureWidth, "measure-width"},
                                         {kIdSnapToEdges, "snap-edges"},
                                         kGap,
                                         {kIdMeasureSetColor, "measure-color"},
                                         kGap,
                                         {kIdGraphMerge, "graph-merge"},
                                         {kIdClearMeasuredData, "clear-data"},
                                         {kIdGraphBuild, "graph-build"},
                                         kGap,
                                         {kIdGraphPrint, "graph-print"},
                                     }};
    return bar;
}

const ToolbarResource& PlayToolsBar() {
    static const ToolbarResource bar{"Play tools",
                                     20,
                                     18,
                                     {
                                         {kIdOpenPlayFile, "play-open"},
                                         {kIdSetPlayRate, "play-rate"},
                                         {kIdPlaySnap, "snap"},
                                         kGap,
                                         {kIdPlayRun, "play-run"},
                                         {kIdPlayPause, "pause"},
                                         {kIdPlayToStart, "play-to-start"},
                                         {kIdPlayPrevFrame, "play-prev-frame"},
                                         {kIdPlayNextFrame, "play-next-frame"},
                                         {kIdPlayToEnd, "play-to-end"},
                                         {kIdPlayRestart, "play-restart"},
                                         {kIdQuitPlay, "stop"},
                                     }};
    return bar;
}

const ToolbarResource& PreviewToolsBar() {
    static const ToolbarResource bar{"Preview tools",
                                     20,
                                     18,
                                     {
                                         {kIdPreview, "preview"},
                                         {kIdPausePreview, "pause"},
                                         {kIdQuitPreview, "stop"},
                                         kGap,
                                         {kIdPreviewSnap, "snap"},
                                     }};
    return bar;
}

const ToolbarResource& VideoToolsBar() {
    static const ToolbarResource bar{"Video tools",
                                     20,
                                     18,
                                     {
                                         {kIdSetCaptureTimeLimit, "capture-time"},
                                         {kIdSetCaptureRate, "capture-rate"},
                                         {kIdSetCaptureFileName, "capture-file"},
                                         kGap,
                                         {kIdCaptureToDisc, "capture-record"},
                                         {kIdPauseCapture, "pause"},
                                         {kIdQuitCapture, "stop"},
                                     }};
    return bar;
}

std::vector<const ToolbarResource*> AllToolbars() {
    return {&MainToolsBar(), &ToolBoxBar(),          &PreviewToolsBar(), &VideoToolsBar(),
            &PlayToolsBar(), &MeasurementToolsBar(), &WarpingToolsBar()};
}

} // namespace halvera
