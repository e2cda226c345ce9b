#pragma once

#include "measure/OutputSelection.h"

#include <QDialog>

class QListWidget;

namespace halvera {

// "Output Data": edits a copy of the output selection. The left list
// "Selected Items:" shows the used slots in pick order, the right list
// "Items:" all 33 data items; the buttons move names between them, Load and
// Save work on the copy, Reset goes back to the selection the dialog started
// with, and only OK hands the copy back (selection()).
class COutputDataDialog : public QDialog {
    Q_OBJECT
public:
    explicit COutputDataDialog(const OutputSelection& selection, QWidget* parent = nullptr);

    const OutputSelection& selection() const { return copy_; }

private:
    void addItem();
    void removeItem();
    void selectAll();
    void clearAll();
    void reset();
    void load();
    void save();
    void relist();

    const OutputSelection original_;
    OutputSelection copy_;
    QListWidget* selected_;
    QListWidget* items_;
};

} // namespace halvera
