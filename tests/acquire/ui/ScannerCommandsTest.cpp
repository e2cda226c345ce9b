// Select scanner, Scan and the scan window in the running application, with
// the scanner library on a private configuration (pnm and test backends).
#include "acquire/ui/ScannerCommands.h"

#include "DialogDriving.h"
#include "PnmFiles.h"
#include "SaneTestConfig.h"
#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "acquire/ui/ScanOptionPanel.h"
#include "acquire/ui/ScanWindow.h"
#include "acquire/ui/SelectScannerDialog.h"
#include "view/CommandIds.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <set>

namespace halvera::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kWaitMs = 30000;

Bgr Pattern(int x, int y) {
    return Bgr{uint8_t(9 * x + y), uint8_t(255 - 4 * y), uint8_t(x * y)};
}

// Works the "Select scanner" dialog once it is up: it opens when the device
// list has come, inside the command's own wait, so a timer looks for it. A
// dialog still open after a while is cancelled, so no test blocks.
void WorkSelectDialog(const std::function<void(CSelectScannerDialog&)>& act, bool& done) {
    auto* look = new QTimer;
    QObject::connect(look, &QTimer::timeout, look, [look, act, &done] {
        auto* dialog = qobject_cast<CSelectScannerDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        look->stop();
        look->deleteLater();
        QApplication::setActiveWindow(dialog);
        act(*dialog);
        done = true;
    });
    look->start(10);
    QTimer::singleShot(kWaitMs, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
}

std::vector<std::string> DeviceColumn(const QTreeWidget& list, int column) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        texts.push_back(list.topLevelItem(i)->text(column).toStdString());
    return texts;
}

void SelectDevice(CSelectScannerDialog& dialog, const std::string& name) {
    QTreeWidget* list = dialog.list();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(2).toStdString() == name)
            list->setCurrentItem(list->topLevelItem(i));
    }
}

class ScannerCommandsTest : public ShellTest {
protected:
    void SetUp() override {
        UsePrivateSaneConfig({"pnm", "test"});
        ShellTest::SetUp();
    }
    void TearDown() override {
        if (app)
            ShellTest::TearDown();
    }

    CScannerCommands& scanner() { return app->scanner(); }
    bool scanEnabled() { return frame().router().state(kIdScanImage).enabled; }

    // Runs Select scanner with `act` working the dialog.
    void selectScanner(const std::function<void(CSelectScannerDialog&)>& act) {
        bool done = false;
        WorkSelectDialog(act, done);
        frame().router().dispatch(kIdSelectScanner);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return done && !QApplication::activeModalWidget(); }, kWaitMs));
    }

    // Scans from `source` with a scan window, which is returned once it is up.
    CScanWindow* openScanWindow(const std::string& source) {
        app->settings().ScannerSource = source;
        frame().router().dispatch(kIdScanImage);
        EXPECT_TRUE(QTest::qWaitFor([&] { return scanner().scanWindow() != nullptr; }, kWaitMs));
        CScanWindow* window = scanner().scanWindow();
        if (window) {
            QApplication::setActiveWindow(window);
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        }
        return window;
    }

    static QWidget* editor(CScanWindow& window, const char* name) {
        QWidget* widget = window.options()->editor(name);
        EXPECT_NE(widget, nullptr) << "no editor for " << name;
        return widget;
    }

    // Waits until the device has answered the last change.
    static void settleWindow(CScanWindow& window) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, kWaitMs));
    }

    // Types `text` into the field or spin box of option `name` and presses Enter.
    static void enterOption(CScanWindow& window, const char* name, const QString& text) {
        QWidget* widget = editor(window, name);
        if (!widget)
            return;
        widget->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->selectAll();
        else if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
            spin->selectAll();
        QTest::keyClicks(widget, text);
        QTest::keyClick(widget, Qt::Key_Return);
        settleWindow(window);
    }

    // The number a spin box of option `name` shows.
    static double spinValue(CScanWindow& window, const char* name) {
        if (auto* spin = qobject_cast<QDoubleSpinBox*>(editor(window, name)))
            return spin->value();
        if (auto* spin = qobject_cast<QSpinBox*>(editor(window, name)))
            return spin->value();
        ADD_FAILURE() << name << " has no spin box";
        return -1.0;
    }

    static void clickOption(CScanWindow& window, const char* name) {
        if (QWidget* widget = editor(window, name))
            QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, widget->height() / 2));
        settleWindow(window);
    }

    // Clicks Scan and waits until the scan has ended.
    static void scanOnce(CScanWindow& window) {
        QTest::mouseClick(window.scanButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.scanning(); }, kWaitMs));
        settle();
    }

    std::string writePattern(const std::string& name, int width, int height) {
        const std::string path = tempPath(name);
        WritePpm(path, width, height, Pattern);
        return path;
    }

    Watchdog watchdog{120s, "a scanner window test"};
};

