#pragma once

#include "view/ui/CommandTarget.h"

#include <functional>
#include <unordered_map>

namespace halvera {

// The command table of one class: command id -> handler and optional updater.
// A class that takes commands builds one static table and answers
// CommandTarget through it:
//
//   const CommandMap<CMainFrame>& CMainFrame::Commands() {
//       static const auto map = CommandMap<CMainFrame>()
//           .add(kIdViewToolbar, &CMainFrame::onViewToolbar, &CMainFrame::onUpdateViewToolbar)
//           .add(kIdWindowCascade, &CMainFrame::onWindowCascade);
//       return map;
//   }
//   bool CMainFrame::onCommand(int id) { return Commands().dispatch(*this, id); }
//   bool CMainFrame::onUpdateCommand(int id, CommandState& s) { return Commands().update(*this, id,
//   s); }
//
// A command with a handler and no updater is always enabled. A later
// subsystem adds its commands by adding entries; nothing else changes.
template <class Owner> class CommandMap {
public:
    using Handler = std::function<void(Owner&)>;
    using Updater = std::function<void(Owner&, CommandState&)>;
    using RangeHandler = std::function<void(Owner&, int id)>;
    using RangeUpdater = std::function<void(Owner&, int id, CommandState&)>;

    CommandMap& add(int id, Handler handler, Updater updater = {}) {
        entries_[id] =
            Entry{[handler](Owner& owner, int) { handler(owner); },
                  updater ? RangeUpdater([updater](Owner& owner, int, CommandState& state) {
                      updater(owner, state);
                  })
                          : RangeUpdater()};
        return *this;
    }

    // One handler and updater for the ids first..last (inclusive), told which id came.
    CommandMap& addRange(int first, int last, RangeHandler handler, RangeUpdater updater = {}) {
        for (int id = first; id <= last; ++id)
            entries_[id] = Entry{handler, updater};
        return *this;
    }

    bool handles(int id) const { return entries_.count(id) != 0; }

    // Runs the handler of `id`; false when the table has none.
    bool dispatch(Owner& owner, int id) const {
        auto found = entries_.find(id);
        if (found == entries_.end())
            return false;
        found->second.handler(owner, id);
        return true;
    }

    // Fills `state` for `id`; false when the table has no entry for it.
    bool update(Owner& owner, int id, CommandState& state) const {
        auto found = entries_.find(id);
        if (found == entries_.end())
            return false;
        state.enabled = true;
        if (found->second.updater)
            found->second.updater(owner, id, state);
        return true;
    }

private:
    struct Entry {
        RangeHandler handler;
        RangeUpdater updater;
    };
    std::unordered_map<int, Entry> entries_;
};

} // namespace halvera
