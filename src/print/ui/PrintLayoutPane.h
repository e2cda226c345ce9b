#pragma once

#include "image/DibImage.h"
#include "print/PrintLayout.h"
#include "print/ui/PrintTitle.h"

#include <QWidget>

namespace halvera {

// The page preview of the "Image Position Set" dialog: the paper as a white
// page scaled into the pane, the image stretched into its rectangle, the
// title, and the outline of the grabbed part (the image rectangle with its
// eight handle squares, or the title's rectangle). A press grabs the title,
// a handle, the body or nothing; dragging moves the title, or resizes or
// moves the image (proportionally unless Ctrl is held).
class CPrintLayoutPane : public QWidget {
    Q_OBJECT
public:
    CPrintLayoutPane(PrintLayout& layout, PrintTitle& title, const CDibImage& image,
                     QWidget* parent = nullptr);

    int grabbedPart() const { return grabbed_; }
    void setGrabbedPart(int part);
    // The page as drawn in the pane, for tests and the mouse mapping.
    PageView pageView() const;
    // Pane pixels to layout units and back (the paper extent onto the page).
    QPoint toLayout(QPoint pane) const;
    QPoint toPane(QPoint layout) const;

signals:
    // The image rectangle changed by a drag.
    void imageRectChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setCursorFor(int part);

    PrintLayout& layout_;
    PrintTitle& title_;
    CDibImage image_;
    int grabbed_ = kPartNone;
    QPoint last_;
};

} // namespace halvera
