#pragma once

// Command identifiers shared by menu items, toolbar buttons and keyboard
// accelerators. The numbers are part of the program's command protocol:
// every subsystem's handlers and updaters are registered under them.

namespace halvera {

// File
inline constexpr int kIdFileNew = 57600;
inline constexpr int kIdFileOpen = 57601;
inline constexpr int kIdFileClose = 57602;
inline constexpr int kIdFileSave = 57603;
inline constexpr int kIdFileSaveAs = 57604;
inline constexpr int kIdFilePrintSetup = 57606;
inline constexpr int kIdFilePrint = 57607;
inline constexpr int kIdFileMru1 = 57616; // the recent-file list: 57616..57619
inline constexpr int kRecentFileCount = 4;
inline constexpr int kIdAppAbout = 57664;
inline constexpr int kIdAppExit = 57665;

// Scanner and sign settings (application commands)
inline constexpr int kIdScanImage = 32772;
inline constexpr int kIdSelectScanner = 32958;
inline constexpr int kIdSignSetting = 32934;

// Edit
inline constexpr int kIdEditCopy = 57634;
inline constexpr int kIdEditCut = 57635;
inline constexpr int kIdEditPaste = 57637;
inline constexpr int kIdEditUndo = 57643;
inline constexpr int kIdEditRedo = 57644;
inline constexpr int kIdRoiClear = 32891;
inline constexpr int kIdCrop = 32781;

// Tool box
inline constexpr int kIdLassoTool = 32887;
inline constexpr int kIdRectMarqueeTool = 32888;
inline constexpr int kIdEllipseMarqueeTool = 32889;
inline constexpr int kIdRoiCutTool = 32890;
inline constexpr int kIdMagnifierTool = 32953;
inline constexpr int kIdZoomTool = 32771;
inline constexpr int kIdPencilTool = 32843;
inline constexpr int kIdLineTool = 32841;
inline constexpr int kIdEllipseTool = 32842;
inline constexpr int kIdFilledEllipseTool = 32945;
inline constexpr int kIdRectangleTool = 32846;
inline constexpr int kIdFilledRectangleTool = 32943;
inline constexpr int kIdPolygonTool = 32845;
inline constexpr int kIdFilledPolygonTool = 32944;
inline constexpr int kIdFillTool = 32844;
inline constexpr int kIdTextTool = 32829;
inline constexpr int kIdRulerSignTool = 32827;
inline constexpr int kIdArrowSignTool = 32828;
inline constexpr int kIdEyedropperTool = 32947;

// Image
inline constexpr int kIdInvert = 32892;
inline constexpr int kIdGrayscale = 32817;
inline constexpr int kIdShadeCorrection1 = 32877;
inline constexpr int kIdShadeCorrection2 = 32881;
inline constexpr int kIdShadeCorrection3 = 32882;
inline constexpr int kIdReferenceImage = 33132;
inline constexpr int kIdFieldShadeCorrection = 33131;
inline constexpr int kIdSmoothAverage = 32905;
inline constexpr int kIdSmoothMedian = 32908;
inline constexpr int kIdSmoothLowPass = 33028;
inline constexpr int kIdEdgeRoberts = 32960;
inline constexpr int kIdEdgeSobel = 32962;
inline constexpr int kIdEdgeLaplace = 32963;
inline constexpr int kIdEdgeKirsch = 32964;
inline constexpr int kIdEdgePrewitt = 32965;
inline constexpr int kIdEdgeHorizontal = 32966;
inline constexpr int kIdEdgeVertical = 32967;
inline constexpr int kIdEdgeUpRight = 32968;
inline constexpr int kIdEdgeDownLeft = 32969;
inline constexpr int kIdArithmetic = 32959;
inline constexpr int kIdColorBalance = 32894;
inline constexpr int kIdBrightnessContrast = 32895;
inline constexpr int kIdHueSaturation = 32956;

// Warping
inline constexpr int kIdHorizontalFlip = 33036;
inline constexpr int kIdVerticalFlip = 33037;
inline constexpr int kIdZoomTransform = 33066;
inline constexpr int kIdRotate = 33065;
inline constexpr int kIdFreeTransform = 33068;
inline constexpr int kIdNetWarping = 33374;

// Measurement
inline constexpr int kIdMeasurePoint = 33377;
inline constexpr int kIdAdjustPoint = 33384;
inline constexpr int kIdMeasurePointToPoint = 33385;
inline constexpr int kIdMeasureLine = 33402;
inline constexpr int kIdAdjustLine = 33390;
inline constexpr int kIdMeasureCircle = 33408;
inline constexpr int kIdMeasureThreePointCircle = 33411;
inline constexpr int kIdAdjustCircle = 33394;
inline constexpr int kIdMeasureRectangle = 33382;
inline constexpr int kIdAdjustRectangle = 33396;
inline constexpr int kIdMeasureAngle = 33410;
inline constexpr int kIdAdjustAngle = 33397;
inline constexpr int kIdMeasureWidth = 33423;
inline constexpr int kIdSnapToEdges = 33424;
inline constexpr int kIdSaveMeasurements = 33425;
inline constexpr int kIdMeasureSetColor = 33398;
inline constexpr int kIdGraphMerge = 33419;
inline constexpr int kIdGraphBuild = 33418;
inline constexpr int kIdClearMeasuredData = 33422;
inline constexpr int kIdGraphPrint = 33399;
inline constexpr int kIdSaveAsRecipe = 33427;
inline constexpr int kIdRunRecipe = 33428;

// Setting
inline constexpr int kIdSelectVideoSource = 32986;
inline constexpr int kIdSetCaptureTimeLimit = 32998;
inline constexpr int kIdSetCaptureFileName = 33000;
inline constexpr int kIdSetCaptureRate = 32999;
inline constexpr int kIdSetPlayRate = 32990;
inline constexpr int kIdDimensionCalibration = 32907;
inline constexpr int kIdUseOwnCalibration = 33426;
inline constexpr int kIdProgramSettings = 33429;

// Video: preview
inline constexpr int kIdPreview = 33087;
inline constexpr int kIdPausePreview = 33088;
inline constexpr int kIdQuitPreview = 33090;
inline constexpr int kIdPreviewSnap = 33091;
inline constexpr int kIdVideoFilter = 33102;
// Video: capture
inline constexpr int kIdCaptureToDisc = 33093;
inline constexpr int kIdPauseCapture = 33016;
inline constexpr int kIdQuitCapture = 33084;
// Video: playback
inline constexpr int kIdOpenPlayFile = 33033;
inline constexpr int kIdPlaySnap = 33048;
inline constexpr int kIdPlayRun = 33040;
inline constexpr int kIdPlayPause = 33041;
inline constexpr int kIdPlayToStart = 33054;
inline constexpr int kIdPlayPrevFrame = 33039;
inline constexpr int kIdPlayNextFrame = 33043;
inline constexpr int kIdPlayToEnd = 33053;
inline constexpr int kIdPlayRestart = 33057;
inline constexpr int kIdQuitPlay = 33044;

// View (bar and panel toggles)
inline constexpr int kIdViewToolbar = 59392;
inline constexpr int kIdViewStatusBar = 59393;
inline constexpr int kIdViewToolBox = 32952;
inline constexpr int kIdViewWarpingToolbar = 32970;
inline constexpr int kIdViewMeasurementToolbar = 33407;
inline constexpr int kIdViewDataPanel = 33362;
inline constexpr int kIdViewVideoToolbar = 33001;
inline constexpr int kIdViewIndexPanel = 33105;

// Window
inline constexpr int kIdWindowArrange = 57649;
inline constexpr int kIdWindowCascade = 57650;
inline constexpr int kIdWindowTileHorz = 57651;
inline constexpr int kIdWindowTileVert = 57652;
inline constexpr int kIdWindowMaximize = 33104;
inline constexpr int kIdNextPane = 57680; // F6
inline constexpr int kIdPrevPane = 57681; // Shift+F6
// The Window menu's list of open image windows: one id per entry from here on.
inline constexpr int kIdWindowFirstChild = 65280;
inline constexpr int kWindowListMax = 9;

} // namespace halvera
