// The results panel in the main window, fed by the measurement tools and
// worked with real mouse and key events.
#include "measure/ui/DataPanel.h"

#include "DialogDriving.h"
#include "ImageFileTestSupport.h"
#include "ShellFixture.h"
#include "app/ui/IndexImagePanel.h"
#include "measure/ui/OutputDataDialog.h"
#include "measure/ui/ToleranceDialog.h"
#include "platform/ui/PrinterSetup.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <regex>

namespace halvera::testing {
namespace {

class DataPanelTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        window = newImage(160, 120);
    }

    CDataPanel& panel() { return *frame().resultsPanel(); }
    QTableWidget& list() { return *panel().list(); }
    CMavView& view() { return window->view(); }
    MeasureData& data() { return window->document().measureData(); }
    void run(int command) { ASSERT_TRUE(view().onCommand(command)); }
    QPoint at(int x, int y) { return view().logicalToClient(view().imageToWindow(QPoint(x, y))); }

    void press(QPoint client) {
        QTest::mousePress(view().viewport(), Qt::LeftButton, Qt::NoModifier, client);
    }
    void release(QPoint client) {
        QTest::mouseRelease(view().viewport(), Qt::LeftButton, Qt::NoModifier, client);
    }
    void dragTo(QPoint client) {
        QMouseEvent move(QEvent::MouseMove, QPointF(client),
                         view().viewport()->mapToGlobal(QPointF(client)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view().viewport(), &move);
    }
    void click(QPoint client) {
        press(client);
        release(client);
    }
    void drag(QPoint from, QPoint to) {
        press(from);
        dragTo(to);
        release(to);
    }

    // The texts of a row, up to its last filled cell.
    std::vector<std::string> row(int index) {
        std::vector<std::string> cells;
        for (int column = 0; column < list().columnCount(); ++column) {
            const QTableWidgetItem* item = list().item(index, column);
            if (!item)
                break;
            cells.push_back(item->text().toStdString());
        }
        return cells;
    }
    std::string header(int column) {
        return list().horizontalHeaderItem(column)->text().toStdString();
    }
    void clickRow(int index) {
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {},
                          list().visualItemRect(list().item(index, 1)).center());
    }
    void clickButton(const char* name) {
        QTest::mouseClick(Child<QPushButton>(panel(), name), Qt::LeftButton);
    }
    int selectedRow() {
        const auto ranges = list().selectedRanges();
        return ranges.isEmpty() ? -1 : ranges.first().topRow();
    }
    QRgb shown(QPoint client) { return view().viewport()->grab().toImage().pixel(client); }

    CChildFrame* window = nullptr;
};

TEST_F(DataPanelTest, MeasuringShowsThePanelAndAppendsRowsOnTheToolsTab) {
    EXPECT_FALSE(frame().dataPanel()->isVisible());
    run(kIdMeasureLine);
    EXPECT_TRUE(frame().dataPanel()->isVisible());
    EXPECT_EQ(frame().dataPanel()->windowTitle(), QStringLiteral("Results"));

    drag(at(10, 20), at(60, 20));
    EXPECT_EQ(panel().currentTab(), MeasureKind::Line);
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(row(0),
              (std::vector<std::string>{"(1)", "50.000", "0.000", "10.000", "20.000", "35.000",
                                        "20.000", "60.000", "20.000", "50.000", "0.000"}));
    EXPECT_EQ(header(0), "No");
    EXPECT_EQ(header(1), "Length(Error)");
    EXPECT_EQ(header(10), "DY(Error)");
    EXPECT_EQ(header(11), "");
    EXPECT_EQ(list().columnCount(), 27);
    EXPECT_EQ(list().columnWidth(0), 50);
    EXPECT_EQ(list().columnWidth(26), 150);

    drag(at(10, 60), at(10, 30));
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(row(1)[0], "(2)");
    EXPECT_EQ(row(1)[2], "90.000");

    run(kIdMeasurePoint);
    click(at(7, 8));
    EXPECT_EQ(panel().currentTab(), MeasureKind::Point);
    EXPECT_EQ(header(1), "X(Error)");
    EXPECT_EQ(row(0), (std::vector<std::string>{"(1)", "7.000", "8.000"}));
    ASSERT_EQ(list().rowCount(), 1);

    // Ending the measurement tools hides the panel.
    view().endTool();
    EXPECT_FALSE(frame().dataPanel()->isVisible());
}

