#include "app/ui/RecoveryDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace halvera {

namespace {

enum Column { kName, kSize, kTime, kRecover, kDiscard };

QString SizeText(const RecoveryOffer& offer) {
    return QStringLiteral("%1 x %2").arg(offer.width).arg(offer.height);
}

} // namespace

CRecoveryDialog::CRecoveryDialog(const std::vector<RecoveryOffer>& offers, QWidget* parent)
    : QDialog(parent), choices_(offers.size(), RecoveryChoice::Later), rows_(offers.size()) {
    setWindowTitle(QStringLiteral("Recover unsaved images"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(
        "Halvera did not end properly. These images had changes that were not saved:")));
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (int row = 0; row < static_cast<int>(offers.size()); ++row) {
        const RecoveryOffer& offer = offers[static_cast<size_t>(row)];
        grid->addWidget(new QLabel(QString::fromStdString(offer.name)), row, kName);
        grid->addWidget(new QLabel(SizeText(offer)), row, kSize);
        grid->addWidget(new QLabel(TimeText(offer.savedAt)), row, kTime);
        RowButtons& buttons = rows_[static_cast<size_t>(row)];
        buttons.recover = new QPushButton(QStringLiteral("Recover"));
        buttons.discard = new QPushButton(QStringLiteral("Discard"));
        grid->addWidget(buttons.recover, row, kRecover);
        grid->addWidget(buttons.discard, row, kDiscard);
        connect(buttons.recover, &QPushButton::clicked, this,
                [this, row] { decide(row, RecoveryChoice::Recover); });
        connect(buttons.discard, &QPushButton::clicked, this,
                [this, row] { decide(row, RecoveryChoice::Discard); });
    }
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(close);
}

QString CRecoveryDialog::TimeText(std::time_t time) {
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(time), QLocale::ShortFormat);
}

void CRecoveryDialog::decide(int row, RecoveryChoice choice) {
    choices_[static_cast<size_t>(row)] = choice;
    // A decided row says what will happen and cannot be decided again.
    RowButtons& buttons = rows_[static_cast<size_t>(row)];
    buttons.recover->setEnabled(false);
    buttons.discard->setEnabled(false);
    (choice == RecoveryChoice::Recover ? buttons.discard : buttons.recover)->hide();
    if (std::none_of(choices_.begin(), choices_.end(),
                     [](RecoveryChoice c) { return c == RecoveryChoice::Later; }))
        accept();
}

} // namespace halvera
