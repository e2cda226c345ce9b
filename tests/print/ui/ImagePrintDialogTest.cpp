// The "Image Position Set" dialog with real clicks and drags, its printed
// page rendered back from PDF, and the Print command on a view.
#include "print/ui/ImagePrintDialog.h"

#include "DialogDriving.h"
#include "ImageFileTestSupport.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "ViewHarness.h"
#include "measure/MeasureNumber.h"
#include "print/PrintRatios.h"
#include "print/ui/PrintLayoutPane.h"
#include "view/CommandIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

// A click on the check box's indicator (its centre may lie past its text).
void ClickCheckBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

std::string FieldText(QDialog& dialog, const char* name) {
    return Child<QLineEdit>(dialog, name)->text().toStdString();
}

// A PDF printer on A4 with Qt's default margins (no printer is installed
// on a test machine).
class PdfPrinter {
public:
    explicit PdfPrinter(const std::string& path) : printer_(QPrinter::HighResolution) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(QString::fromStdString(path));
        printer_.setPageSize(QPageSize(QPageSize::A4));
    }
    QPrinter& printer() { return printer_; }

private:
    QPrinter printer_;
};

class ImagePrintDialogTest : public ::testing::Test {
protected:
    ImagePrintDialogTest()
        : image(MakeUniformRgb(300, 150, Bgr{0, 0, 255})), pdf(folder.file("page.pdf")),
          printer(pdf) {}

    // Calibrates 10 mm over 100 pixels: 0.1 mm per pixel.
    void calibrateMillimetres() {
        settings.RulerUnit = 1;
        settings.xRealRulerData = settings.yRealRulerData = 10.0;
        settings.xPixelRulerData = settings.yPixelRulerData = 100;
    }