TEST_F(DataPanelTest, AdjustingAnItemSelectsAndUpdatesItsRow) {
    run(kIdMeasurePoint);
    click(at(20, 20));
    click(at(80, 50));
    run(kIdAdjustPoint);
    press(at(81, 51));
    EXPECT_EQ(selectedRow(), 1);
    dragTo(at(90, 60));
    EXPECT_EQ(row(1), (std::vector<std::string>{"(2)", "90.000", "60.000"}));
    release(at(90, 60));
    EXPECT_EQ(row(0), (std::vector<std::string>{"(1)", "20.000", "20.000"}));
}

TEST_F(DataPanelTest, AnotherImageBecomingActiveRefillsTheList) {
    run(kIdMeasurePoint);
    click(at(5, 5));
    click(at(15, 5));
    CChildFrame* second = newImage(100, 100);
    EXPECT_EQ(list().rowCount(), 0);
    ASSERT_TRUE(second->view().onCommand(kIdMeasurePoint));
    QTest::mouseClick(second->view().viewport(), Qt::LeftButton, {},
                      second->view().logicalToClient(second->view().imageToWindow({40, 40})));
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(row(0)[1], "40.000");

    frame().mdiArea()->setActiveSubWindow(window);
    settle();
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(row(1)[1], "15.000");

    // Closing lets the points go without a file.
    prompts.answers = {MessageAnswer::Discard, MessageAnswer::Discard};
    window->close();
    settle();
    ASSERT_EQ(list().rowCount(), 1);
    second->close();
    settle();
    EXPECT_EQ(list().rowCount(), 0);
    window = nullptr;
}

TEST_F(DataPanelTest, DeleteKeyRemovesTheItemRenumbersAndTheViewStopsDrawingIt) {
    run(kIdMeasurePoint);
    click(at(30, 30));
    click(at(100, 80));
    click(at(60, 60));
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(shown(at(30, 30)), red);

    clickRow(0);
    QTest::keyClick(&list(), Qt::Key_Delete);
    ASSERT_EQ(data().ItemCount(MeasureKind::Point), 2);
    EXPECT_EQ(data().points()[0], (PixelPoint{100, 80}));
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(row(0), (std::vector<std::string>{"(1)", "100.000", "80.000"}));
    EXPECT_EQ(row(1), (std::vector<std::string>{"(2)", "60.000", "60.000"}));
    EXPECT_EQ(selectedRow(), 0);
    settle();
    EXPECT_NE(shown(at(30, 30)), red);
    EXPECT_EQ(shown(at(100, 80)), red);

    // The last row: nothing is selected afterwards.
    clickRow(1);
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_EQ(list().rowCount(), 1);
    EXPECT_EQ(selectedRow(), -1);
    QTest::keyClick(&list(), Qt::Key_Delete); // no selection: nothing happens
    EXPECT_EQ(data().ItemCount(MeasureKind::Point), 1);
}

TEST_F(DataPanelTest, DoubleClickDeletesAndPointPairsFollow) {
    run(kIdMeasurePoint);
    for (const QPoint p : {QPoint(10, 10), QPoint(40, 10), QPoint(70, 10), QPoint(100, 10)})
        click(at(p.x(), p.y()));
    ASSERT_TRUE(data().AppendPointPair(0, 1));
    ASSERT_TRUE(data().AppendPointPair(2, 3));
    ASSERT_TRUE(data().AppendPointPair(0, 3));
    clickRow(1);
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {},
                       list().visualItemRect(list().item(1, 1)).center());
    ASSERT_EQ(data().ItemCount(MeasureKind::Point), 3);
    const std::vector<int32_t> pairs(data().pointPairs().begin(), data().pointPairs().end());
    EXPECT_EQ(pairs, (std::vector<int32_t>{1, 2, 0, 2}));
}

