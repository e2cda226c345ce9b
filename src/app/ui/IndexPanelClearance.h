#pragma once

#include <QObject>
#include <QRect>

class QWidget;

namespace halvera {

class CImageWindowArea;

// Keeps the image windows clear of the index image panel: whenever the panel
// or the main window is shown, hidden, moved or resized, the image window
// area leaves free the strip along its bottom that the panel covers.
class IndexPanelClearance : public QObject {
public:
    IndexPanelClearance(QWidget* panel, CImageWindowArea* area);

    // The height at the bottom of `area` that `panel` (both in screen
    // coordinates) covers. 0 when the panel lies beside the area or covers
    // more than its lower half: a panel put over the middle of the area is
    // where the user wants it, and the windows keep their room.
    static int CoveredHeight(const QRect& area, const QRect& panel);

    // Applies the clearance for the panel's place now.
    void update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* panel_;
    CImageWindowArea* area_;
};

} // namespace halvera
