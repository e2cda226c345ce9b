#include "measure/ui/RecipeSaveDialog.h"

#include "platform/ui/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace halvera {

namespace {

enum Column { kKindColumn, kNameColumn };

QString ItemCaption(const std::vector<RecipeItem>& items, int index) {
    return QStringLiteral("%1 %2").arg(index + 1).arg(
        ToQString(TraitsOf(items[static_cast<size_t>(index)].kind).word));
}

} // namespace

CRecipeSaveDialog::CRecipeSaveDialog(std::vector<RecipeItem> items, QWidget* parent)
    : QDialog(parent), items_(std::move(items)),
      names_(new QTableWidget(static_cast<int>(items_.size()), 2, this)),
      referenceEdge_(new QComboBox(this)), origin_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Save as recipe"));
    names_->setObjectName(QStringLiteral("itemNames"));
    names_->setHorizontalHeaderLabels({QStringLiteral("Item"), QStringLiteral("Name")});
    names_->horizontalHeader()->setStretchLastSection(true);
    names_->verticalHeader()->hide();
    referenceEdge_->setObjectName(QStringLiteral("referenceEdge"));
    origin_->setObjectName(QStringLiteral("origin"));

    referenceEdge_->addItem(QStringLiteral("None"), -1);
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        auto* kind = new QTableWidgetItem(ItemCaption(items_, i));
        kind->setFlags(kind->flags() & ~Qt::ItemIsEditable);
        names_->setItem(i, kKindColumn, kind);
        names_->setItem(i, kNameColumn,
                        new QTableWidgetItem(ToQString(items_[static_cast<size_t>(i)].name)));
        if (items_[static_cast<size_t>(i)].kind == RecipeItemKind::EdgeLine)
            referenceEdge_->addItem(ItemCaption(items_, i), i);
    }
    connect(referenceEdge_, &QComboBox::currentIndexChanged, this,
            &CRecipeSaveDialog::offerOrigins);
    offerOrigins();

    auto* datum = new QFormLayout;
    datum->addRow(QStringLiteral("Reference edge"), referenceEdge_);
    datum->addRow(QStringLiteral("Origin"), origin_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(names_, 1);
    layout->addLayout(datum);
    layout->addWidget(buttons);
}

// The origin is an edge-point or another edge-line than the reference edge;
// without a reference edge there is no datum, so no origin either.
void CRecipeSaveDialog::offerOrigins() {
    origin_->clear();
    const int reference = referenceEdge_->currentData().toInt();
    origin_->setEnabled(reference >= 0);
    if (reference < 0)
        return;
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const RecipeItemKind kind = items_[static_cast<size_t>(i)].kind;
        if (kind == RecipeItemKind::EdgePoint ||
            (kind == RecipeItemKind::EdgeLine && i != reference))
            origin_->addItem(ItemCaption(items_, i), i);
    }
}

std::vector<RecipeItem> CRecipeSaveDialog::namedItems() const {
    std::vector<RecipeItem> named = items_;
    for (int i = 0; i < static_cast<int>(named.size()); ++i)
        named[static_cast<size_t>(i)].name =
            names_->item(i, kNameColumn)->text().trimmed().toStdString();
    return named;
}

std::optional<DatumChoice> CRecipeSaveDialog::datum() const {
    const int reference = referenceEdge_->currentData().toInt();
    if (reference < 0)
        return std::nullopt;
    return DatumChoice{reference,
                       origin_->currentIndex() >= 0 ? origin_->currentData().toInt() : -1};
}

} // namespace halvera
