#pragma once

#include <QWidget>
#include <vector>

class QScrollBar;

namespace halvera {

class CMavDoc;

// The "Index image" panel: a strip of thumbnails of every open image with its
// title and size, the active image framed in red. A click activates that
// image's window; the scroll bar moves along the strip. Closing the panel
// only hides it.
class CIndexImagePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 110;
    // The height of the strip of cells; the scroll bar lies below it.
    static constexpr int kClientHeight = 120;

    explicit CIndexImagePanel(QWidget* parent = nullptr);

    // The open images, in the order their windows were created.
    void setDocuments(std::vector<const CMavDoc*> documents);
    const std::vector<const CMavDoc*>& documents() const { return documents_; }

    // Marks `document` as the active image and scrolls it into view.
    void selectDocument(const CMavDoc* document);
    int activeIndex() const { return active_; }
    int firstVisible() const { return first_; }

    // Geometry of the strip, in the panel's pixels.
    int cellWidth() const;
    int visibleCells() const;
    QRect cellRect(int visibleIndex) const;
    QScrollBar* scrollBar() const { return scrollBar_; }

signals:
    // The user clicked the thumbnail of `document`.
    void documentActivated(const CMavDoc* document);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int stripHeight() const;
    void updateScrollBar();
    void paintCell(QPainter& painter, const QRect& cell, const CMavDoc& document, bool active);

    QScrollBar* scrollBar_;
    std::vector<const CMavDoc*> documents_;
    int active_ = -1;
    int first_ = 0;
};

} // namespace halvera
