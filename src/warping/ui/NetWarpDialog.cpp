#include "warping/ui/NetWarpDialog.h"

#include "document/MavDoc.h"
#include "warping/NetGrid.h"
#include "warping/ui/NetWarpPreview.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace halvera {

namespace {

// A net size: the edit takes 0..100 (a value below 12 builds the grid with
// 12), while the arrows step within 12..100.
class NetSizeSpinBox : public QSpinBox {
public:
    explicit NetSizeSpinBox(QWidget* parent) : QSpinBox(parent) {
        setRange(0, kMaxNetSize);
        setValue(kDefaultNetSize);
    }
    void stepBy(int steps) override {
        setValue(std::clamp(value() + steps * singleStep(), kMinNetSize, kMaxNetSize));
    }
};

} // namespace

CNetWarpDialog::CNetWarpDialog(CMavDoc& doc, std::function<void()> repaintView, QWidget* parent)
    : QDialog(parent), doc_(doc), repaintView_(std::move(repaintView)) {
    setWindowTitle(QStringLiteral("Warping"));
    preview_ = new CNetWarpPreview(doc, repaintView_, this);
    width_ = new NetSizeSpinBox(this);
    height_ = new NetSizeSpinBox(this);

    auto* sizes = new QGroupBox(QStringLiteral("Net size"), this);
    auto* sizeLayout = new QVBoxLayout(sizes);
    for (auto [label, box] : {std::pair{"Width", width_}, std::pair{"Height", height_}}) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QString::fromLatin1(label), sizes));
        row->addWidget(box);
        sizeLayout->addLayout(row);
    }

    auto* buttons = new QDialogButtonBox(this);
    buttons->setOrientation(Qt::Vertical);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* reset = buttons->addButton(QStringLiteral("Reset"), QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(reset, &QPushButton::clicked, this, [this] { Restart(); });
    connect(width_, &QSpinBox::valueChanged, this, [this] { Restart(); });
    connect(height_, &QSpinBox::valueChanged, this, [this] { Restart(); });

    auto* side = new QVBoxLayout;
    side->addWidget(sizes);
    side->addStretch();
    side->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(preview_);
    layout->addLayout(side);

    preview_->BuildGrid(width_->value(), height_->value());
}

void CNetWarpDialog::Restart() {
    doc_.RestoreFromWorking();
    preview_->BuildGrid(width_->value(), height_->value());
    if (repaintView_)
        repaintView_();
}

} // namespace halvera
