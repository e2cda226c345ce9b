#pragma once

#include "image/DibImage.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QSlider;

namespace halvera {

class CMavDoc;

// "Shade correction" (field shade correction): divides the working copy by a
// reference image of an empty field, loaded with "Load" into the document's
// initial copy, and scales by a level of 0..255, previewing in the image.
//
// A move of the slider sets the level and, once a reference is loaded,
// recomputes; typing a level moves the slider and takes effect at the next
// slider notification; the ROI box recomputes from the working copy at once.
// OK keeps the image as last computed; undoing on Cancel is the caller's.
//
// Controls carry object names for tests: "level" (slider), "levelEdit",
// "roi", "load".
class CShadeCorrectionDialog : public QDialog {
    Q_OBJECT
public:
    CShadeCorrectionDialog(CMavDoc& doc, std::function<void()> repaint, QWidget* parent = nullptr);

    int level() const { return level_; }
    bool referenceLoaded() const { return loaded_; }

    void accept() override;

private:
    void OnLoad();
    void OnSlider();
    void OnLevelEdited();
    void OnRoi();
    void Recompute();

    CDibImage image_;
    CDibImage working_;
    CDibImage reference_; // the document's initial copy
    CDibImage mask_;
    std::function<void()> repaint_;
    int level_;
    bool limitToRegion_ = false;
    bool loaded_ = false;
    QSlider* slider_ = nullptr;
    QLineEdit* levelEdit_ = nullptr;
    QCheckBox* roi_ = nullptr;
};

} // namespace halvera
