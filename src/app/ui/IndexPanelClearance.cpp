#include "app/ui/IndexPanelClearance.h"

#include "app/ui/ImageWindowArea.h"

#include <QEvent>
#include <QWidget>

namespace halvera {

IndexPanelClearance::IndexPanelClearance(QWidget* panel, CImageWindowArea* area)
    : QObject(area), panel_(panel), area_(area) {
    panel->installEventFilter(this);
    area->window()->installEventFilter(this);
}

int IndexPanelClearance::CoveredHeight(const QRect& area, const QRect& panel) {
    const bool besideHorizontally = panel.right() < area.left() || panel.left() > area.right();
    const bool besideVertically = panel.bottom() < area.top() || panel.top() > area.bottom();
    if (area.isEmpty() || panel.isEmpty() || besideHorizontally || besideVertically)
        return 0;
    const int covered = area.bottom() - panel.top() + 1;
    return covered <= area.height() / 2 ? covered : 0;
}

void IndexPanelClearance::update() {
    int covered = 0;
    if (panel_->isVisible() && area_->isVisible()) {
        const QRect area(area_->mapToGlobal(QPoint(0, 0)), area_->size());
        covered = CoveredHeight(area, panel_->frameGeometry());
    }
    if (covered != area_->bottomClearance())
        area_->setBottomClearance(covered);
}

bool IndexPanelClearance::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        update();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace halvera
