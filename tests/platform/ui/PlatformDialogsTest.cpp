#include "DialogDriving.h"
#include "RecordingPrompts.h"
#include "platform/ui/FileDialogFilter.h"
#include "platform/ui/JpegQualityDialog.h"
#include "platform/ui/QtUserPrompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace halvera {
namespace {

bool Matches(const QString& patterns, const QString& name) {
    for (const QString& pattern : patterns.split(u' ', Qt::SkipEmptyParts)) {
        const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern));
        if (wildcard.match(name).hasMatch())
            return true;
    }
    return false;
}

TEST(FileDialogFilter, ConvertsNamesAndPatterns) {
    const QStringList filters =
        ConvertFileFilter("HLV file(*.bmp; *.jpg)|*.bmp; *.jpg|Other files(*.*)|*.*||");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters[0].startsWith(QStringLiteral("HLV file(*.bmp; *.jpg) (")));
    EXPECT_TRUE(filters[1].startsWith(QStringLiteral("Other files(*.*) (")));
    EXPECT_EQ(FilterPatterns(filters[1]), QStringLiteral("*"));
}

TEST(FileDialogFilter, PatternsMatchTheExtensionInAnyCase) {
    const QString images =
        FilterPatterns(ConvertFileFilter("HLV file(*.bmp; *.jpg)|*.bmp; *.jpg||")[0]);
    EXPECT_TRUE(Matches(images, "cells.bmp"));
    EXPECT_TRUE(Matches(images, "CELLS.BMP"));
    EXPECT_TRUE(Matches(images, "photo.JpG"));
    EXPECT_FALSE(Matches(images, "photo.jpeg"));
    EXPECT_FALSE(Matches(images, "notes.txt"));
    const QString all = FilterPatterns(ConvertFileFilter("Other files(*.*)|*.*||")[0]);
    EXPECT_TRUE(Matches(all, "README"));
}

TEST(FileDialogFilter, EachTypeGivesTheSuffixOfItsFirstPattern) {
    const QStringList filters =
        ConvertFileFilter("All pictures(*.bmp; *.png)|*.bmp; *.png|PNG file(*.png)|*.png|"
                          "TIFF file(*.tif; *.tiff)|*.tif; *.tiff|Other files(*.*)|*.*||");
    ASSERT_EQ(filters.size(), 4);
    EXPECT_EQ(FilterSuffix(filters[0]), QStringLiteral("bmp"));
    EXPECT_EQ(FilterSuffix(filters[1]), QStringLiteral("png"));
    EXPECT_EQ(FilterSuffix(filters[2]), QStringLiteral("tif"));
    EXPECT_EQ(FilterSuffix(filters[3]), QString());
    EXPECT_TRUE(Matches(FilterPatterns(filters[2]), "scan.TIFF"));
}

TEST(JpegQualityDialog, StartsAt75WithTheExplanation) {
    JpegQualityDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quality"));
    EXPECT_EQ(dialog.slider()->minimum(), 0);
    EXPECT_EQ(dialog.slider()->maximum(), 100);
    EXPECT_EQ(dialog.slider()->tickInterval(), 10);
    EXPECT_EQ(dialog.slider()->value(), 75);
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("75"));
    bool found = false;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        found |= label->text() ==
                 QStringLiteral("Compression:\n    0:The lower image quality, the higher "
                                "compression rate;\n  100:The higher image quality, the Lower "
                                "compression rate.");
    }
    EXPECT_TRUE(found);
}

TEST(JpegQualityDialog, SliderAndEditFollowEachOther) {
    JpegQualityDialog dialog;
    dialog.show();
    dialog.slider()->setFocus();
    QTest::keyClick(dialog.slider(), Qt::Key_PageUp);
    EXPECT_EQ(dialog.edit()->text(), QString::number(dialog.slider()->value()));
    EXPECT_NE(dialog.slider()->value(), 75);

    dialog.edit()->selectAll();
    QTest::keyClicks(dialog.edit(), "33");
    EXPECT_EQ(dialog.slider()->value(), 33);
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("33"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.quality(), 33);

    // Not remembered: the next dialog starts at 75 again.
    JpegQualityDialog next;
    EXPECT_EQ(next.quality(), 75);
}

TEST(JpegQualityDialog, OkRefusesAValueOutsideTheRange) {
    testing::ScopedRecordingPrompts prompts;
    JpegQualityDialog dialog;
    dialog.show();
    dialog.edit()->selectAll();
    QTest::keyClicks(dialog.edit(), "150");
    // The slider follows even a value out of range, held at its end.
    EXPECT_EQ(dialog.slider()->value(), 100);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"Please enter an integer between 0 and 100."});
    dialog.edit()->selectAll();
    QTest::keyClicks(dialog.edit(), "-7");
    EXPECT_EQ(dialog.slider()->value(), 0);
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("-7")) << "the edit keeps what was typed";
    dialog.edit()->selectAll();
    QTest::keyClicks(dialog.edit(), "x");
    EXPECT_EQ(dialog.slider()->value(), 0) << "text that is no number leaves the slider";
    dialog.edit()->selectAll();
    QTest::keyClicks(dialog.edit(), "0");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.quality(), 0);
}