TEST_F(DataPanelTest, DeletingTheItemAnAdjustToolHoldsIsSafe) {
    run(kIdMeasureLine);
    drag(at(10, 10), at(60, 10));
    run(kIdAdjustLine);
    press(at(60, 10));
    EXPECT_EQ(selectedRow(), 0);
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_EQ(data().ItemCount(MeasureKind::Line), 0);
    dragTo(at(70, 30));
    release(at(70, 30));
    settle();
    EXPECT_EQ(data().ItemCount(MeasureKind::Line), 0);
    EXPECT_EQ(list().rowCount(), 0);
}

TEST_F(DataPanelTest, ErrorDetectAndToleranceDialogJudgeTheCells) {
    run(kIdMeasureLine);
    drag(at(10, 20), at(60, 20));
    QTest::mouseClick(Child<QCheckBox>(panel(), "errorDetect"), Qt::LeftButton);
    EXPECT_EQ(row(0)[1], "50.000(50.000Error)");
    EXPECT_EQ(row(0)[2], "0.000(0.000Pass)");

    WithModalDialog([&] { clickButton("tolerance"); },
                    [](QDialog& dialog) {
                        auto* tabs = Child<QTabBar>(dialog, "tabs");
                        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
                        TypeInto(Child<QLineEdit>(dialog, "standard"), QStringLiteral("50.2"));
                        TypeInto(Child<QLineEdit>(dialog, "upper"), QStringLiteral("0.5"));
                        TypeInto(Child<QLineEdit>(dialog, "lower"), QStringLiteral("-0.5"));
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(app->tolerance().entries[2], (ToleranceEntry{50.2, 0.5, -0.5}));
    EXPECT_EQ(row(0)[1], "50.000(-0.200Pass)");

    WithModalDialog([&] { clickButton("tolerance"); },
                    [](QDialog& dialog) {
                        TypeInto(Child<QLineEdit>(dialog, "standard"), QStringLiteral("9"));
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_EQ(app->tolerance().entries[0].standard, 0.0);

    QTest::mouseClick(Child<QCheckBox>(panel(), "errorDetect"), Qt::LeftButton);
    EXPECT_EQ(row(0)[1], "50.000");
}

TEST_F(DataPanelTest, OutputDialogSetsTheItemsTheSaveWrites) {
    run(kIdMeasureLine);
    drag(at(10, 20), at(60, 20));
    WithModalDialog([&] { clickButton("output"); },
                    [](QDialog& dialog) {
                        QTest::mouseClick(Child<QPushButton>(dialog, "clear"), Qt::LeftButton);
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_TRUE(app->outputSelection().items().empty());

    const std::string path = tempPath("Result.Txt");
    prompts.fileNames.push_back(path);
    clickButton("save");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].proposedName, "Result");
    EXPECT_EQ(prompts.fileRequests[0].defaultExtension, "Txt");
    const Bytes bytes = ReadFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    // A line feed, the date line, the line kind's two line feeds and the last one.
    EXPECT_TRUE(std::regex_match(text, std::regex("\n[0-9: ]+,  [A-Za-z, 0-9]+\n\n\n\n"))) << text;

    WithModalDialog([&] { clickButton("output"); },
                    [](QDialog& dialog) {
                        QTest::mouseClick(Child<QPushButton>(dialog, "all"), Qt::LeftButton);
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    const std::string csv = tempPath("Result.CSV");
    prompts.fileNames.push_back(csv);
    clickButton("save");
    const Bytes table = ReadFileBytes(csv);
    EXPECT_TRUE(std::string(table.begin(), table.end())
                    .starts_with("Image,Unit,XScale,YScale,Calibration,Kind,No,X(Point)"));
}

TEST_F(DataPanelTest, SaveWithoutItemsSaysSo) {
    run(kIdMeasurePoint);
    clickButton("save");
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"No data to output!"}));
    EXPECT_TRUE(prompts.fileRequests.empty());
}

int PdfPages(const std::string& pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    if (!info.waitForFinished(30000))
        return -1;
    const std::string text = info.readAllStandardOutput().toStdString();
    const size_t at = text.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + 6));
}

TEST_F(DataPanelTest, PrintGoesThroughThePrintDialogToThePrinter) {
    run(kIdMeasureRectangle);
    clickButton("print");
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"There is no data to output!"}));
    EXPECT_EQ(prompts.printRequests, 0);

    drag(at(10, 10), at(50, 30));
    const std::string pdf = tempPath("results.pdf");
    QPrinter& printer = ApplicationPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    prompts.printAnswers.push_back(false);
    clickButton("print");
    EXPECT_EQ(prompts.printRequests, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));

    clickButton("print");
    EXPECT_EQ(prompts.printRequests, 2);
    EXPECT_EQ(PdfPages(pdf), 1);
    printer.setOutputFileName(QString());
}

