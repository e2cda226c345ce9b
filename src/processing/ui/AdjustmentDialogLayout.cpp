#include "processing/ui/AdjustmentDialogLayout.h"

#include "view/ui/SliderWithBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

namespace halvera {

namespace {

constexpr int kSliderWidth = 200;
constexpr int kBoxWidth = 48;

} // namespace

AdjustmentDialogLayout::AdjustmentDialogLayout(QDialog& dialog, const QString& group)
    : dialog_(dialog), rows_(new QGridLayout) {
    auto* outer = new QVBoxLayout(&dialog);
    if (group.isEmpty()) {
        outer->addLayout(rows_);
    } else {
        auto* box = new QGroupBox(group, &dialog);
        box->setLayout(rows_);
        outer->addWidget(box);
    }
}

CSliderWithBox* AdjustmentDialogLayout::addSlider(const QString& caption, const QString& name,
                                                  int minimum, int maximum, int tickInterval) {
    auto* pair = new CSliderWithBox(name, minimum, maximum, tickInterval, &dialog_);
    pair->slider()->setMinimumWidth(kSliderWidth);
    pair->box()->setFixedWidth(kBoxWidth);
    rows_->addWidget(new QLabel(caption, &dialog_), rowCount_, 0);
    rows_->addWidget(pair->slider(), rowCount_, 1);
    rows_->addWidget(pair->box(), rowCount_, 2);
    ++rowCount_;
    return pair;
}

void AdjustmentDialogLayout::addButtons() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog_);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog_, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog_, &QDialog::reject);
    static_cast<QVBoxLayout*>(dialog_.layout())->addWidget(buttons);
}

} // namespace halvera
