#include "app/ui/CommandRouter.h"

#include <QAction>
#include <QMenu>

namespace halvera {

CommandRouter::CommandRouter(Chain chain) : chain_(std::move(chain)) {}

CommandState CommandRouter::state(int id) const {
    for (CommandTarget* target : chain_()) {
        CommandState state;
        if (target && target->onUpdateCommand(id, state))
            return state;
    }
    return CommandState{false, false, std::nullopt};
}

bool CommandRouter::dispatch(int id) const {
    if (!state(id).enabled)
        return false;
    for (CommandTarget* target : chain_()) {
        if (target && target->onCommand(id))
            return true;
    }
    return false;
}

void CommandRouter::bind(QAction* action, int id) const {
    action->setData(id);
    // Queued, so a command that closes the window the menu belongs to does
    // not delete the action while it is still delivering its signal.
    QObject::connect(
        action, &QAction::triggered, action, [this, id] { dispatch(id); }, Qt::QueuedConnection);
}

int CommandRouter::boundId(const QAction* action) {
    bool ok = false;
    const int id = action->data().toInt(&ok);
    return ok ? id : 0;
}

void CommandRouter::refresh(QAction* action) const {
    const int id = boundId(action);
    if (id == 0)
        return;
    const CommandState current = state(id);
    action->setEnabled(current.enabled);
    // Any item can show a check mark; it becomes checkable the first time.
    if (current.checked)
        action->setCheckable(true);
    if (action->isCheckable())
        action->setChecked(current.checked);
    if (current.text)
        action->setText(*current.text);
}

void CommandRouter::refresh(const QList<QAction*>& actions) const {
    for (QAction* action : actions)
        refresh(action);
}

void CommandRouter::refreshOnShow(QMenu* menu) const {
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] { refresh(menu->actions()); });
    for (QAction* action : menu->actions()) {
        if (QMenu* submenu = action->menu())
            refreshOnShow(submenu);
    }
}

} // namespace halvera