TEST_F(DataPanelTest, ClearButtonAndMenuCommandEmptyTheList) {
    run(kIdMeasurePoint);
    click(at(10, 10));
    click(at(20, 20));
    prompts.answers.push_back(MessageAnswer::Cancel);
    clickButton("clear");
    EXPECT_EQ(list().rowCount(), 2);
    clickButton("clear");
    EXPECT_EQ(prompts.texts().back(), "To clear all data?");
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_EQ(data().ItemCount(MeasureKind::Point), 0);

    click(at(30, 30));
    ASSERT_EQ(list().rowCount(), 1);
    ASSERT_TRUE(frame().router().dispatch(kIdClearMeasuredData));
    EXPECT_EQ(list().rowCount(), 0);
}

// Rows the list shows whole in its viewport now.
int WholeRowsShown(QTableWidget& list) {
    return list.viewport()->height() / list.verticalHeader()->defaultSectionSize();
}

TEST_F(DataPanelTest, OpensAboveTheIndexStripShowingEightRowsThenStaysWhereItIsPut) {
    run(kIdMeasureLine);
    QDockWidget* dock = frame().dataPanel();
    ASSERT_TRUE(dock->isVisible());
    QWidget* strip = frame().indexPanel();
    ASSERT_TRUE(strip->isVisible());
    settle();
    EXPECT_FALSE(dock->frameGeometry().intersects(strip->frameGeometry()))
        << "the panel covers the index strip";
    EXPECT_LE(dock->frameGeometry().bottom(), strip->frameGeometry().top());
    EXPECT_GE(dock->frameGeometry().top(), 0);
    EXPECT_GE(WholeRowsShown(list()), CDataPanel::kOpeningRows);

    // Moved and made smaller by the user, hidden by Exit, shown again by the
    // View menu and by a measurement tool: where the user left it.
    dock->setGeometry(QRect(200, 150, 640, 160));
    const QRect put = dock->geometry();
    clickButton("exit");
    ASSERT_TRUE(frame().onCommand(kIdViewDataPanel));
    EXPECT_EQ(dock->geometry(), put);
    clickButton("exit");
    view().endTool();
    run(kIdMeasurePoint);
    ASSERT_TRUE(dock->isVisible());
    EXPECT_EQ(dock->geometry(), put);
}

TEST_F(DataPanelTest, ExitHidesAndTheViewMenuTogglesThePanel) {
    run(kIdMeasurePoint);
    clickButton("exit");
    EXPECT_FALSE(frame().dataPanel()->isVisible());
    ASSERT_TRUE(frame().onCommand(kIdViewDataPanel));
    EXPECT_TRUE(frame().dataPanel()->isVisible());
    EXPECT_TRUE(frame().dataPanel()->isFloating());
    ASSERT_TRUE(frame().onCommand(kIdViewDataPanel));
    EXPECT_FALSE(frame().dataPanel()->isVisible());
}

} // namespace
} // namespace halvera::testing
