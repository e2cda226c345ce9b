#include "view/ui/AnnotationCommands.h"

#include "document/MavDoc.h"
#include "view/ui/ArrowSignTool.h"
#include "view/ui/FillTool.h"
#include "view/ui/LineTool.h"
#include "view/ui/MavView.h"
#include "view/ui/PencilTool.h"
#include "view/ui/PolygonTool.h"
#include "view/ui/RulerSignTool.h"
#include "view/ui/ShapeTools.h"
#include "view/ui/TextTool.h"

namespace halvera {

namespace {

template <class Tool, class... Args> void StartAnnotation(CMavView& view, Args... args) {
    view.startTool(
        OutlineAnimation::Start, ToolMode::Annotation,
        [&] { return std::make_unique<Tool>(args...); }, true);
}

} // namespace

void StartPencilTool(CMavView& view) {
    StartAnnotation<CPencilTool>(view);
}

void StartLineTool(CMavView& view) {
    StartAnnotation<CLineTool>(view);
}

void StartRectangleTool(CMavView& view) {
    StartAnnotation<CRectangleTool>(view, ShapeStyle::Outline);
}

void StartFilledRectangleTool(CMavView& view) {
    StartAnnotation<CRectangleTool>(view, ShapeStyle::Filled);
}

void StartEllipseTool(CMavView& view) {
    StartAnnotation<CEllipseTool>(view, ShapeStyle::Outline);
}

void StartFilledEllipseTool(CMavView& view) {
    StartAnnotation<CEllipseTool>(view, ShapeStyle::Filled);
}

void StartPolygonTool(CMavView& view) {
    StartAnnotation<CPolygonTool>(view, ShapeStyle::Outline);
}

void StartFilledPolygonTool(CMavView& view) {
    StartAnnotation<CPolygonTool>(view, ShapeStyle::Filled);
}

void StartFillTool(CMavView& view) {
    StartAnnotation<CFillTool>(view);
}

void StartTextTool(CMavView& view) {
    view.startTool(
        OutlineAnimation::Start, ToolMode::Annotation,
        [&view] { return std::make_unique<CTextTool>(view); }, true);
}

void StartRulerSignTool(CMavView& view) {
    view.startTool(
        OutlineAnimation::Start, ToolMode::Annotation,
        [&view] { return std::make_unique<CRulerSignTool>(view); }, true);
}

void StartArrowSignTool(CMavView& view) {
    view.startTool(
        OutlineAnimation::Start, ToolMode::Annotation,
        [&view] { return std::make_unique<CArrowSignTool>(view.document().settings()); }, true);
}

void StartEyedropperTool(CMavView& view) {
    view.startTool(OutlineAnimation::Start, ToolMode::Viewing,
                   [] { return std::make_unique<CEyedropperTool>(); });
}

} // namespace halvera