    std::unique_ptr<CImagePrintDialog> open() {
        auto dialog = std::make_unique<CImagePrintDialog>(image.dib(), settings, printer.printer());
        dialog->resize(700, 600);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    void selectRatio(CImagePrintDialog& dialog, const char* text) {
        auto* list = Child<QComboBox>(dialog, "ratioList");
        list->setCurrentIndex(list->findText(QString::fromLatin1(text)));
    }

    ScopedRecordingPrompts prompts;
    AppSettings settings;
    DibBlock image;
    TemporaryFolder folder;
    std::string pdf;
    PdfPrinter printer;
};

TEST_F(ImagePrintDialogTest, OpensAtAThirdOfTheImageWithTheRatioListOffAtOneToOne) {
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Image Position Set"));
    EXPECT_EQ(FieldText(*dialog, "startX"), "0.000");
    EXPECT_EQ(FieldText(*dialog, "startY"), "0.000");
    EXPECT_EQ(FieldText(*dialog, "width"), "33.333");
    EXPECT_EQ(FieldText(*dialog, "height"), "16.667");
    auto* list = Child<QComboBox>(*dialog, "ratioList");
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(list->currentText(), QStringLiteral("1:1"));
    const auto texts = ComboTexts(list);
    ASSERT_EQ(texts.size(), 72u);
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(texts[i], PrintRatios()[i].text);
    // The paper is the printer's printable area: A4 less Qt's default margins.
    EXPECT_EQ(dialog->layout().paperWidth(), 202 * 3);
    EXPECT_EQ(dialog->layout().paperHeight(), 289 * 3);
}

TEST_F(ImagePrintDialogTest, RealRatioAppliesTheCalibratedSizeAndASpinArrowUnchecksIt) {
    calibrateMillimetres();
    auto dialog = open();
    auto* realRatio = Child<QCheckBox>(*dialog, "realRatio");
    ClickCheckBox(realRatio);
    EXPECT_TRUE(Child<QComboBox>(*dialog, "ratioList")->isEnabled());
    EXPECT_EQ(FieldText(*dialog, "width"), "30.000");
    selectRatio(*dialog, "2:1");
    EXPECT_EQ(dialog->layout().imageRect(), (LayoutRect{0, 0, 180, 90}));
    EXPECT_EQ(FieldText(*dialog, "width"), "60.000");
    EXPECT_EQ(FieldText(*dialog, "height"), "30.000");

    QTest::mouseClick(Child<QToolButton>(*dialog, "startXUp"), Qt::LeftButton);
    EXPECT_FALSE(realRatio->isChecked());
    EXPECT_FALSE(Child<QComboBox>(*dialog, "ratioList")->isEnabled());
    EXPECT_EQ(FieldText(*dialog, "startX"), "1.000");
    QTest::mouseClick(Child<QToolButton>(*dialog, "heightDown"), Qt::LeftButton);
    EXPECT_EQ(FieldText(*dialog, "height"), "29.000");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ImagePrintDialogTest, ARatioTooLargeWarnsAndLeavesTheFieldsAsTheyWere) {
    calibrateMillimetres();
    auto dialog = open();
    ClickCheckBox(Child<QCheckBox>(*dialog, "realRatio"));
    selectRatio(*dialog, "10:1"); // 300 mm across 202 mm of paper
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Print image size is larger than the paper!");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(FieldText(*dialog, "width"), "30.000");
    EXPECT_EQ(dialog->layout().imageRect().width(), 900);
}

TEST_F(ImagePrintDialogTest, CentreAndDefaultButtonsMoveTheImage) {
    auto dialog = open();
    QTest::mouseClick(Child<QPushButton>(*dialog, "center"), Qt::LeftButton);
    EXPECT_EQ(dialog->layout().imageRect(), (LayoutRect{253, 408, 353, 458}));
    EXPECT_EQ(FieldText(*dialog, "startX"), "84.333");
    QTest::mouseClick(Child<QPushButton>(*dialog, "default"), Qt::LeftButton);
    // Full width; the height follows the image's 2:1 and is centred down the paper.
    const LayoutRect fitted = dialog->layout().imageRect();
    EXPECT_EQ(fitted.left, 0);
    EXPECT_EQ(fitted.right, 606);
    EXPECT_NEAR(fitted.height(), 303, 1);
    EXPECT_EQ(fitted.top, (867 - fitted.height()) / 2);
}

TEST_F(ImagePrintDialogTest, DraggingTheRightBottomHandleKeepsTheProportionsUnlessCtrlIsHeld) {
    auto dialog = open();
    CPrintLayoutPane* pane = dialog->pane();
    const auto drag = [&](QPoint layoutFrom, QPoint layoutTo, Qt::KeyboardModifiers keys) {
        const QPoint from = pane->toPane(layoutFrom);
        const QPoint to = pane->toPane(layoutTo);
        QTest::mousePress(pane, Qt::LeftButton, keys, from);
        QMouseEvent move(QEvent::MouseMove, to, pane->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         keys);
        QApplication::sendEvent(pane, &move);
        QTest::mouseRelease(pane, Qt::LeftButton, keys, to);
    };
    drag({100, 50}, {250, 30}, Qt::NoModifier);
    const LayoutRect kept = dialog->layout().imageRect();
    EXPECT_NEAR(kept.width(), 250, 3);
    EXPECT_EQ(kept.height(), kept.width() / 2);
    EXPECT_EQ(FieldText(*dialog, "width"), dialog->layout().Fields()[2]);

    drag({kept.right, kept.bottom}, {300, 60}, Qt::ControlModifier);
    const LayoutRect free = dialog->layout().imageRect();
    EXPECT_NEAR(free.width(), 300, 3);
    EXPECT_NEAR(free.height(), 60, 3);
    EXPECT_NE(free.height(), free.width() / 2);
}

TEST_F(ImagePrintDialogTest, TypingATitleGrabsIt) {
    auto dialog = open();
    TypeInto(Child<QLineEdit>(*dialog, "title"), QStringLiteral("Slide 4"));
    EXPECT_EQ(dialog->title().text, QStringLiteral("Slide 4"));
    EXPECT_EQ(dialog->pane()->grabbedPart(), kPartTitle);
}

TEST_F(ImagePrintDialogTest, ATitleStandsAboveThePictureUntilTheUserMovesIt) {
    calibrateMillimetres();
    auto dialog = open();
    // The picture starts at the paper's top: typing a title makes room above it.
    TypeInto(Child<QLineEdit>(*dialog, "title"), QStringLiteral("Slide 4"));
    const LayoutRect title = dialog->title().rect;
    LayoutRect picture = dialog->layout().imageRect();
    EXPECT_EQ(title.top, 0);
    EXPECT_GT(title.height(), 0);
    EXPECT_EQ(title.bottom, picture.top);
    EXPECT_EQ(picture.height(), 50) << "the picture keeps its size";
    EXPECT_EQ(FieldText(*dialog, "startY"), FormatMeasureValue(picture.top / 3.0));

    // At a real ratio, centred: still above, the size exact.
    ClickCheckBox(Child<QCheckBox>(*dialog, "realRatio"));
    QTest::mouseClick(Child<QPushButton>(*dialog, "center"), Qt::LeftButton);
    picture = dialog->layout().imageRect();
    EXPECT_EQ(picture.width(), 90);
    EXPECT_EQ(dialog->title().rect.bottom, picture.top);
    EXPECT_EQ(dialog->title().rect.left, picture.left);

    // Dragged by the user, the title stays where it was put.
    CPrintLayoutPane* pane = dialog->pane();
    const QPoint from = pane->toPane({dialog->title().rect.left + 2, dialog->title().rect.top + 2});
    const QPoint to = pane->toPane({30, 800});
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, pane->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(pane, &move);
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, to);
    const LayoutRect moved = dialog->title().rect;
    EXPECT_NEAR(moved.top, 800 - 2, 3);
    QTest::mouseClick(Child<QPushButton>(*dialog, "default"), Qt::LeftButton);
    EXPECT_EQ(dialog->title().rect, moved);
}