TEST_F(ScannerCommandsTest, SelectScannerListsTheDevicesAndOkKeepsTheChoice) {
    app->settings().ScannerSource = "test:1";
    std::vector<std::string> names, models;
    std::string preselected;
    selectScanner([&](CSelectScannerDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select scanner");
        names = DeviceColumn(*dialog.list(), 2);
        models = DeviceColumn(*dialog.list(), 1);
        preselected = dialog.selectedName();
        SelectDevice(dialog, "pnm:1");
        Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"pnm:0", "pnm:1", "test:0", "test:1"}));
    EXPECT_EQ(std::count(models.begin(), models.end(), "PNM file reader"), 2);
    EXPECT_EQ(preselected, "test:1") << "the current source starts selected";
    EXPECT_EQ(app->settings().ScannerSource, "pnm:1");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ScannerCommandsTest, CancellingTheSelectionKeepsThePreviousSource) {
    app->settings().ScannerSource = "pnm:1";
    selectScanner([](CSelectScannerDialog& dialog) {
        SelectDevice(dialog, "test:0");
        Press(dialog, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(app->settings().ScannerSource, "pnm:1");

    // A double click chooses as OK does.
    selectScanner([](CSelectScannerDialog& dialog) {
        SelectDevice(dialog, "test:0");
        QTreeWidget* list = dialog.list();
        const QRect row = list->visualItemRect(list->currentItem());
        // A double click is a click followed by a double-click event.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    });
    EXPECT_EQ(app->settings().ScannerSource, "test:0");
}

TEST_F(ScannerCommandsTest, EveryScanFromTheOpenWindowBecomesANewImage) {
    const std::string picture = writePattern("cells.ppm", 45, 31);
    EXPECT_TRUE(scanEnabled());
    CScanWindow* window = openScanWindow("pnm:0");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(scanEnabled()) << "while the scan window is open";
    EXPECT_TRUE(window->windowTitle().endsWith("pnm:0"));
    enterOption(*window, "filename", QString::fromStdString(picture));
    EXPECT_EQ(qobject_cast<QLineEdit*>(editor(*window, "filename"))->text().toStdString(), picture)
        << "the device's own value after the change";

    scanOnce(*window);
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    const CMavDoc& first = frame().documentWindows()[0]->document();
    EXPECT_TRUE(SamePixels(first.image(), MakeRgb(45, 31, Pattern).dib())) << "bit-exact";
    EXPECT_EQ(app->settings().ImageWidth, 45) << "the new image's size is remembered";
    EXPECT_TRUE(first.IsModified()) << "a scan is in no file yet";
    EXPECT_TRUE(frame().documentWindows()[0]->isWindowModified());

    scanOnce(*window);
    EXPECT_EQ(frame().documentWindows().size(), 2u);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(window->progressBar()->isVisible());

    QTest::mouseClick(window->closeButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scanner().scanWindow() == nullptr; }, kWaitMs));
    EXPECT_TRUE(scanEnabled());
}

TEST_F(ScannerCommandsTest, AGreyScanSaysPleaseScan24BitsImageAndTheWindowStaysUsable) {
    const std::string grey = tempPath("grey.pgm");
    WritePgm(grey, 12, 7, [](int x, int y) { return uint8_t(x + y); });
    CScanWindow* window = openScanWindow("pnm:1");
    ASSERT_NE(window, nullptr);
    enterOption(*window, "filename", QString::fromStdString(grey));
    scanOnce(*window);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Please scan 24 bits image"});
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(frame().documentWindows().empty());

    enterOption(*window, "filename", QString::fromStdString(writePattern("colour.ppm", 6, 6)));
    scanOnce(*window);
    EXPECT_EQ(frame().documentWindows().size(), 1u);
}

TEST_F(ScannerCommandsTest, AFailedScanSaysTheScannersReasonAndTheWindowStaysUsable) {
    CScanWindow* window = openScanWindow("pnm:0");
    ASSERT_NE(window, nullptr);
    enterOption(*window, "filename", QString::fromStdString(tempPath("gone.ppm")));
    scanOnce(*window);
    enterOption(*window, "filename", QString::fromStdString(writePattern("cells.ppm", 8, 8)));
    clickOption(*window, "status-ioerror");
    ASSERT_TRUE(qobject_cast<QCheckBox*>(editor(*window, "status-ioerror"))->isChecked());
    scanOnce(*window);
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{
                  "The scan failed: the scanner did not start: Invalid argument.",
                  "The scan failed: the scanner stopped sending: Error during device I/O."}));
    for (const MessageRequest& message : prompts.messages)
        EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_TRUE(frame().documentWindows().empty());

    clickOption(*window, "status-ioerror");
    scanOnce(*window);
    EXPECT_EQ(frame().documentWindows().size(), 1u);
}

TEST_F(ScannerCommandsTest, AScannerThatStartsInGreyOpensInColourAndScansAColourImage) {
    CScanWindow* window = openScanWindow("test:0"); // grey in its configuration
    ASSERT_NE(window, nullptr);
    auto* mode = qobject_cast<QComboBox*>(editor(*window, "mode"));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->currentText(), "Color");
    enterOption(*window, "resolution", "25");
    scanOnce(*window);
    EXPECT_TRUE(prompts.messages.empty()) << "a grey scan would say \"Please scan 24 bits image\"";
    EXPECT_EQ(frame().documentWindows().size(), 1u);
}

