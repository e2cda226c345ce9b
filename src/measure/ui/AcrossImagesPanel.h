#pragma once

#include "measure/AcrossImagesTable.h"
#include "measure/InspectionRecipe.h"
#include "measure/InspectionSummary.h"

#include <QWidget>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace halvera {

// The "Results across images" panel: a recipe run on many pictures. The
// pictures are measured off the window thread (InspectPictures on a worker
// of its own), so the window stays responsive; each picture's rows arrive in
// input order, with the progress bar, until every picture is done or Cancel
// stops the run. Above the rows, per value: n, mean, standard deviation,
// min, max, and Cp and Cpk where the tolerance has both limits. Its buttons
// export the rows and the statistics as CSV and print them.
class CAcrossImagesPanel : public QWidget {
    Q_OBJECT
public:
    explicit CAcrossImagesPanel(QWidget* parent = nullptr);
    // A run still going is cancelled and waited for.
    ~CAcrossImagesPanel() override;

    // Empties the panel and starts `recipe` on `images`.
    void run(InspectionRecipe recipe, std::vector<std::string> images);
    bool running() const { return worker_.joinable(); }

    QTableWidget* summaryList() const { return summaryList_; }
    QTableWidget* rowList() const { return rowList_; }
    QProgressBar* progress() const { return progress_; }
    // The rows as `halvera-cli inspect --csv` writes them, a blank line,
    // then the statistics as its --summary writes them.
    std::string csvText() const;

signals:
    // The run ended: every picture done, or cancelled.
    void runEnded();

private:
    void addResult(const std::string& image, const PictureInspection& result);
    void endRun();
    void cancel();
    void showSummary();
    void exportCsv();
    void print();

    InspectionRecipe recipe_;
    InspectionSummary summary_;
    std::string csvRows_;
    std::vector<AcrossImagesRow> rows_;
    std::atomic<bool> cancelled_{false};
    std::thread worker_;
    QTableWidget* summaryList_;
    QTableWidget* rowList_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton* cancel_;
};

} // namespace halvera