TEST_F(ImagePrintDialogTest, FontButtonReplacesTheTitleFontAndColourOnOkOnly) {
    auto dialog = open();
    QTest::mouseClick(Child<QPushButton>(*dialog, "font"), Qt::LeftButton);
    EXPECT_EQ(prompts.textFontRequests, 1);
    EXPECT_EQ(dialog->title().font.pixelSize(), 20);
    EXPECT_EQ(dialog->title().colour, QColor(Qt::black));

    TextAttributes chosen;
    chosen.faceName = "Liberation Serif";
    chosen.height = -30;
    chosen.colour = 0x000000FF; // red
    prompts.textFonts.push_back(chosen);
    QTest::mouseClick(Child<QPushButton>(*dialog, "font"), Qt::LeftButton);
    EXPECT_EQ(dialog->title().font.pixelSize(), 30);
    EXPECT_EQ(dialog->title().font.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(dialog->title().colour, QColor(255, 0, 0));
}

// The bounding box of the pure red pixels of a rendered page.
QRect RedArea(const QImage& page) {
    QRect area;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            if (qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60)
                area |= QRect(x, y, 1, 1);
        }
    return area;
}

TEST_F(ImagePrintDialogTest, PrintedPageShowsTheImageAtTheRectangleWithinAPixel) {
    calibrateMillimetres();
    auto dialog = open();
    ClickCheckBox(Child<QCheckBox>(*dialog, "realRatio"));
    QTest::mouseClick(Child<QPushButton>(*dialog, "center"), Qt::LeftButton);
    TypeInto(Child<QLineEdit>(*dialog, "title"), QStringLiteral("Slide 4"));
    QTest::mouseClick(Child<QPushButton>(*dialog, "print"), Qt::LeftButton);
    EXPECT_EQ(prompts.printRequests, 1);
    EXPECT_EQ(printer.printer().docName(), QStringLiteral("Halvera"));

    constexpr int kDpi = 100;
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(kDpi),
                  QStringLiteral("-singlefile"), QString::fromStdString(pdf),
                  QString::fromStdString(folder.file("page"))});
    ASSERT_TRUE(render.waitForFinished(30000));
    ASSERT_EQ(render.exitCode(), 0);
    const QImage page(QString::fromStdString(folder.file("page.png")));
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-bbox"), QString::fromStdString(pdf), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    // The title's words, in points from the page's top, end above the picture.
    const QRegularExpression slide(
        QStringLiteral(R"re(<word xMin="[0-9.]+" yMin="[0-9.]+" xMax="[0-9.]+" )re"
                       R"re(yMax="([0-9.]+)">Slide</word>)re"));
    const QRegularExpressionMatch found = slide.match(words);
    ASSERT_TRUE(found.hasMatch()) << words.toStdString();
    const double titleBottom = found.captured(1).toDouble() * kDpi / 72.0;
    ASSERT_FALSE(page.isNull());
    EXPECT_LE(titleBottom, RedArea(page).top() + 1.0);

    // Where the layout puts the image, from the printable area's corner.
    QPrinter& p = printer.printer();
    const DeviceRect device =
        dialog->layout().ToDevice(dialog->layout().imageRect(), p.width(), p.height());
    const QRect printable = p.pageLayout().paintRectPixels(p.resolution());
    const double scale = static_cast<double>(kDpi) / p.resolution();
    const QRect red = RedArea(page);
    // Each edge within a pixel (a partly covered pixel renders red).
    const double left = (printable.left() + device.left) * scale;
    const double top = (printable.top() + device.top) * scale;
    EXPECT_NEAR(red.left(), left, 1.0);
    EXPECT_NEAR(red.top(), top, 1.0);
    EXPECT_NEAR(red.right() + 1, left + device.width * scale, 1.0);
    EXPECT_NEAR(red.bottom() + 1, top + device.height * scale, 1.0);
    // 30 x 15 mm at 100 dpi, less than two partly covered pixels more.
    EXPECT_NEAR(red.width(), 30 / 25.4 * kDpi, 2.0);
    EXPECT_NEAR(red.height(), 15 / 25.4 * kDpi, 2.0);
}

