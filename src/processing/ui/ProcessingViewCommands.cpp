#include "processing/ui/ProcessingViewCommands.h"

#include "processing/ProcessingCommands.h"
#include "processing/ui/BrightnessContrastDlg.h"
#include "processing/ui/ColorBalanceDlg.h"
#include "processing/ui/HueSaturationDlg.h"
#include "view/ui/MavView.h"

namespace halvera {

namespace {

// The image-command frame around one of the shared commands.
template <class Command> void RunOnView(CMavView& view, Command command) {
    view.endTool();
    view.startOutlineTimer();
    command(view.document(), view.selection());
    view.repaintView();
    view.repaintIndexPanel();
}

void Smooth(CMavView& view, SmoothingFilter filter) {
    RunOnView(view, [filter](CMavDoc& doc, SelectionRecord& selection) {
        RunSmoothingCommand(doc, selection, filter);
    });
}

void DetectEdges(CMavView& view, EdgeFilter filter) {
    RunOnView(view, [filter](CMavDoc& doc, SelectionRecord& selection) {
        RunEdgeCommand(doc, selection, filter);
    });
}

// The dialog command: the view takes the working copy and the undo step, and
// undoes both unless the dialog ends with OK.
template <class Dialog> void RunAdjustment(CMavView& view) {
    view.runDialogCommand([&view] {
        Dialog dialog(
            view.document(), [&view] { view.repaintView(); }, &view);
        return dialog.exec() == QDialog::Accepted;
    });
}

} // namespace

void InvertCommand(CMavView& view) {
    RunOnView(view, &RunInvertCommand);
}
void GrayscaleCommand(CMavView& view) {
    RunOnView(view, &RunGrayscaleCommand);
}

void AverageCommand(CMavView& view) {
    Smooth(view, SmoothingFilter::Average);
}
void MedianCommand(CMavView& view) {
    Smooth(view, SmoothingFilter::Median);
}
void LowPassCommand(CMavView& view) {
    Smooth(view, SmoothingFilter::LowPass);
}

void RobertsCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::Roberts);
}
void SobelCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::Sobel);
}
void LaplaceCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::Laplace);
}
void KirschCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::Kirsch);
}
void PrewittCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::Prewitt);
}
void HorizontalEdgeCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::Horizontal);
}
void VerticalEdgeCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::Vertical);
}
void UpRightEdgeCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::UpRight);
}
void DownLeftEdgeCommand(CMavView& view) {
    DetectEdges(view, EdgeFilter::DownLeft);
}

void BrightnessContrastCommand(CMavView& view) {
    RunAdjustment<CBrightnessContrastDlg>(view);
}
void ColorBalanceCommand(CMavView& view) {
    RunAdjustment<CColorBalanceDlg>(view);
}
void HueSaturationCommand(CMavView& view) {
    RunAdjustment<CHueSaturationDlg>(view);
}

} // namespace halvera
