#pragma once

#include <QObject>

namespace halvera {

// Hands the status tips of a floating window's buttons (the "Tool" box) on to
// the main window, so their prompts show in the status bar on hover as the
// docked toolbars' do. Qt stops a status tip at the window it arose in, and a
// floating panel is a window of its own.
class StatusTipForwarder : public QObject {
public:
    // Forwards what reaches `watched` (and its children) to `target`.
    StatusTipForwarder(QObject* watched, QObject* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject* target_;
};

} // namespace halvera
