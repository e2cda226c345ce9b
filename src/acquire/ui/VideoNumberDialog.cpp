#include "acquire/ui/VideoNumberDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace halvera {

const CVideoNumberDialog::Layout CVideoNumberDialog::kCaptureTime{"Capture time", "Time", "s",
                                                                  "timeEdit"};
const CVideoNumberDialog::Layout CVideoNumberDialog::kCaptureRate{"Capture rate", "Capture rate ",
                                                                  "fps", "rateEdit"};
const CVideoNumberDialog::Layout CVideoNumberDialog::kPlayRate{"Play rate ", "Rate", "Times",
                                                               "playRateEdit"};

CVideoNumberDialog::CVideoNumberDialog(const Layout& layout, const std::string& shown, Rule rule,
                                       QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(QString::fromStdString(shown), this)),
      rule_(std::move(rule)), value_(rule_(shown)) {
    setWindowTitle(QString::fromLatin1(layout.title));
    edit_->setObjectName(QString::fromLatin1(layout.editName));
    connect(edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { value_ = rule_(text.toStdString()); });

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromLatin1(layout.label), this));
    row->addWidget(edit_);
    row->addWidget(new QLabel(QString::fromLatin1(layout.unit), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(row);
    layoutBox->addWidget(buttons);
}

} // namespace halvera
