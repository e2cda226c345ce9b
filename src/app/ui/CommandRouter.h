#pragma once

#include "view/ui/CommandTarget.h"

#include <QList>
#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace halvera {

// Routes commands along a chain of targets (the active view, its document,
// the child frame, the main frame, the application): the first target that
// knows the command runs it or says its state. A command no target knows is
// disabled, so commands of subsystems not built stay visible and greyed.
//
// Menu items, toolbar buttons and accelerators are QActions bound to a
// command id; they all go through dispatch(), and refresh() shows the state.
class CommandRouter {
public:
    using Chain = std::function<std::vector<CommandTarget*>()>;

    explicit CommandRouter(Chain chain);

    // The state of command `id` as the first target that knows it says.
    CommandState state(int id) const;
    // Runs command `id` when it is enabled; false when it was not run.
    bool dispatch(int id) const;

    // Makes `action` give command `id` when triggered.
    void bind(QAction* action, int id) const;
    // The command id an action was bound to, or 0.
    static int boundId(const QAction* action);

    // Shows the current state on the bound actions.
    void refresh(QAction* action) const;
    void refresh(const QList<QAction*>& actions) const;
    // Refreshes a menu's items each time it opens (its submenus too).
    void refreshOnShow(QMenu* menu) const;

private:
    Chain chain_;
};

} // namespace halvera
