#pragma once

#include <QDialog>
#include <functional>

class QSpinBox;

namespace halvera {

class CMavDoc;
class CNetWarpPreview;

// The "Warping" dialog of the net-warping command: a net of nodes over a
// preview of the active image; dragging a node bends the image around it.
// The command has copied the image into the working copy and recorded the
// undo before-state; every render reads the working copy. OK keeps the image;
// Cancel is handled by the command, which restores it and drops the step.
class CNetWarpDialog : public QDialog {
public:
    CNetWarpDialog(CMavDoc& doc, std::function<void()> repaintView, QWidget* parent = nullptr);

    CNetWarpPreview* preview() const { return preview_; }
    QSpinBox* widthBox() const { return width_; }
    QSpinBox* heightBox() const { return height_; }

    // "Reset", or a new net size: the image from the working copy, a fresh grid.
    void Restart();

private:
    CMavDoc& doc_;
    std::function<void()> repaintView_;
    CNetWarpPreview* preview_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
};

} // namespace halvera
