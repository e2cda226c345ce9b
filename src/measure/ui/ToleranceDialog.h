#pragma once

#include "document/MeasureKind.h"
#include "measure/ToleranceTable.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QTabBar;

namespace halvera {

// "Measure data set": edits a copy of the tolerance table, one data item at a
// time (tab, then the item in the "Data" list), with its standard, upper and
// lower limit. Every edit stores at once into the copy; Load and Save work on
// the copy; only OK hands it back (table()).
class CToleranceDialog : public QDialog {
    Q_OBJECT
public:
    explicit CToleranceDialog(const ToleranceTable& table, QWidget* parent = nullptr);

    // The dialog's copy of the table.
    const ToleranceTable& table() const { return table_; }
    // The entry the edits show now.
    int shownEntry() const { return shown_; }

private:
    void selectTab(int tab);
    void showEntry(int k);
    void storeEdit(QLineEdit* edit, double ToleranceEntry::*field);
    void load();
    void save();

    ToleranceTable table_;
    int shown_ = 0;
    bool showing_ = false; // the edits are being filled, not typed into
    QTabBar* tabs_;
    QComboBox* data_;
    QLineEdit* standard_;
    QLineEdit* upper_;
    QLineEdit* lower_;
};

} // namespace halvera
