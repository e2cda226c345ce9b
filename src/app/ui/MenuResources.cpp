#include "app/ui/MenuResources.h"

#include "view/CommandIds.h"

namespace halvera {

namespace {

MenuItem Item(std::string_view text, int id) {
    return MenuItem{text, id, {}};
}
MenuItem Separator() {
    return MenuItem{};
}
MenuItem Popup(std::string_view text, std::vector<MenuItem> children) {
    return MenuItem{text, 0, std::move(children)};
}

// The Video menu reads the same with and without an image.
MenuItem VideoMenu() {
    return Popup("Vi&deo",
                 {
                     Popup("Preview",
                           {
                               Item("Preview          (&1)", kIdPreview),
                               Item("Pause preview    (&2)", kIdPausePreview),
                               Item("Quit preview     (&3)", kIdQuitPreview),
                               Separator(),
                               Item("Sanp             (&4)", kIdPreviewSnap),
                               Separator(),
                               Item("Video filter     (&5)", kIdVideoFilter),
                           }),
                     Separator(),
                     Popup("Capture",
                           {
                               Item("Capture to disc         (&1)", kIdCaptureToDisc),
                               Item("Pause capture           (&2)", kIdPauseCapture),
                               Item("Quit capture            (&3)", kIdQuitCapture),
                               Separator(),
                               Item("Set capture time limit  (&4)", kIdSetCaptureTimeLimit),
                               Item("Set capture file name   (&5)", kIdSetCaptureFileName),
                               Item("Set capture arte(fps)   (&6)", kIdSetCaptureRate),
                           }),
                     Separator(),
                     Popup("Play",
                           {
                               Item("Open play file  (&A)", kIdOpenPlayFile),
                               Item("Set play rate   (&B)", kIdSetPlayRate),
                               Item("Snap            (&C)", kIdPlaySnap),
                               Separator(),
                               Item("Run             (&D)", kIdPlayRun),
                               Item("Pause           (&E)", kIdPlayPause),
                               Item("To start        (&F)", kIdPlayToStart),
                               Item("Prev frame      (&G)", kIdPlayPrevFrame),
                               Item("Next frame      (&H)", kIdPlayNextFrame),
                               Item("To end          (&I)", kIdPlayToEnd),
                               Item("Restart         (&J)", kIdPlayRestart),
                               Item("Quit play       (&K)", kIdQuitPlay),
                           }),
                     Separator(),
                     Item("Select video source", kIdSelectVideoSource),
                 });
}

} // namespace

// The runs of blanks inside the texts line up the mnemonics in the menu's
// fixed-width look and are part of the texts.
const std::vector<MenuItem>& NoImageMenu() {
    static const std::vector<MenuItem> menu{
        Popup("&File",
              {
                  Item("&New\tCtrl+N", kIdFileNew),
                  Item("&Open...\tCtrl+O", kIdFileOpen),
                  Separator(),
                  Item("Scan", kIdScanImage),
                  Item("Select scanner", kIdSelectScanner),
                  Separator(),
                  Item("P&rint setup...", kIdFilePrintSetup),
                  Separator(),
                  Item("Recent File", kIdFileMru1),
                  Separator(),
                  Item("E&xit", kIdAppExit),
              }),
        VideoMenu(),
        Popup("&View",
              {
                  Item("Toolbar                (&A)", kIdViewToolbar),
                  Item("Status Bar             (&B)", kIdViewStatusBar),
                  Separator(),
                  Item("Tool Box               (&C)", kIdViewToolBox),
                  Separator(),
                  Item("Warp toolbar           (&D)", kIdViewWarpingToolbar),
                  Item("Measurement toolbar    (&E)", kIdViewMeasurementToolbar),
                  Item("Measurement data panel (&F)", kIdViewDataPanel),
                  Item("Video toolbar          (&G)", kIdViewVideoToolbar),
                  Item("Index image panel      (&H)", kIdViewIndexPanel),
              }),
        Popup("&Help",
              {
                  Item("&About Halvera...", kIdAppAbout),
              }),
    };
    return menu;
}

const std::vector<MenuItem>& ImageMenu() {
    static const std::vector<MenuItem> menu{
        Popup("&File",
              {
                  Item("&New\tCtrl+N", kIdFileNew),
                  Item("&Open...\tCtrl+O", kIdFileOpen),
                  Item("&Close", kIdFileClose),
                  Item("&Save\tCtrl+S", kIdFileSave),
                  Item("Save &As...", kIdFileSaveAs),
                  Separator(),
                  Item("Scan", kIdScanImage),
                  Item("Select scanner", kIdSelectScanner),
                  Separator(),
                  Item("&Print...\tCtrl+P", kIdFilePrint),
                  Separator(),
                  Item("Recent File", kIdFileMru1),
                  Separator(),
                  Item("E&xit", kIdAppExit),
              }),
        VideoMenu(),
        Popup("&Edit",
              {
                  Item("&Undo\tCtrl+Z", kIdEditUndo),
                  Item("&Redo\tCtrl+Y", kIdEditRedo),
                  Separator(),
                  Item("Cu&t\tCtrl+X", kIdEditCut),
                  Item("&Copy\tCtrl+C", kIdEditCopy),
                  Item("&Paste\tCtrl+V", kIdEditPaste),
                  Separator(),
                  Item("ROI clear", kIdRoiClear),
              }),
        Popup("&Image",
              {
                  Item("Invert                  (&A)", kIdInvert),
                  Item("Grayscale               (&B)", kIdGrayscale),
                  Separator(),
                  Popup("Shade correction        (&C)",
                        {
                            Item("Shade correction(1)", kIdShadeCorrection1),
                            Item("Shade correction(2)", kIdShadeCorrection2),
                            Item("Shade correction(3)", kIdShadeCorrection3),
                        }),
                  Popup("Field shade correction  (&D)",
                        {
                            Item("Reference image (&1)", kIdReferenceImage),
                            Item("Shade correction(&2)", kIdFieldShadeCorrection),
                        }),
                  Separator(),
                  Popup("Smooth                  (&E)",
                        {
                            Item("Average (&1)", kIdSmoothAverage),
                            Item("Median  (&2)", kIdSmoothMedian),
                            Item("Low pass(&3)", kIdSmoothLowPass),
                        }),
                  Popup("Edge detection          (&F)",
                        {
                            Item("Roberts         (&1)", kIdEdgeRoberts),
                            Item("Sobel           (&2)", kIdEdgeSobel),
                            Item("Laplace         (&3)", kIdEdgeLaplace),
                            Item("Kirsch          (&4)", kIdEdgeKirsch),
                            Item("Prewitt         (&5)", kIdEdgePrewitt),
                            Separator(),
                            Item("Horizontal edge (&6)", kIdEdgeHorizontal),
                            Item("Vertical edge   (&7)", kIdEdgeVertical),
                            Item("Up right edge   (&8)", kIdEdgeUpRight),
                            Item("Down left edge  (&9)", kIdEdgeDownLeft),
                        }),
                  Separator(),
                  Item("Arithmetic              (&G)", kIdArithmetic),
                  Separator(),
                  Item("Color balance           (&H)", kIdColorBalance),
                  Item("Brightness/Contrast     (&I)", kIdBrightnessContrast),
                  Item("Hue/Saturation          (&J)", kIdHueSaturation),
              }),
        Popup("W&arping",
              {
                  Item("Horizontal flip (&A)", kIdHorizontalFlip),
                  Item("Vertical flip   (&B)", kIdVerticalFlip),
                  Separator(),
                  Item("Zoom            (&C)", kIdZoomTransform),
                  Item("Rotate          (&D)", kIdRotate),
                  Item("Free transform  (&E)", kIdFreeTransform),
                  Separator(),
                  Item("Net warping     (&F)", kIdNetWarping),
              }),
        Popup("&Measurement",
              {
                  Item("Point              (&A)", kIdMeasurePoint),
                  Item("Adjust point       (&B)", kIdAdjustPoint),
                  Item("Point to point     (&C)", kIdMeasurePointToPoint),
                  Separator(),
                  Item("Line               (&D)", kIdMeasureLine),
                  Item("Adjust line        (&E)", kIdAdjustLine),
                  Separator(),
                  Item("Circle             (&F)", kIdMeasureCircle),
                  Item("Three point circle (&G)", kIdMeasureThreePointCircle),
                  Item("Adjust circle      (&H)", kIdAdjustCircle),
                  Separator(),
                  Item("Rectangle          (&I)", kIdMeasureRectangle),
                  Item("Adjust rectangle   (&J)", kIdAdjustRectangle),
                  Separator(),
                  Item("Angle              (&K)", kIdMeasureAngle),
                  Item("Adjust angle       (&L)", kIdAdjustAngle),
                  Separator(),
                  Item("Width              (&R)", kIdMeasureWidth),
                  Item("Snap to edges      (&S)", kIdSnapToEdges),
                  Separator(),
                  Item("Set color          (&M)", kIdMeasureSetColor),
                  Separator(),
                  Item("Merge              (&N)", kIdGraphMerge),
                  Item("Build graph        (&O)", kIdGraphBuild),
                  Item("Clear data         (&P)", kIdClearMeasuredData),
                  Item("Save measurements  (&T)", kIdSaveMeasurements),
                  Separator(),
                  Item("Print graph        (&Q)", kIdGraphPrint),
                  Separator(),
                  Item("Save as recipe…    (&T)", kIdSaveAsRecipe),
                  Item("Run recipe…        (&U)", kIdRunRecipe),
              }),
        Popup("&Setting",
              {
                  Item("Select video source    (&A)", kIdSelectVideoSource),
                  Separator(),
                  Item("Set capture time limit (&B)", kIdSetCaptureTimeLimit),
                  Item("Set capture file name  (&C)", kIdSetCaptureFileName),
                  Item("Set capture rate(fps)  (&D)", kIdSetCaptureRate),
                  Separator(),
                  Item("Set play rate          (&E)", kIdSetPlayRate),
                  Separator(),
                  Item("Dimension calibration  (&F)", kIdDimensionCalibration),
                  Item("Use the picture's calibration (&G)", kIdUseOwnCalibration),
                  Separator(),
                  Item("Settings...            (&H)", kIdProgramSettings),
              }),
        Popup("&View",
              {
                  Item("Toolbar             (&A)", kIdViewToolbar),
                  Item("Status bar          (&B)", kIdViewStatusBar),
                  Separator(),
                  Item("Toolbox             (&C)", kIdViewToolBox),
                  Separator(),
                  Item("Warping toolbar     (&D)", kIdViewWarpingToolbar),
                  Item("Measurment toolbar  (&E)", kIdViewMeasurementToolbar),
                  Item("Data panel          (&F)", kIdViewDataPanel),
                  Item("Video toolbar       (&G)", kIdViewVideoToolbar),
                  Item("Index image panel   (&H)", kIdViewIndexPanel),
              }),
        Popup("&Window",
              {
                  Item("Cascade     (&A)", kIdWindowCascade),
                  Item("Tile Horz   (&B)", kIdWindowTileHorz),
                  Item("Tile vert   (&C)", kIdWindowTileVert),
                  Item("Maximize    (&D)", kIdWindowMaximize),
                  Item("Arrange     (&E)", kIdWindowArrange),
              }),
        Popup("&Help",
              {
                  Item("&About Halvera...", kIdAppAbout),
              }),
    };
    return menu;
}

} // namespace halvera