// A strip of the PDF page rendered at `dpi`, from pixel (x, y), `width` x
// `height` pixels: fine enough to measure a printed length to a hundredth
// of a millimetre without rendering the whole page that finely.
QImage RenderPdfStrip(const std::string& pdf, const std::string& png, int dpi, QRect strip) {
    QProcess render;
    const QString base = QString::fromStdString(png).chopped(4);
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                  QStringLiteral("-x"), QString::number(strip.x()), QStringLiteral("-y"),
                  QString::number(strip.y()), QStringLiteral("-W"), QString::number(strip.width()),
                  QStringLiteral("-H"), QString::number(strip.height()),
                  QStringLiteral("-singlefile"), QString::fromStdString(pdf), base});
    if (!render.waitForFinished(30000) || render.exitCode() != 0)
        return {};
    return QImage(QString::fromStdString(png));
}

// How many pixels of the one-pixel strip lie from its first pure red pixel
// to its last.
int RedRunLength(const QImage& strip) {
    int first = -1, last = -1;
    const int length = std::max(strip.width(), strip.height());
    for (int i = 0; i < length; ++i) {
        const QRgb c = strip.width() > 1 ? strip.pixel(i, 0) : strip.pixel(0, i);
        if (qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60) {
            first = first < 0 ? i : first;
            last = i;
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

// 1000 x 500 pixels calibrated at 200 um per 1000 pixels, printed at 500:1:
// 100 x 50 mm on paper, whatever fraction of a millimetre the printable area
// has beyond its whole millimetres.
TEST_F(ImagePrintDialogTest, RealRatioPrintsTheCalibratedSizeToAFewHundredthsOfAMillimetre) {
    image = MakeUniformRgb(1000, 500, Bgr{0, 0, 255});
    settings.RulerUnit = 0; // um
    settings.xRealRulerData = settings.yRealRulerData = 200.0;
    settings.xPixelRulerData = settings.yPixelRulerData = 1000;
    auto dialog = open();
    ClickCheckBox(Child<QCheckBox>(*dialog, "realRatio"));
    selectRatio(*dialog, "500:1");
    EXPECT_EQ(FieldText(*dialog, "width"), "100.000");
    EXPECT_EQ(FieldText(*dialog, "height"), "50.000");
    QTest::mouseClick(Child<QPushButton>(*dialog, "print"), Qt::LeftButton);
    ASSERT_EQ(prompts.printRequests, 1);

    constexpr int kDpi = 2540; // 100 pixels per millimetre
    constexpr double kPixelsPerMm = kDpi / 25.4;
    const QRectF printable = printer.printer().pageLayout().paintRect(QPageLayout::Millimeter);
    const QRectF page = printer.printer().pageLayout().fullRect(QPageLayout::Millimeter);
    // Across the middle of the image, and down it.
    const int middleY = static_cast<int>((printable.top() + 25.0) * kPixelsPerMm);
    const int middleX = static_cast<int>((printable.left() + 50.0) * kPixelsPerMm);
    const QImage across =
        RenderPdfStrip(pdf, folder.file("across.png"), kDpi,
                       QRect(0, middleY, static_cast<int>(page.width() * kPixelsPerMm), 1));
    const QImage down =
        RenderPdfStrip(pdf, folder.file("down.png"), kDpi,
                       QRect(middleX, 0, 1, static_cast<int>(page.height() * kPixelsPerMm)));
    ASSERT_FALSE(across.isNull());
    ASSERT_FALSE(down.isNull());
    const double width = RedRunLength(across) / kPixelsPerMm;
    const double height = RedRunLength(down) / kPixelsPerMm;
    EXPECT_NEAR(width, 100.0, 100.0 * 0.0005);
    EXPECT_NEAR(height, 50.0, 50.0 * 0.0005);
}

TEST_F(ImagePrintDialogTest, CancelledPrintDialogPrintsNothing) {
    prompts.printAnswers.push_back(false);
    auto dialog = open();
    QTest::mouseClick(Child<QPushButton>(*dialog, "print"), Qt::LeftButton);
    EXPECT_EQ(prompts.printRequests, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST(PrintCommand, OpensTheDialogForTheViewsImage) {
    ScopedRecordingPrompts prompts;
    ViewHarness harness(300, 150);
    bool opened = false;
    WithModalDialog([&] { ASSERT_TRUE(harness.view().onCommand(kIdFilePrint)); },
                    [&](QDialog& dialog) {
                        opened = dialog.windowTitle() == QStringLiteral("Image Position Set");
                        EXPECT_EQ(FieldText(dialog, "width"), "33.333");
                        QTest::mouseClick(Child<QPushButton>(dialog, "exit"), Qt::LeftButton);
                    });
    EXPECT_TRUE(opened);
}

} // namespace
} // namespace halvera::testing
