#pragma once

#include "acquire/ScanOption.h"

#include <QDialog>
#include <string>
#include <vector>

class QTreeWidget;

namespace halvera {

// "Select scanner": the devices the scanner library reaches, one a row with
// vendor, model and name. The current default source starts selected (the
// first device when it is not in the list); OK or a double click chooses the
// selected row.
class CSelectScannerDialog : public QDialog {
    Q_OBJECT
public:
    CSelectScannerDialog(const std::vector<ScannerDevice>& devices, const std::string& current,
                         QWidget* parent = nullptr);

    // The name of the selected device.
    std::string selectedName() const;

    QTreeWidget* list() const { return list_; }

private:
    QTreeWidget* list_;
};

} // namespace halvera
