#pragma once

#include "image/AppSettings.h"

#include <QDialog>
#include <array>

class QComboBox;

namespace halvera {

// The "Color" dialog: four lists ("Coordinate", "Line color", "Point color",
// "Text color") of the eight measurement colours, preset to MTColor1..4. OK
// stores the four choices; Cancel changes nothing.
class CMeasureColorDialog : public QDialog {
    Q_OBJECT
public:
    explicit CMeasureColorDialog(AppSettings& settings, QWidget* parent = nullptr);

    QComboBox* list(int role) const { return lists_.at(static_cast<size_t>(role)); }

    void accept() override;

private:
    AppSettings& settings_;
    std::array<QComboBox*, 4> lists_{};
};

} // namespace halvera
