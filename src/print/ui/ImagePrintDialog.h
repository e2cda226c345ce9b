#pragma once

#include "image/AppSettings.h"
#include "image/DibImage.h"
#include "print/PrintLayout.h"
#include "print/ui/PrintTitle.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QToolButton;

namespace halvera {

class CPrintLayoutPane;

// "Image Position Set": places `image` on the printer's paper, at a
// calibrated real-size ratio or by hand, adds a title line and prints one
// page. Everything it sets lives only while it is open.
class CImagePrintDialog : public QDialog {
    Q_OBJECT
public:
    // `image` may be empty (no active image): the page shows the title alone.
    // `printer` gives the paper at opening and takes the page on Print.
    CImagePrintDialog(const CDibImage& image, const AppSettings& settings, QPrinter& printer,
                      QWidget* parent = nullptr);
    ~CImagePrintDialog() override;

    const PrintLayout& layout() const { return layout_; }
    const PrintTitle& title() const { return title_; }
    CPrintLayoutPane* pane() const { return pane_; }

private:
    void buildControls();
    void refreshFields();
    void realRatioToggled(bool checked);
    void applySelectedRatio();
    void afterRectChange();
    void keepTitleAbovePicture();
    void nudge(LayoutSpin spin, bool up);
    void chooseFont();
    void print();

    CDibImage image_;
    QPrinter& printer_;
    PrintLayout layout_;
    PrintTitle title_;
    CPrintLayoutPane* pane_ = nullptr;
    QCheckBox* realRatio_ = nullptr;
    QComboBox* ratios_ = nullptr;
    std::array<QLineEdit*, 4> fields_{};
    QLineEdit* titleEdit_ = nullptr;
};

} // namespace halvera
