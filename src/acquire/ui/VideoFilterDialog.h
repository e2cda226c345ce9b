#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

namespace halvera {

class LiveVideo;

// The "Filter" dialog: a slider for each adjustable property of the video
// device (brightness, contrast, exposure, ... whatever the device offers),
// applied to the running stream as it moves. Cancel puts the values back.
class CVideoFilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit CVideoFilterDialog(LiveVideo& stream, QWidget* parent = nullptr);

public slots:
    void reject() override;

private:
    LiveVideo& stream_;
    std::vector<std::pair<std::string, int>> original_;
};

} // namespace halvera
