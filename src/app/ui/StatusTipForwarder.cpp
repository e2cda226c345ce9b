#include "app/ui/StatusTipForwarder.h"

#include <QCoreApplication>
#include <QCursor>
#include <QStatusTipEvent>
#include <QWidget>

namespace halvera {

StatusTipForwarder::StatusTipForwarder(QObject* watched, QObject* target)
    : QObject(watched), target_(target) {
    watched->installEventFilter(this);
}

bool StatusTipForwarder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::StatusTip)
        return QObject::eventFilter(watched, event);
    // A prompt only while the pointer is really over the window: a window
    // system may report an enter when a window is merely shown.
    const auto* window = qobject_cast<QWidget*>(watched);
    const bool prompt = !static_cast<QStatusTipEvent*>(event)->tip().isEmpty();
    if (!prompt || !window || window->frameGeometry().contains(QCursor::pos()))
        QCoreApplication::sendEvent(target_, event);
    return true;
}

} // namespace halvera
