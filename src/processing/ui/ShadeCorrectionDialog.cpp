#include "processing/ui/ShadeCorrectionDialog.h"

#include "document/MavDoc.h"
#include "processing/ApplyReference.h"
#include "processing/ReferenceImage.h"
#include "view/ui/IntegerField.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace halvera {

CShadeCorrectionDialog::CShadeCorrectionDialog(CMavDoc& doc, std::function<void()> repaint,
                                               QWidget* parent)
    : QDialog(parent), image_(doc.image()), working_(doc.working()), reference_(doc.initialCopy()),
      mask_(doc.mask()), repaint_(std::move(repaint)), level_(kDefaultReferenceLevel) {
    setWindowTitle(QStringLiteral("Shade correction"));

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("level"));
    slider_->setRange(0, 255);
    slider_->setTickInterval(16);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setValue(level_);
    levelEdit_ = new QLineEdit(QString::number(level_), this);
    levelEdit_->setObjectName(QStringLiteral("levelEdit"));
    levelEdit_->setMaxLength(4);
    roi_ = new QCheckBox(QStringLiteral("ROI"), this);
    roi_->setObjectName(QStringLiteral("roi"));
    auto* load = new QPushButton(QStringLiteral("Load"), this);
    load->setObjectName(QStringLiteral("load"));
    load->setAutoDefault(false);

    auto* data = new QGroupBox(QStringLiteral("Data"), this);
    auto* grid = new QGridLayout(data);
    grid->addWidget(slider_, 0, 0, 1, 2);
    grid->addWidget(levelEdit_, 0, 2);
    grid->addWidget(roi_, 1, 0);
    grid->addWidget(load, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(data);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CShadeCorrectionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CShadeCorrectionDialog::reject);
    connect(load, &QPushButton::clicked, this, &CShadeCorrectionDialog::OnLoad);
    // Every notification of the slider counts, also a release where it was.
    connect(slider_, &QSlider::valueChanged, this, &CShadeCorrectionDialog::OnSlider);
    connect(slider_, &QSlider::sliderReleased, this, &CShadeCorrectionDialog::OnSlider);
    connect(levelEdit_, &QLineEdit::editingFinished, this, &CShadeCorrectionDialog::OnLevelEdited);
    connect(roi_, &QCheckBox::clicked, this, &CShadeCorrectionDialog::OnRoi);
}

void CShadeCorrectionDialog::OnLoad() {
    if (!LoadReferenceImage(reference_))
        return;
    loaded_ = true;
    Recompute();
}

void CShadeCorrectionDialog::OnSlider() {
    level_ = slider_->value();
    levelEdit_->setText(QString::number(level_));
    if (loaded_)
        Recompute();
}

void CShadeCorrectionDialog::OnLevelEdited() {
    const std::optional<int> level = ReadIntegerField(levelEdit_, 0, 255);
    if (!level)
        return;
    level_ = *level;
    // Moving the slider from here is no slider notification.
    const QSignalBlocker quiet(slider_);
    slider_->setValue(level_);
}

void CShadeCorrectionDialog::OnRoi() {
    limitToRegion_ = roi_->isChecked();
    CopyBlock(image_, working_);
    if (loaded_)
        ApplyReference(image_, working_, reference_, mask_, level_, limitToRegion_);
    if (repaint_)
        repaint_();
}

void CShadeCorrectionDialog::Recompute() {
    ApplyReference(image_, working_, reference_, mask_, level_, limitToRegion_);
    if (repaint_)
        repaint_();
}

void CShadeCorrectionDialog::accept() {
    if (ReadIntegerField(levelEdit_, 0, 255))
        QDialog::accept();
}

} // namespace halvera
