#pragma once

#include "platform/UserPrompts.h"

#include <QDialog>
#include <vector>

class QPushButton;

namespace halvera {

// "Recover unsaved images": one row per copy left by a program that did not
// end cleanly, with the image's name, size and the time of the copy, and its
// own "Recover" and "Discard" buttons. The dialog closes by itself once every
// row is decided; "Close" leaves the undecided copies for the next start.
class CRecoveryDialog : public QDialog {
    Q_OBJECT
public:
    explicit CRecoveryDialog(const std::vector<RecoveryOffer>& offers, QWidget* parent = nullptr);

    // One choice per offer, Later for the rows not decided.
    const std::vector<RecoveryChoice>& choices() const { return choices_; }
    // The buttons of row `row`, for tests.
    QPushButton* recoverButton(int row) const { return rows_.at(row).recover; }
    QPushButton* discardButton(int row) const { return rows_.at(row).discard; }

    // The time of a copy in the desktop's short date and time format.
    static QString TimeText(std::time_t time);

private:
    struct RowButtons {
        QPushButton* recover = nullptr;
        QPushButton* discard = nullptr;
    };
    void decide(int row, RecoveryChoice choice);

    std::vector<RecoveryChoice> choices_;
    std::vector<RowButtons> rows_;
};

} // namespace halvera
