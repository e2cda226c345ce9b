#pragma once

#include "document/MeasureKind.h"
#include "measure/MeasureResultsPanel.h"
#include "measure/ui/ResultsPrinting.h"

#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

class QCheckBox;
class QDockWidget;
class QTabBar;
class QTableWidget;

namespace halvera {

struct AppSettings;
class CMavView;
class MeasureData;
class OutputSelection;
struct ToleranceTable;

// The "Results" panel: the measured items of the active image, one tab per
// kind, one row per item with its values in calibrated units and, with "Error
// detect" on, each value judged against its tolerance. Its buttons set the
// tolerances and the output items, save and print the results, clear the
// image's items and hide the panel; a double click or the Delete key deletes
// the selected item. While "Error detect" is on, the image draws the label of
// an item that fails a tolerance in the error colour (CMeasureDrawer). The measurement tools report
// their changes through MeasureResultsPanel.
class CDataPanel : public QWidget, public MeasureResultsPanel {
    Q_OBJECT
public:
    static constexpr int kColumns = 27;
    static constexpr int kLabelColumnWidth = 50;
    static constexpr int kValueColumnWidth = 150;
    // The rows the list shows at least when the panel first opens.
    static constexpr int kOpeningRows = 8;

    // What the panel works on besides its own state, all owned elsewhere.
    struct Context {
        std::function<CMavView*()> activeView; // the main window's active image view, or null
        const AppSettings& settings;           // the calibration, read afresh at every fill
        ToleranceTable& tolerance;             // the application's tolerances
        OutputSelection& output;               // the application's output items
        // The part of the screen the panel may first open in, clear of the
        // main window's other panels (the index strip).
        std::function<QRect()> openingArea;
    };

    // The panel becomes the contents of `dock`, which it shows and hides. It
    // first opens at the bottom left of the opening area, tall enough for
    // kOpeningRows rows; after that it comes back where the user left it.
    CDataPanel(QDockWidget& dock, Context context);

    // ---- MeasureResultsPanel
    void ShowDataPanel() override;
    void HideDataPanel() override;
    void SelectTab(MeasureKind kind) override;
    void AppendRow(MeasureKind kind) override;
    void UpdateRow(MeasureKind kind, int item) override;
    void SelectRow(int row) override;
    void ClearRows() override { clearList(); }
    const ToleranceTable* ErrorJudging() const override;

    // Reloads the headers of the current tab and one row per item of the
    // active image; with no active image the list is empty.
    void refill();
    // Deletes every row.
    void clearList();

    // Turns "Error detect" on and lists the active image's items afresh, so
    // that every value shows its verdict.
    void showVerdicts();

    MeasureKind currentTab() const;
    bool errorDetection() const;
    QTableWidget* list() const { return list_; }
    // The cells of every row as shown, label first.
    std::vector<ResultRowTexts> rowTexts() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeForOpening();
    void fillRow(int row);
    void setHeaders();
    void deleteSelectedItem();
    void editTolerances();
    void chooseOutputItems();
    void saveResults();
    void printResults();
    void clearData();
    MeasureData* activeData() const;
    // Lists the items afresh and redraws the active image, whose labels show
    // the verdicts too.
    void rejudge();

    QDockWidget& dock_;
    Context context_;
    QTabBar* tabs_;
    QCheckBox* errorDetect_;
    QTableWidget* list_;
    bool placed_ = false;
};

} // namespace halvera
