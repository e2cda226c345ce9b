#include "app/StatusTipForwarder.h"

#include <QCoreApplication>
#include <QEvent>

namespace halvera {

StatusTipForwarder::StatusTipForwarder(QObject* watched, QObject* target)
    : QObject(watched), target_(target) {
    watched->installEventFilter(this);
}

bool StatusTipForwarder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::StatusTip)
        return QObject::eventFilter(watched, event);
    QCoreApplication::sendEvent(target_, event);
    return true;
}

} // namespace halvera
