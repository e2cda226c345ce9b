#include "app/CommandTable.h"

#include "view/CommandIds.h"

#include <algorithm>
#include <array>

namespace halvera {

namespace {

// Texts of the commands, "status prompt\ntooltip". The spellings are the
// program's own and stay as they are.
constexpr std::array kCommands{
    // File and application
    CommandInfo{kIdFileNew, "Create a new image\nNew"},
    CommandInfo{kIdFileOpen, "Open an existing image\nOpen"},
    CommandInfo{kIdFileClose, "Close the active image\nClose"},
    CommandInfo{kIdFileSave, "Save the active image\nSave"},
    CommandInfo{kIdFileSaveAs, "Save the active image with a new name\nSave As"},
    CommandInfo{kIdFilePrintSetup, "Change the printer and printing options\nPrint Setup"},
    CommandInfo{kIdFilePrint, "Print the active image\nPrint"},
    CommandInfo{kIdFileMru1 + 0, "Open this image\nRecent file 1"},
    CommandInfo{kIdFileMru1 + 1, "Open this image\nRecent file 2"},
    CommandInfo{kIdFileMru1 + 2, "Open this image\nRecent file 3"},
    CommandInfo{kIdFileMru1 + 3, "Open this image\nRecent file 4"},
    CommandInfo{kIdAppAbout, "Display program information\nAbout"},
    CommandInfo{kIdAppExit, "Quit the application; prompts to save images\nExit"},
    CommandInfo{kIdScanImage, "Scan Image\nScan Image"},
    CommandInfo{kIdSelectScanner, "Select scanner\nSelect scanner"},
    CommandInfo{kIdSignSetting, "Sign size, color... set\nSet sign size..."},

    // Edit
    CommandInfo{kIdEditCopy, "Copy the selection and put it on the Clipboard\nCopy"},
    CommandInfo{kIdEditCut, "Cut the selection and put it on the Clipboard\nCut"},
    CommandInfo{kIdEditPaste, "Insert Clipboard contents\nPaste"},
    CommandInfo{kIdEditUndo, "Undo the last action\nUndo"},
    CommandInfo{kIdEditRedo, "Redo the previously undone action\nRedo"},
    CommandInfo{kIdRoiClear, "ROI clear\nROI clear"},
    CommandInfo{kIdCrop, "Crop\nCrop"},

    // Tool box
    CommandInfo{kIdLassoTool, "Lasso tool\nLasso tool"},
    CommandInfo{kIdRectMarqueeTool, "Rectangular marquee tool\nRectangular marquee tool"},
    CommandInfo{kIdEllipseMarqueeTool, "Elliptical marquee tool\nElliptical marquee tool"},
    CommandInfo{kIdRoiCutTool, "ROI cut tool\nROI cut tool"},
    CommandInfo{kIdMagnifierTool, "Magnifying glass\nMagnifying glass"},
    CommandInfo{kIdZoomTool, "Zoom in or out of the image\nZoom Tool"},
    CommandInfo{kIdPencilTool, "Pencil tool\nPencil tool"},
    CommandInfo{kIdLineTool, "Draw line on the image\nLine tool"},
    CommandInfo{kIdEllipseTool, "Draw ellipes on the image\nEllipse tool"},
    CommandInfo{kIdFilledEllipseTool, "Filled ellipse\nFilled ellipse"},
    CommandInfo{kIdRectangleTool, "Rectangle tool\nRectangle tool"},
    CommandInfo{kIdFilledRectangleTool, "Filled rectangle\nFilled rectangle"},
    CommandInfo{kIdPolygonTool, "Polygonal tool\nPolygonal tool"},
    CommandInfo{kIdFilledPolygonTool, "Filled polygon\nFilled polygon"},
    CommandInfo{kIdFillTool, "Fill tool\nFill tool"},
    CommandInfo{kIdTextTool, "Add text on the image\nText tool"},
    CommandInfo{kIdRulerSignTool, "Add ruler sign on the image \nRuler sign tool"},
    CommandInfo{kIdArrowSignTool, "Add arrow sign on the image\nArrow sign tool"},
    CommandInfo{kIdEyedropperTool, "Eyedropper tool\nEyedropper tool"},

    // Image
    CommandInfo{kIdInvert, "Invert\nInvert"},
    CommandInfo{kIdGrayscale, "Convert to grayscale\nGrayscale"},
    CommandInfo{kIdShadeCorrection1, "Shade correction"},
    CommandInfo{kIdShadeCorrection2, "Shade correction"},
    CommandInfo{kIdShadeCorrection3, "Shade correction"},
    CommandInfo{kIdReferenceImage, "Build reference image"},
    CommandInfo{kIdFieldShadeCorrection, "Shade correction"},
    CommandInfo{kIdSmoothAverage, "Average\nAverage"},
    CommandInfo{kIdSmoothMedian, "Mdian smooth\nMedian smooth"},
    CommandInfo{kIdSmoothLowPass, "Low pass smooth\nLow pass smooth"},
    CommandInfo{kIdEdgeRoberts, "Roberts edge detection\nRoberts edge detection"},
    CommandInfo{kIdEdgeSobel, "Sobel  edge detection\nSobel  edge detection"},
    CommandInfo{kIdEdgeLaplace, "Laplician  edge detection\nLaplician  edge detection"},
    CommandInfo{kIdEdgeKirsch, "Kirsch edge detection\nKirsch edge detection"},
    CommandInfo{kIdEdgePrewitt, "Prewitt edge detection\nPrewitt edge detection"},
    CommandInfo{kIdEdgeHorizontal, "Horizontal edge detection\nHorizontal edge detection"},
    CommandInfo{kIdEdgeVertical, "Vertical edge detection\nVertical edge detection"},
    CommandInfo{kIdEdgeUpRight, "Up right edge detection\nUp right edge detection"},
    CommandInfo{kIdEdgeDownLeft, "Down left edge detection\nDown left edge detection"},
    CommandInfo{kIdArithmetic, "Image arithmetic"},
    CommandInfo{kIdColorBalance, "Color balance\nColor balance"},
    CommandInfo{kIdBrightnessContrast, "Brightness/Contrast adjust\nBrightness/Contrast"},
    CommandInfo{kIdHueSaturation, "Hue/Satuation\nHue/Satuation..."},

    // Warping
    CommandInfo{kIdHorizontalFlip, "Horizontal flip\nHorizontal flip"},
    CommandInfo{kIdVerticalFlip, "Vertical flip\nVertical flip"},
    CommandInfo{kIdZoomTransform, "Zoom transform\nZoom transform"},
    CommandInfo{kIdRotate, "Rotate transform \nRotate"},
    CommandInfo{kIdFreeTransform, "Free transform\nFree transform"},
    CommandInfo{kIdNetWarping, "Net warping\nNet warping"},

    // Measurement
    CommandInfo{kIdMeasurePoint, "Point measurement\nPoint measurement"},
    CommandInfo{kIdAdjustPoint, "Adjust point position\nAdjust point position"},
    CommandInfo{kIdMeasurePointToPoint, "Point to point measurement\nPoint to point measurement"},
    CommandInfo{kIdMeasureLine, "Line data measurement\nLine data measurement"},
    CommandInfo{kIdAdjustLine, "Adjust line position\nAdjust line position"},
    CommandInfo{kIdMeasureCircle, "Circle measurement\nCircle measurement"},
    CommandInfo{kIdMeasureThreePointCircle, "Fit circle measurement\nFit circle measurement"},
    CommandInfo{kIdAdjustCircle, "Adjust circle position\nAdjust circle position"},
    CommandInfo{kIdMeasureRectangle, "Rectangle measurement\nRectangle measurement"},
    CommandInfo{kIdAdjustRectangle, "Adjust rectangle position\nAdjust rectangle position"},
    CommandInfo{kIdMeasureAngle, "Angle measurement\nAngle measurement"},
    CommandInfo{kIdAdjustAngle, "Adjust angle\nAdjust angle"},
    CommandInfo{kIdMeasureWidth,
                "Width between the first and last edge a drag crosses\nWidth measurement"},
    CommandInfo{kIdSnapToEdges, "Place measurement clicks on the edges near them\nSnap to edges"},
    CommandInfo{kIdMeasureSetColor, "Adjust color\nAdjust color"},
    CommandInfo{kIdGraphMerge, "Image measurement graph merge\nImage measurement graph merge"},
    CommandInfo{kIdGraphBuild, "Build measurement graph\nBuild measurement graph"},
    CommandInfo{kIdClearMeasuredData, "Clear measured data\nClear measured data"},
    CommandInfo{kIdSaveMeasurements,
                "Write the measurements beside the picture\nSave measurements"},
    CommandInfo{kIdGraphPrint, "Print measurement graph\nPrint measurement graph"},
    CommandInfo{kIdSaveAsRecipe,
                "Save the measured items as a recipe to run on other images\nSave as recipe"},
    CommandInfo{kIdRunRecipe, "Run a recipe on this image or on picture files\nRun recipe"},

    // Setting
    CommandInfo{kIdSelectVideoSource, "Video source selection\nVideo source selection"},
    CommandInfo{kIdSetCaptureTimeLimit, "Set capture time limit\nSet capture time limit"},
    CommandInfo{kIdSetCaptureFileName, "Set capture file name\nSet capture file name"},
    CommandInfo{kIdSetCaptureRate, "Set capture rate(fps)\nSet capture rate(fps)"},
    CommandInfo{kIdSetPlayRate, "Set playback rate\nSet playback rate)"},
    CommandInfo{kIdDimensionCalibration, "Dimension calibration\nCalibration"},
    CommandInfo{kIdUseOwnCalibration,
                "Make the calibration the picture or its measurements carry the one in force\n"
                "Use the picture's calibration"},
    CommandInfo{kIdProgramSettings, "Program settings: undo memory\nSettings"},

    // Video
    CommandInfo{kIdPreview, "Preview\nPreview"},
    CommandInfo{kIdPausePreview, "Pause preview\nPause preview"},
    CommandInfo{kIdQuitPreview, "Quit preview\nEnd preview"},
    CommandInfo{kIdPreviewSnap, "Capure a frame\nSnap"},
    CommandInfo{kIdVideoFilter, "Video preview filter\nVideo filter"},
    CommandInfo{kIdCaptureToDisc, "Capture to the disc\nCapture to disc"},
    CommandInfo{kIdPauseCapture, "Capture pause\nPause capture"},
    CommandInfo{kIdQuitCapture, "Quit capture\nEnd capture"},
    CommandInfo{kIdOpenPlayFile, "Select play file\nSelect play file"},
    CommandInfo{kIdPlaySnap, "Capure a frame\nSnap"},
    CommandInfo{kIdPlayRun, "Start play\nStart play"},
    CommandInfo{kIdPlayPause, "Pause play\nPause play"},
    CommandInfo{kIdPlayToStart, "Backward to start\nTo start"},
    CommandInfo{kIdPlayPrevFrame, "Backward play a frame\nprevious frame"},
    CommandInfo{kIdPlayNextFrame, "Forward play a frame\nNext frame"},
    CommandInfo{kIdPlayToEnd, "Forward to the end\nTo end"},
    CommandInfo{kIdPlayRestart, "Restart play\nRestart"},
    CommandInfo{kIdQuitPlay, "Quit play\nEnd play"},

    // View
    CommandInfo{kIdViewToolbar, "Show or hide the main toolbar\nToggle Toolbar"},
    CommandInfo{kIdViewStatusBar, "Show or hide the status bar\nToggle Status Bar"},
    CommandInfo{kIdViewToolBox, "Show or hide the tool box\nToggle Tool Box"},
    CommandInfo{kIdViewWarpingToolbar, "Show or hide the warping toolbar\nToggle Warping toolbar"},
    CommandInfo{kIdViewMeasurementToolbar,
                "Show or hide the measurement toolbar\nToggle Measurement toolbar"},
    CommandInfo{kIdViewDataPanel, "Show or hide the measurement data panel\nToggle Data panel"},
    CommandInfo{kIdViewVideoToolbar, "Show or hide the video toolbars\nToggle Video toolbar"},
    CommandInfo{kIdViewIndexPanel, "Show or hide the index image panel\nToggle Index image panel"},

    // Window
    CommandInfo{kIdWindowArrange, "Arrange icons at the bottom of the window\nArrange Icons"},
    CommandInfo{kIdWindowCascade, "Arrange windows so they overlap\nCascade Windows"},
    CommandInfo{kIdWindowTileHorz, "Arrange windows as non-overlapping tiles\nTile Windows"},
    CommandInfo{kIdWindowTileVert, "Arrange windows side by side\nTile Windows"},
    CommandInfo{kIdWindowMaximize, "Maximize the active image window\nMaximize"},
    CommandInfo{kIdNextPane, "Switch to the next image window\nNext Pane"},
    CommandInfo{kIdPrevPane, "Switch back to the previous image window\nPrevious Pane"},
};

constexpr auto kSortedCommands = [] {
    auto sorted = kCommands;
    std::sort(sorted.begin(), sorted.end(),
              [](const CommandInfo& a, const CommandInfo& b) { return a.id < b.id; });
    return sorted;
}();

} // namespace

std::span<const CommandInfo> AllCommandInfos() {
    return kSortedCommands;
}

std::string_view CommandText(int id) {
    auto found =
        std::lower_bound(kSortedCommands.begin(), kSortedCommands.end(), id,
                         [](const CommandInfo& info, int wanted) { return info.id < wanted; });
    if (found == kSortedCommands.end() || found->id != id)
        return {};
    return found->text;
}

std::string_view CommandPrompt(int id) {
    std::string_view text = CommandText(id);
    return text.substr(0, text.find('\n'));
}

std::string_view CommandTooltip(int id) {
    std::string_view text = CommandText(id);
    std::size_t newline = text.find('\n');
    return newline == std::string_view::npos ? text : text.substr(newline + 1);
}

} // namespace halvera
