#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace halvera {

// The "Video source" dialog: the friendly names of the video sources, the
// first selected. The caller stores the choice on OK when there is one.
class CVideoSourceDialog : public QDialog {
    Q_OBJECT
public:
    explicit CVideoSourceDialog(const std::vector<std::string>& names, QWidget* parent = nullptr);

    QComboBox* combo() const { return combo_; }
    // The chosen index, or -1 when the list is empty.
    int chosenIndex() const;

private:
    QComboBox* combo_;
};

} // namespace halvera
