#include "acquire/ui/SelectScannerDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace halvera {

namespace {

constexpr int kNameColumn = 2;

} // namespace

CSelectScannerDialog::CSelectScannerDialog(const std::vector<ScannerDevice>& devices,
                                           const std::string& current, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("Select scanner"));
    list_->setObjectName(QStringLiteral("devices"));
    list_->setHeaderLabels(
        {QStringLiteral("Vendor"), QStringLiteral("Model"), QStringLiteral("Name")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const ScannerDevice& device : devices) {
        auto* row = new QTreeWidgetItem(list_, {QString::fromStdString(device.vendor),
                                                QString::fromStdString(device.model),
                                                QString::fromStdString(device.name)});
        if (device.name == current)
            list_->setCurrentItem(row);
    }
    if (!list_->currentItem() && list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(480, 240);
}

std::string CSelectScannerDialog::selectedName() const {
    const QTreeWidgetItem* row = list_->currentItem();
    return row ? row->text(kNameColumn).toStdString() : std::string();
}

} // namespace halvera
