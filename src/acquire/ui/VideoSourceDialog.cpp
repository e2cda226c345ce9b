#include "acquire/ui/VideoSourceDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace halvera {

CVideoSourceDialog::CVideoSourceDialog(const std::vector<std::string>& names, QWidget* parent)
    : QDialog(parent), combo_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Video source"));
    combo_->setObjectName(QStringLiteral("sourceCombo"));
    for (const std::string& name : names)
        combo_->addItem(QString::fromStdString(name));
    if (!names.empty())
        combo_->setCurrentIndex(0);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Video source:"), this));
    row->addWidget(combo_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

int CVideoSourceDialog::chosenIndex() const {
    return combo_->currentIndex();
}

} // namespace halvera
