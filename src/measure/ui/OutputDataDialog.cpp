#include "measure/ui/OutputDataDialog.h"

#include "measure/OutputItemsFile.h"
#include "platform/UserPrompts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace halvera {

namespace {

// The lists scroll sideways over names up to this wide.
constexpr int kListExtent = 200;

QString ItemName(int k) {
    const std::string_view name = DataItem(k).output;
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

FileDialogRequest ItemsFileRequest(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.filter = "HLV file(*.Itm)|*.Itm||";
    request.proposedName = "Items";
    request.defaultExtension = "Itm";
    return request;
}

QListWidget* NewList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setMinimumWidth(kListExtent / 2);
    list->setSizeAdjustPolicy(QAbstractScrollArea::AdjustIgnored);
    return list;
}

} // namespace

COutputDataDialog::COutputDataDialog(const OutputSelection& selection, QWidget* parent)
    : QDialog(parent), original_(selection), copy_(selection),
      selected_(NewList("selectedItems", this)), items_(NewList("items", this)) {
    setWindowTitle(QStringLiteral("Output Data"));
    for (int k = 0; k < kDataItemCount; ++k)
        items_->addItem(ItemName(k));

    auto* middle = new QVBoxLayout;
    const auto addButton = [this, middle](const QString& text, const char* name, auto slot) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        middle->addWidget(button);
        connect(button, &QPushButton::clicked, this, slot);
    };
    addButton(QStringLiteral("<-Add"), "add", &COutputDataDialog::addItem);
    addButton(QStringLiteral("Delete->"), "delete", &COutputDataDialog::removeItem);
    addButton(QStringLiteral("<-All"), "all", &COutputDataDialog::selectAll);
    addButton(QStringLiteral("Clear->"), "clear", &COutputDataDialog::clearAll);
    middle->addStretch();
    addButton(QStringLiteral("Load"), "load", &COutputDataDialog::load);
    addButton(QStringLiteral("Save"), "save", &COutputDataDialog::save);
    addButton(QStringLiteral("Reset"), "reset", &COutputDataDialog::reset);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Selected Items:"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Items:"), this), 0, 2);
    grid->addWidget(selected_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(items_, 1, 2);
    grid->addWidget(buttons, 2, 0, 1, 3);

    connect(items_, &QListWidget::itemDoubleClicked, this, &COutputDataDialog::addItem);
    connect(selected_, &QListWidget::itemDoubleClicked, this, &COutputDataDialog::removeItem);
    relist();
}

void COutputDataDialog::addItem() {
    const int k = items_->currentRow();
    if (k >= 0 && copy_.add(k))
        selected_->addItem(ItemName(k));
}

void COutputDataDialog::removeItem() {
    const int row = selected_->currentRow();
    if (row < 0)
        return;
    copy_.removeAt(row);
    delete selected_->takeItem(row);
}

void COutputDataDialog::selectAll() {
    copy_.selectAll();
    relist();
}

void COutputDataDialog::clearAll() {
    copy_.clear();
    relist();
}

void COutputDataDialog::reset() {
    copy_ = original_;
    relist();
}

void COutputDataDialog::load() {
    const std::optional<std::string> path = Prompts().askFileName(ItemsFileRequest(false));
    if (!path)
        return;
    if (ReadOutputItemsFile(*path, copy_) == RecordRead::WrongFormat)
        ShowMessage(kCannotReadItemsFile, MessageIcon::Stop);
    relist();
}

void COutputDataDialog::save() {
    if (const std::optional<std::string> path = Prompts().askFileName(ItemsFileRequest(true)))
        WriteOutputItemsFile(*path, copy_);
}

void COutputDataDialog::relist() {
    selected_->clear();
    for (int k : copy_.items())
        selected_->addItem(ItemName(k));
}

} // namespace halvera
