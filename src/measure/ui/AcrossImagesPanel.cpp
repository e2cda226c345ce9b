#include "measure/ui/AcrossImagesPanel.h"

#include "image/RowBands.h"
#include "measure/InspectionCsv.h"
#include "measure/InspectionPictures.h"
#include "measure/RecipeBatch.h"
#include "measure/ResultDate.h"
#include "measure/ResultExport.h"
#include "measure/ui/AcrossImagesPrinting.h"
#include "platform/UserPrompts.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/QtText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>

namespace halvera {

namespace {

template <size_t N>
QTableWidget* NewTable(const std::array<std::string_view, N>& columns, const char* name,
                       QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(N), parent);
    table->setObjectName(QString::fromLatin1(name));
    QStringList headers;
    for (const std::string_view column : columns)
        headers << ToQString(column);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft);
    return table;
}

template <size_t N> void AppendRow(QTableWidget& table, const std::array<std::string, N>& cells) {
    const int row = table.rowCount();
    table.insertRow(row);
    for (size_t column = 0; column < N; ++column)
        table.setItem(row, static_cast<int>(column),
                      new QTableWidgetItem(ToQString(cells[column])));
}

QPushButton* NewButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// The rows name a picture by its file name; the folder is the same for most.
std::string ImageName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

CAcrossImagesPanel::CAcrossImagesPanel(QWidget* parent)
    : QWidget(parent, Qt::Tool), summaryList_(NewTable(kSummaryColumns, "summaryList", this)),
      rowList_(NewTable(kAcrossImagesColumns, "imageRows", this)),
      progress_(new QProgressBar(this)), status_(new QLabel(this)),
      cancel_(NewButton(QStringLiteral("Cancel"), "cancel", this)) {
    setObjectName(QStringLiteral("acrossImagesPanel"));
    setWindowTitle(QStringLiteral("Results across images"));
    progress_->setObjectName(QStringLiteral("progress"));
    status_->setObjectName(QStringLiteral("status"));
    QPushButton* exportCsv = NewButton(QStringLiteral("Save CSV"), "exportCsv", this);
    QPushButton* print = NewButton(QStringLiteral("Print"), "print", this);
    QPushButton* close = NewButton(QStringLiteral("Close"), "close", this);
    connect(cancel_, &QPushButton::clicked, this, &CAcrossImagesPanel::cancel);
    connect(exportCsv, &QPushButton::clicked, this, &CAcrossImagesPanel::exportCsv);
    connect(print, &QPushButton::clicked, this, &CAcrossImagesPanel::print);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    auto* runLine = new QHBoxLayout;
    runLine->addWidget(progress_, 1);
    runLine->addWidget(cancel_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    for (QPushButton* button : {exportCsv, print, close})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summaryList_, 1);
    layout->addWidget(rowList_, 2);
    layout->addLayout(runLine);
    layout->addLayout(buttons);
    resize(760, 520);
}

CAcrossImagesPanel::~CAcrossImagesPanel() {
    cancelled_ = true;
    if (worker_.joinable())
        worker_.join();
}

void CAcrossImagesPanel::run(InspectionRecipe recipe, std::vector<std::string> images) {
    recipe_ = std::move(recipe);
    summary_ = {};
    csvRows_.clear();
    rows_.clear();
    summaryList_->setRowCount(0);
    rowList_->setRowCount(0);
    progress_->setRange(0, static_cast<int>(images.size()));
    progress_->setValue(0);
    status_->clear();
    cancel_->setEnabled(true);
    cancelled_ = false;
    // Results come back to this window's thread through its event queue, in
    // input order; the queue drops them should the panel be gone by then.
    worker_ = std::thread([this, recipe = recipe_, images = std::move(images)] {
        const bool completed = InspectPictures(
            recipe, InspectionSettings{}, images.size(), PixelWorkerCount(),
            [&images](size_t index) { return LoadInspectionPicture(images[index]); },
            [this, &images](size_t index, const PictureInspection& result) {
                QMetaObject::invokeMethod(
                    this, [this, image = images[index], result] { addResult(image, result); },
                    Qt::QueuedConnection);
                return !cancelled_;
            });
        QMetaObject::invokeMethod(
            this,
            [this, completed] {
                status_->setText(completed ? QString() : QStringLiteral("Cancelled"));
                endRun();
            },
            Qt::QueuedConnection);
    });
}

void CAcrossImagesPanel::addResult(const std::string& image, const PictureInspection& result) {
    const std::string name = ImageName(image);
    csvRows_ += InspectionCsvRows(name, recipe_, result);
    summary_.Add(result);
    for (const AcrossImagesRow& row : AcrossImagesRows(name, recipe_, result)) {
        rows_.push_back(row);
        AppendRow(*rowList_, row);
    }
    progress_->setValue(progress_->value() + 1);
    showSummary();
}

void CAcrossImagesPanel::showSummary() {
    summaryList_->setRowCount(0);
    for (const SummaryRow& row : SummaryRows(recipe_, summary_.Summarise(recipe_)))
        AppendRow(*summaryList_, row);
}

void CAcrossImagesPanel::endRun() {
    if (worker_.joinable())
        worker_.join();
    cancel_->setEnabled(false);
    emit runEnded();
}

// The pictures being measured are finished; no later one is started.
void CAcrossImagesPanel::cancel() {
    cancelled_ = true;
    cancel_->setEnabled(false);
}

std::string CAcrossImagesPanel::csvText() const {
    return InspectionCsvHeader() + csvRows_ + "\n" +
           InspectionSummaryCsv(recipe_, summary_.Summarise(recipe_));
}

void CAcrossImagesPanel::exportCsv() {
    if (rows_.empty()) {
        ShowMessage(kNoDataToPrint);
        return;
    }
    FileDialogRequest request;
    request.save = true;
    request.title = "Save CSV";
    request.filter = "CSV files(*.csv)|*.csv|All files(*.*)|*.*||";
    request.proposedName = "inspection.csv";
    request.defaultExtension = "csv";
    request.promptOverwrite = true;
    const std::optional<std::string> path = Prompts().askFileName(request);
    if (path && !WriteResultFile(*path, csvText()))
        ShowMessage("Can not write the file " + *path + "!", MessageIcon::Stop);
}

void CAcrossImagesPanel::print() {
    if (rows_.empty()) {
        ShowMessage(kNoDataToPrint);
        return;
    }
    if (!Prompts().askPrintJob())
        return;
    PrintAcrossImages(ApplicationPrinter(), SummaryRows(recipe_, summary_.Summarise(recipe_)),
                      rows_, LocalTimeNow());
}

} // namespace halvera
