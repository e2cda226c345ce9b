#include "measure/ui/DataPanel.h"

#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "measure/MeasureDataItems.h"
#include "measure/ResultDate.h"
#include "measure/ResultExport.h"
#include "measure/ResultRows.h"
#include "measure/ui/MeasureCommands.h"
#include "measure/ui/OutputDataDialog.h"
#include "measure/ui/ToleranceDialog.h"
#include "platform/UserPrompts.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/QtText.h"
#include "view/ui/MavView.h"

#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace halvera {

namespace {

QPushButton* NewButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CDataPanel::CDataPanel(QDockWidget& dock, Context context)
    : dock_(dock), context_(std::move(context)), tabs_(new QTabBar(this)),
      errorDetect_(new QCheckBox(QStringLiteral("Error detect"), this)),
      list_(new QTableWidget(0, kColumns, this)) {
    setObjectName(QStringLiteral("dataPanel"));
    tabs_->setObjectName(QStringLiteral("tabs"));
    for (MeasureKind kind : kAllMeasureKinds)
        tabs_->addTab(ToQString(KindTabName(kind)));
    errorDetect_->setObjectName(QStringLiteral("errorDetect"));

    // A report list: single full-row selection, grid lines, cells read-only.
    list_->setObjectName(QStringLiteral("resultsList"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft);
    list_->setColumnWidth(0, kLabelColumnWidth);
    for (int column = 1; column < kColumns; ++column)
        list_->setColumnWidth(column, kValueColumnWidth);
    list_->installEventFilter(this);
    setHeaders();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(errorDetect_);
    const auto addButton = [this, buttons](const QString& text, const char* name, auto slot) {
        QPushButton* button = NewButton(text, name, this);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, slot);
    };
    addButton(QStringLiteral("Tolerance"), "tolerance", &CDataPanel::editTolerances);
    addButton(QStringLiteral("Output"), "output", &CDataPanel::chooseOutputItems);
    addButton(QStringLiteral("Save"), "save", &CDataPanel::saveResults);
    addButton(QStringLiteral("Print"), "print", &CDataPanel::printResults);
    addButton(QStringLiteral("Clear"), "clear", &CDataPanel::clearData);
    addButton(QStringLiteral("Exit"), "exit", &CDataPanel::HideDataPanel);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(tabs_, &QTabBar::currentChanged, this, &CDataPanel::refill);
    connect(errorDetect_, &QCheckBox::toggled, this, &CDataPanel::rejudge);
    connect(list_, &QTableWidget::cellDoubleClicked, this, &CDataPanel::deleteSelectedItem);
    dock_.setWidget(this);
    dock_.resize(900, 180);
}

// ---------------------------------------------------------------- MeasureResultsPanel

void CDataPanel::ShowDataPanel() {
    if (dock_.isVisible())
        return;
    dock_.setFloating(true);
    if (!placed_)
        placeForOpening();
    placed_ = true;
    dock_.show();
}

// Tall enough for the opening rows with the headings and the scroll bar, at
// the bottom left of the opening area, so it covers neither the index strip
// nor the screen's edge.
void CDataPanel::placeForOpening() {
    const int listHeight = 2 * list_->frameWidth() +
                           list_->horizontalHeader()->sizeHint().height() +
                           kOpeningRows * list_->verticalHeader()->defaultSectionSize() +
                           list_->horizontalScrollBar()->sizeHint().height();
    list_->setMinimumHeight(listHeight);
    updateGeometry(); // the dock's layout asks afresh
    const int height = std::max(dock_.height(), dock_.minimumSizeHint().height());
    list_->setMinimumHeight(0); // the user may still make it smaller
    updateGeometry();
    const QRect area = context_.openingArea ? context_.openingArea() : QRect(0, 0, 1280, 800);
    dock_.resize(dock_.width(), height);
    // The window frame, where there is one, counts against the area too.
    const int frame = dock_.frameGeometry().height() - dock_.geometry().height();
    dock_.move(area.left() + 30, std::max(area.top(), area.bottom() + 1 - height - frame));
}

void CDataPanel::HideDataPanel() {
    dock_.hide();
}

void CDataPanel::SelectTab(MeasureKind kind) {
    if (kind == currentTab())
        return;
    tabs_->setCurrentIndex(static_cast<int>(kind)); // refills through currentChanged
}

// A change to another kind than the tab shows is left to the SelectTab that
// the tools send with it, which refills the list from the data.
void CDataPanel::AppendRow(MeasureKind kind) {
    const MeasureData* data = activeData();
    if (!data || kind != currentTab())
        return;
    const int newest = data->ItemCount(kind) - 1;
    if (newest != list_->rowCount()) { // the list missed a change: list every item
        refill();
        return;
    }
    list_->insertRow(newest);
    fillRow(newest);
}

void CDataPanel::UpdateRow(MeasureKind kind, int item) {
    const MeasureData* data = activeData();
    if (!data || kind != currentTab() || item < 0 || item >= list_->rowCount() ||
        item >= data->ItemCount(kind))
        return;
    fillRow(item);
}

void CDataPanel::SelectRow(int row) {
    if (row < 0 || row >= list_->rowCount())
        return;
    list_->setFocus();
    list_->selectRow(row);
    list_->setCurrentCell(row, 0);
    list_->scrollToItem(list_->item(row, 0));
}

// ---------------------------------------------------------------- the list

MeasureKind CDataPanel::currentTab() const {
    return static_cast<MeasureKind>(tabs_->currentIndex());
}

void CDataPanel::showVerdicts() {
    errorDetect_->setChecked(true);
    refill();
    ShowDataPanel();
}

bool CDataPanel::errorDetection() const {
    return errorDetect_->isChecked();
}

const ToleranceTable* CDataPanel::ErrorJudging() const {
    return errorDetection() ? &context_.tolerance : nullptr;
}

void CDataPanel::rejudge() {
    refill();
    if (CMavView* view = context_.activeView())
        view->repaintView();
}

MeasureData* CDataPanel::activeData() const {
    CMavView* view = context_.activeView();
    return view ? &view->document().measureData() : nullptr;
}

void CDataPanel::setHeaders() {
    const DataItemRange items = DataItemsOf(currentTab());
    QStringList headers{QStringLiteral("No")};
    for (int i = 0; i < items.count; ++i)
        headers << ToQString(DataItem(items.first + i).column);
    while (headers.size() < kColumns)
        headers << QString();
    list_->setHorizontalHeaderLabels(headers);
}

void CDataPanel::refill() {
    setHeaders();
    clearList();
    const MeasureData* data = activeData();
    if (!data)
        return;
    const int items = data->ItemCount(currentTab());
    for (int row = 0; row < items; ++row) {
        list_->insertRow(row);
        fillRow(row);
    }
}

void CDataPanel::clearList() {
    list_->setRowCount(0);
}

// The values are computed afresh with the calibration in force now.
void CDataPanel::fillRow(int row) {
    const ResultJudging judging{RulerCalibration::CurrentScale(context_.settings),
                                context_.tolerance, errorDetection()};
    const std::vector<std::string> cells =
        ResultRowCells(*activeData(), currentTab(), row, judging);
    for (size_t column = 0; column < cells.size(); ++column) {
        const QString text = ToQString(cells[column]);
        if (QTableWidgetItem* item = list_->item(row, static_cast<int>(column)))
            item->setText(text);
        else
            list_->setItem(row, static_cast<int>(column), new QTableWidgetItem(text));
    }
    list_->scrollToItem(list_->item(row, 0));
}

std::vector<ResultRowTexts> CDataPanel::rowTexts() const {
    std::vector<ResultRowTexts> rows;
    for (int row = 0; row < list_->rowCount(); ++row) {
        ResultRowTexts cells;
        for (int column = 0; column < kColumns; ++column) {
            const QTableWidgetItem* item = list_->item(row, column);
            if (!item)
                break;
            cells.push_back(item->text().toStdString());
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

bool CDataPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelectedItem();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Deletes the item of the selected row: its row goes, the next item moves up
// into the selection, the rows are numbered afresh and the image is redrawn
// without it.
void CDataPanel::deleteSelectedItem() {
    CMavView* view = context_.activeView();
    const QList<QTableWidgetSelectionRange> ranges = list_->selectedRanges();
    if (!view || ranges.isEmpty())
        return;
    const int row = ranges.first().topRow();
    MeasureData& data = view->document().measureData();
    if (!data.DeleteItem(currentTab(), row))
        return;
    QApplication::beep();
    list_->removeRow(row);
    if (row < list_->rowCount())
        SelectRow(row);
    else
        list_->clearSelection();
    for (int i = 0; i < list_->rowCount(); ++i)
        list_->item(i, 0)->setText(ToQString(RowLabel(i)));
    view->repaintView();
}

// ---------------------------------------------------------------- buttons

void CDataPanel::editTolerances() {
    CToleranceDialog dialog(context_.tolerance, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    context_.tolerance = dialog.table();
    rejudge();
}

void CDataPanel::chooseOutputItems() {
    COutputDataDialog dialog(context_.output, this);
    if (dialog.exec() == QDialog::Accepted)
        context_.output = dialog.selection();
}

void CDataPanel::saveResults() {
    CMavView* view = context_.activeView();
    if (!view)
        return;
    CMavDoc& doc = view->document();
    // Written items need no question when their image closes.
    if (SaveResultsCommand(doc.measureData(), MeasuredOnPicture(doc.path(), context_.settings),
                           context_.tolerance, context_.output))
        doc.MeasurementsWritten();
}

void CDataPanel::printResults() {
    if (list_->rowCount() == 0) {
        ShowMessage(kNoDataToPrint);
        return;
    }
    if (!Prompts().askPrintJob())
        return;
    PrintResults(ApplicationPrinter(), currentTab(), context_.output, rowTexts(), LocalTimeNow());
}

void CDataPanel::clearData() {
    if (CMavView* view = context_.activeView()) {
        ClearMeasureDataCommand(*view);
    }
}

} // namespace halvera
