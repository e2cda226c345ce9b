#include "acquire/ui/VideoFilterDialog.h"

#include "acquire/VideoSystem.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace halvera {

CVideoFilterDialog::CVideoFilterDialog(LiveVideo& stream, QWidget* parent)
    : QDialog(parent), stream_(stream) {
    setWindowTitle(QStringLiteral("Filter"));
    move(0, 0);
    auto* form = new QFormLayout;
    const std::vector<VideoAdjustment> adjustments = stream_.adjustments();
    for (const VideoAdjustment& adjustment : adjustments) {
        original_.emplace_back(adjustment.name, adjustment.value);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString::fromStdString(adjustment.name));
        slider->setRange(adjustment.minimum, adjustment.maximum);
        slider->setValue(adjustment.value);
        slider->setMinimumWidth(240);
        const std::string name = adjustment.name;
        connect(slider, &QSlider::valueChanged, this,
                [this, name](int value) { stream_.setAdjustment(name, value); });
        form->addRow(QString::fromStdString(adjustment.name), slider);
    }
    if (adjustments.empty())
        form->addRow(new QLabel(QStringLiteral("The device has no adjustable properties."), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CVideoFilterDialog::reject() {
    for (const auto& [name, value] : original_)
        stream_.setAdjustment(name, value);
    QDialog::reject();
}

} // namespace halvera