// The question about unsaved work offers the desktop's Save, Discard and
// Cancel, and each button gives its own answer.
// The Qt message boxes; the "New image size" question belongs to the
// application (ShellPrompts) and is not asked here.
class QtMessagePrompts : public QtUserPrompts {
public:
    std::optional<ImageSize> askNewImageSize(AppSettings&) override { return std::nullopt; }
};

TEST(QtUserPrompts, SaveDiscardCancelQuestionsAnswerWithTheButtonClicked) {
    QtMessagePrompts prompts;
    const MessageRequest request{"Keep the measurements of cells.bmp?", "", MessageIcon::Warning,
                                 MessageButtons::SaveDiscardCancel};
    for (const auto& [button, answer] : {std::pair{QMessageBox::Save, MessageAnswer::Save},
                                         std::pair{QMessageBox::Discard, MessageAnswer::Discard},
                                         std::pair{QMessageBox::Cancel, MessageAnswer::Cancel}}) {
        MessageAnswer given = MessageAnswer::Ok;
        testing::WithModalDialog([&] { given = prompts.showMessage(request); },
                                 [&](QDialog& dialog) {
                                     auto* box = qobject_cast<QMessageBox*>(&dialog);
                                     ASSERT_NE(box, nullptr);
                                     EXPECT_EQ(box->text(), "Keep the measurements of cells.bmp?");
                                     EXPECT_EQ(box->standardButtons(), QMessageBox::Save |
                                                                           QMessageBox::Discard |
                                                                           QMessageBox::Cancel);
                                     QTest::mouseClick(box->button(button), Qt::LeftButton);
                                 });
        EXPECT_EQ(given, answer);
    }
}

// The one-line question shows its caption, question and proposed text, and
// gives what was typed on OK and nothing on Cancel.
TEST(QtUserPrompts, TextQuestionsGiveWhatWasTypedOrNothing) {
    QtMessagePrompts prompts;
    const TextRequest request{"Save as preset", "Name of the preset:", "10x objective"};
    std::optional<std::string> typed;
    testing::WithModalDialog([&] { typed = prompts.askText(request); },
                             [&](QDialog& dialog) {
                                 auto* input = qobject_cast<QInputDialog*>(&dialog);
                                 ASSERT_NE(input, nullptr);
                                 EXPECT_EQ(input->windowTitle(), "Save as preset");
                                 EXPECT_EQ(input->labelText(), "Name of the preset:");
                                 auto* field = input->findChild<QLineEdit*>();
                                 ASSERT_NE(field, nullptr);
                                 EXPECT_EQ(field->text(), "10x objective");
                                 testing::TypeInto(field, QStringLiteral("40x oil"));
                                 QTest::keyClick(field, Qt::Key_Return);
                             });
    EXPECT_EQ(typed, "40x oil");

    typed = "unchanged";
    testing::WithModalDialog([&] { typed = prompts.askText(request); },
                             [&](QDialog& dialog) {
                                 auto* field = dialog.findChild<QLineEdit*>();
                                 ASSERT_NE(field, nullptr);
                                 QTest::keyClicks(field, "x");
                                 QTest::keyClick(field, Qt::Key_Escape);
                             });
    EXPECT_EQ(typed, std::nullopt);
}

// The folder question is a file dialog that offers folders only; the folder
// typed and confirmed is the answer, Cancel gives none.
TEST(QtUserPrompts, TheFolderQuestionAnswersWithTheFolderChosen) {
    QtMessagePrompts prompts;
    QTemporaryDir parent;
    ASSERT_TRUE(QDir(parent.path()).mkdir(QStringLiteral("batch7")));
    const QString folder = parent.filePath(QStringLiteral("batch7"));
    std::optional<std::string> chosen;
    testing::WithModalDialog([&] { chosen = prompts.askFolderName("Run recipe on a folder"); },
                             [&](QDialog& dialog) {
                                 auto* files = qobject_cast<QFileDialog*>(&dialog);
                                 ASSERT_NE(files, nullptr);
                                 EXPECT_EQ(files->windowTitle(), "Run recipe on a folder");
                                 EXPECT_EQ(files->fileMode(), QFileDialog::Directory);
                                 auto* name = testing::Child<QLineEdit>(dialog, "fileNameEdit");
                                 testing::TypeInto(name, folder);
                                 QTest::keyClick(name, Qt::Key_Return);
                             });
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QDir(QString::fromStdString(*chosen)), QDir(folder));

    chosen = "not asked";
    testing::WithModalDialog([&] { chosen = prompts.askFolderName("Run recipe on a folder"); },
                             [](QDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(chosen.has_value());
}

} // namespace
} // namespace halvera