TEST_F(ScannerCommandsTest, TheScanWindowComesBackWithTheOptionsSetInIt) {
    CScanWindow* window = openScanWindow("test:0");
    ASSERT_NE(window, nullptr);
    enterOption(*window, "resolution", "25");
    enterOption(*window, "br-x", "40");
    auto* mode = qobject_cast<QComboBox*>(editor(*window, "mode"));
    ASSERT_NE(mode, nullptr);
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Up); // Gray
    settleWindow(*window);
    QTest::mouseClick(window->closeButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scanner().scanWindow() == nullptr; }, kWaitMs));

    window = openScanWindow("test:0");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(qobject_cast<QComboBox*>(editor(*window, "mode"))->currentText(), "Gray")
        << "the grey the user chose, not the colour a grey scanner is opened in";
    EXPECT_EQ(spinValue(*window, "resolution"), 25.0);
    EXPECT_EQ(spinValue(*window, "br-x"), 40.0);
    QTest::mouseClick(window->closeButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scanner().scanWindow() == nullptr; }, kWaitMs));

    // Another device keeps its own options.
    window = openScanWindow("test:1");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(qobject_cast<QComboBox*>(editor(*window, "mode"))->currentText(), "Color");
    EXPECT_EQ(spinValue(*window, "resolution"), 50.0);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ScannerCommandsTest, TheWindowFollowsTheDevicesOptions) {
    CScanWindow* window = openScanWindow("test:0");
    ASSERT_NE(window, nullptr);
    for (const char* name : {"mode", "resolution", "tl-x", "tl-y", "br-x", "br-y"})
        EXPECT_NE(window->options()->editor(name), nullptr) << name;
    EXPECT_NE(window->options()->editor("three-pass"), nullptr) << "a colour option";

    auto* mode = qobject_cast<QComboBox*>(editor(*window, "mode"));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(ComboTexts(mode), (std::vector<std::string>{"Gray", "Color"}));
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Up);
    settleWindow(*window);
    EXPECT_EQ(qobject_cast<QComboBox*>(editor(*window, "mode"))->currentText(), "Gray");
    EXPECT_EQ(window->options()->editor("three-pass"), nullptr) << "grey takes it away";
    mode = qobject_cast<QComboBox*>(editor(*window, "mode"));
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Down);
    settleWindow(*window);
    EXPECT_EQ(qobject_cast<QComboBox*>(editor(*window, "mode"))->currentText(), "Color");
    EXPECT_NE(window->options()->editor("three-pass"), nullptr) << "colour brings it back";

    // The scan area decides the size of the picture.
    enterOption(*window, "br-x", "40");
    scanOnce(*window);
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    const int narrow = frame().documentWindows()[0]->document().width();
    enterOption(*window, "br-x", "80");
    scanOnce(*window);
    ASSERT_EQ(frame().documentWindows().size(), 2u);
    EXPECT_NEAR(frame().documentWindows()[1]->document().width(), 2 * narrow, 1);
}

TEST_F(ScannerCommandsTest, CancelStopsAScanAndMakesNoImage) {
    CScanWindow* window = openScanWindow("test:0");
    ASSERT_NE(window, nullptr);
    clickOption(*window, "read-delay");
    enterOption(*window, "read-delay-duration", "200000"); // 0.2 s a buffer
    enterOption(*window, "resolution", "1200");            // about a minute in all
    QTest::mouseClick(window->scanButton(), Qt::LeftButton);
    ASSERT_TRUE(window->scanning());
    EXPECT_EQ(window->scanButton()->text(), "Cancel");
    EXPECT_TRUE(window->progressBar()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->progressBar()->value() > 0; }, kWaitMs));

    QTest::mouseClick(window->scanButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->scanning(); }, kWaitMs));
    EXPECT_EQ(window->scanButton()->text(), "Scan");
    EXPECT_TRUE(prompts.messages.empty()) << "a cancelled scan says nothing";
    EXPECT_TRUE(frame().documentWindows().empty());
}

TEST_F(ScannerCommandsTest, EndingTheProgramDuringAScanCancelsItWithoutHanging) {
    CScanWindow* window = openScanWindow("test:0");
    ASSERT_NE(window, nullptr);
    clickOption(*window, "read-delay");
    enterOption(*window, "read-delay-duration", "200000");
    enterOption(*window, "resolution", "1200");
    QTest::mouseClick(window->scanButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->progressBar()->value() > 0; }, kWaitMs));
    ASSERT_TRUE(window->scanning());

    const Watchdog ending(30s, "ending the program during a scan");
    app.reset();
    settle();
    EXPECT_TRUE(prompts.messages.empty());
}

} // namespace
} // namespace halvera::testing
