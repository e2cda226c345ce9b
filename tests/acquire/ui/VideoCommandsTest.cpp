// The Video menu's commands in the running program, on the simulated camera:
// their enable rules, the dialogs, preview and snap, capture with its time
// limit, and playback.
#include "acquire/ui/VideoCommands.h"

#include "DialogDriving.h"
#include "ShellFixture.h"
#include "TestVideoFiles.h"
#include "VideoTestSupport.h"
#include "acquire/SimulatedCamera.h"
#include "acquire/VideoMessages.h"
#include "acquire/VideoTexts.h"
#include "acquire/ui/VideoCapture.h"
#include "acquire/ui/VideoPlayer.h"
#include "acquire/ui/VideoPreview.h"
#include "acquire/ui/VideoWindow.h"
#include "view/CommandIds.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <filesystem>

namespace halvera::testing {
namespace {

constexpr int kWaitMs = 5000;

// The commands enabled only while a preview runs, a capture runs, a file is loaded.
const int kPreviewCommands[] = {kIdPausePreview, kIdQuitPreview, kIdPreviewSnap, kIdVideoFilter};
const int kCaptureCommands[] = {kIdPauseCapture, kIdQuitCapture};
const int kPlayCommands[] = {kIdSetPlayRate, kIdPlaySnap,      kIdPlayRun,       kIdPlayPause,
                             kIdPlayToStart, kIdPlayPrevFrame, kIdPlayNextFrame, kIdPlayToEnd,
                             kIdPlayRestart, kIdQuitPlay};
const int kAlwaysEnabled[] = {kIdPreview,        kIdCaptureToDisc,      kIdSetCaptureTimeLimit,
                              kIdSetCaptureRate, kIdSetCaptureFileName, kIdSelectVideoSource,
                              kIdOpenPlayFile};

bool AllPixelsEqual(const CDibImage& image) {
    const uint8_t first = image.row(0)[0];
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* row = image.row(y);
        for (int32_t x = 0; x < image.width() * 3; ++x)
            if (row[x] != first)
                return false;
    }
    return true;
}

class VideoCommandsTest : public ShellTest {
protected:
    void SetUp() override {
        UseSimulatedCamera();
        ShellTest::SetUp();
        const std::optional<int> index = SimulatedCameraIndex();
        ASSERT_TRUE(index.has_value());
        camera = *index;
    }
    void TearDown() override {
        SetSimulatedCamerasUnplugged(false);
        SetSimulatedCameraCount(1);
        ShellTest::TearDown();
    }

    void selectCamera() {
        app->settings().CaptureDevice = camera;
        app->settings().CaptureName = kSimulatedCameraName;
    }
    CVideoCommands& video() { return frame().video(); }
    bool enabled(int id) { return frame().router().state(id).enabled; }
    bool run(int id) { return frame().router().dispatch(id); }
    QString pane(int index) { return frame().statusPane(index)->text(); }

    // Clicks the button with tooltip `tip` on the toolbar `caption`.
    void clickToolbarButton(const char* caption, const char* tip) {
        // As the idle refresh would have done before a user's click.
        frame().refreshToolbars();
        QToolBar* bar = frame().toolbar(QString::fromLatin1(caption));
        ASSERT_NE(bar, nullptr) << caption;
        for (QAction* action : bar->actions()) {
            if (action->toolTip() == QLatin1String(tip)) {
                ASSERT_TRUE(action->isEnabled()) << tip;
                QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
                settle();
                return;
            }
        }
        ADD_FAILURE() << "no button " << tip << " on " << caption;
    }

    // Opens `path` through Open play file, answering its file dialog.
    void openPlayFile(const std::string& path) {
        prompts.fileNames.push_back(path);
        ASSERT_TRUE(run(kIdOpenPlayFile));
        ASSERT_TRUE(video().player().loaded());
    }

    int camera = 0;
};

#define EXPECT_COMMANDS(ids, wanted)                                                               \
    for (int id : ids)                                                                             \
        EXPECT_EQ(enabled(id), wanted) << "command " << id;

TEST_F(VideoCommandsTest, WithNothingRunningOnlyTheStartingCommandsAreEnabled) {
    EXPECT_COMMANDS(kAlwaysEnabled, true);
    EXPECT_COMMANDS(kPreviewCommands, false);
    EXPECT_COMMANDS(kCaptureCommands, false);
    EXPECT_COMMANDS(kPlayCommands, false);
}

TEST_F(VideoCommandsTest, VideoSourceDialogListsTheDevicesAndStoresTheChoice) {
    app->settings().CaptureName = "Old camera";
    WithModalDialog([this] { run(kIdSelectVideoSource); },
                    [this](QDialog& dialog) {
                        EXPECT_EQ(dialog.windowTitle(), "Video source");
                        auto* combo = Child<QComboBox>(dialog, "sourceCombo");
                        EXPECT_EQ(combo->currentIndex(), 0);
                        EXPECT_EQ(ComboTexts(combo)[static_cast<size_t>(camera)],
                                  kSimulatedCameraName);
                        combo->setCurrentIndex(camera);
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(app->settings().CaptureDevice, camera);
    EXPECT_EQ(app->settings().CaptureName, kSimulatedCameraName);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(VideoCommandsTest, AmongSeveralSourcesAStoredNameThatNoLongerMatchesAsksForASource) {
    SetSimulatedCameraCount(2);
    app->settings().CaptureDevice = camera;
    app->settings().CaptureName = "Camera unplugged last week";
    run(kIdPreview);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{kMsgSelectSource});
    EXPECT_COMMANDS(kPreviewCommands, false);
}

TEST_F(VideoCommandsTest, WithOneSourcePreviewAndCaptureUseItWithoutAsking) {
    if (Video().listSources().value_or(std::vector<std::string>()).size() != 1)
        GTEST_SKIP() << "this machine has a camera of its own besides the simulated one";
    // As after the first start: no source chosen yet.
    EXPECT_EQ(app->settings().CaptureName, "");
    clickToolbarButton("Preview tools", "Preview");
    ASSERT_NE(video().preview(), nullptr);
    EXPECT_TRUE(video().preview()->running());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(app->settings().CaptureName, kSimulatedCameraName) << "it is the chosen one now";
    clickToolbarButton("Preview tools", "End preview");
    EXPECT_EQ(video().preview(), nullptr);

    app->settings().CaptureName = "Camera unplugged last week";
    app->settings().CaptureFile = tempPath("one.avi");
    prompts.answers.push_back(MessageAnswer::Ok);
    clickToolbarButton("Video tools", "Capture to disc");
    ASSERT_EQ(prompts.messages.size(), 1u) << "only the question before recording";
    EXPECT_EQ(prompts.messages[0].text,
              CaptureConfirmationText(60.0, 3.0, kSimulatedCameraName, tempPath("one.avi")));
    ASSERT_NE(video().capture(), nullptr);
    ASSERT_TRUE(video().capture()->running());
    VideoRecording* recording = video().capture()->recording();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recording->framesWritten() >= 1; }, kWaitMs));
    run(kIdQuitCapture);
    EXPECT_NE(Video().openFile(tempPath("one.avi")), nullptr);
}

TEST_F(VideoCommandsTest, VideoWindowsOpenClearOfTheToolbars) {
    selectCamera();
    run(kIdPreview);
    app->settings().CaptureFile = tempPath("clear.avi");
    run(kIdCaptureToDisc);
    ASSERT_GE(RecordSimulated(tempPath("play.avi"), 0.5, 10.0), 2);
    openPlayFile(tempPath("play.avi"));
    const std::vector<CVideoWindow*> windows = {
        video().preview()->window(), video().capture()->window(), video().player().window()};
    const QPoint workArea = frame().centralWidget()->mapToGlobal(QPoint(0, 0));
    for (CVideoWindow* window : windows) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->frameGeometry().topLeft(), workArea)
            << window->windowTitle().toStdString();
        for (QToolBar* bar : frame().findChildren<QToolBar*>()) {
            if (!bar->isVisible())
                continue;
            const QRect barOnScreen(bar->mapToGlobal(QPoint(0, 0)), bar->size());
            EXPECT_FALSE(window->frameGeometry().intersects(barOnScreen))
                << window->windowTitle().toStdString() << " covers "
                << bar->windowTitle().toStdString();
        }
    }
    // Their buttons are there to be clicked.
    clickToolbarButton("Play tools", "End play");
    EXPECT_FALSE(video().player().loaded());
    clickToolbarButton("Video tools", "End capture");
    EXPECT_EQ(video().capture(), nullptr);
    clickToolbarButton("Preview tools", "End preview");
    EXPECT_EQ(video().preview(), nullptr);
}

TEST_F(VideoCommandsTest, CaptureIntoAFolderThatDoesNotExistSaysSo) {
    selectCamera();
    const std::string file = tempPath("Videos/HLV.avi");
    app->settings().CaptureFile = file;
    prompts.answers.push_back(MessageAnswer::Ok);
    run(kIdCaptureToDisc);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, "Cannot record to " + file + ": the folder " +
                                            tempPath("Videos") + " does not exist.");
    EXPECT_COMMANDS(kCaptureCommands, false);
}

TEST_F(VideoCommandsTest, TheCaptureFileStartsAsHlvAviInTheMoviesFolder) {
    const std::string movies =
        QStandardPaths::writableLocation(QStandardPaths::MoviesLocation).toStdString();
    ASSERT_FALSE(movies.empty());
    EXPECT_EQ(app->settings().CaptureFile, movies + "/HLV.avi");
    selectCamera();
    prompts.answers.push_back(MessageAnswer::Cancel);
    run(kIdCaptureToDisc);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].text.find("\nFile name:" + movies + "/HLV.avi\n"),
              std::string::npos)
        << prompts.messages[0].text;
}

TEST_F(VideoCommandsTest, OpeningAFileThatIsNoVideoSaysItCannotBePlayed) {
    const std::string notes = tempPath("notes.avi");
    QFile file(QString::fromStdString(notes));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("these are notes");
    file.close();
    prompts.fileNames.push_back(notes);
    run(kIdOpenPlayFile);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.starts_with("Cannot play the file " + notes + ": "))
        << prompts.messages[0].text;
    EXPECT_FALSE(video().player().loaded());
    EXPECT_COMMANDS(kPlayCommands, false);
}

TEST_F(VideoCommandsTest, ToEndOnAnAsfFileShowsItsLastFrame) {
    const std::string clip = tempPath("t.wmv");
    ASSERT_TRUE(EncodeTestVideo(clip, "avenc_wmv2 ! asfmux", 50));
    const std::vector<FramePixels> truth = DecodeEveryFrame(clip);
    ASSERT_EQ(truth.size(), 50u);
    ASSERT_NE(truth[48], truth[49]);
    openPlayFile(clip);
    clickToolbarButton("Play tools", "To end");
    EXPECT_TRUE(PixelsOf(video().player().snap()) == truth[49]) << "the file's own last frame";
    clickToolbarButton("Play tools", "previous frame");
    EXPECT_TRUE(PixelsOf(video().player().snap()) == truth[48]);
}

TEST_F(VideoCommandsTest, PreviewPausesResumesSnapsAndQuits) {
    selectCamera();
    ASSERT_TRUE(run(kIdPreview));
    CVideoPreview* preview = video().preview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->running());
    EXPECT_COMMANDS(kPreviewCommands, true);
    CVideoWindow* window = preview->window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Preview Window");
    EXPECT_TRUE(window->isVisible());
    // The window shows the stream at its size once the first frame is in.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->shownFrame().isNull(); }, kWaitMs));
    EXPECT_EQ(window->size(), QSize(320, 240));

    ASSERT_TRUE(run(kIdPausePreview));
    EXPECT_COMMANDS(kPreviewCommands, true);
    ASSERT_TRUE(run(kIdPreview));
    EXPECT_EQ(video().preview(), preview);

    ASSERT_TRUE(run(kIdPreviewSnap));
    settle();
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    const CMavDoc& doc = frame().documentWindows().front()->document();
    EXPECT_EQ(doc.width(), 320);
    EXPECT_EQ(doc.height(), 240);
    EXPECT_FALSE(AllPixelsEqual(doc.image()));

    ASSERT_TRUE(run(kIdQuitPreview));
    EXPECT_EQ(video().preview(), nullptr);
    EXPECT_COMMANDS(kPreviewCommands, false);
    EXPECT_TRUE(prompts.messages.empty());
}

// A snapped picture is in no file yet: quitting asks to save it, and Cancel
// keeps the program and the picture.
TEST_F(VideoCommandsTest, ASnapIsUnsavedWorkThatQuittingAsksAbout) {
    selectCamera();
    ASSERT_TRUE(run(kIdPreview));
    CVideoPreview* preview = video().preview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(preview->snap()); }, kWaitMs));
    ASSERT_TRUE(run(kIdPreviewSnap));
    settle();
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    CChildFrame* window = frame().documentWindows().front();
    EXPECT_TRUE(window->document().IsModified());
    EXPECT_TRUE(window->isWindowModified());

    prompts.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"Save changes to " + window->document().title() + "?"});
    EXPECT_EQ(frame().documentWindows().size(), 1u);
    EXPECT_TRUE(frame().isVisible());

    prompts.answers = {MessageAnswer::No};
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(VideoCommandsTest, UnpluggedCameraTearsThePreviewDownAndPreviewBuildsItAgain) {
    selectCamera();
    run(kIdPreview);
    CVideoPreview* preview = video().preview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(preview->snap()); }, kWaitMs));
    SetSimulatedCamerasUnplugged(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !preview->running(); }, kWaitMs));
    EXPECT_EQ(preview->window(), nullptr);
    EXPECT_COMMANDS(kPreviewCommands, false);
    SetSimulatedCamerasUnplugged(false);
    run(kIdPreview);
    EXPECT_TRUE(preview->running());
}

TEST_F(VideoCommandsTest, SnapBeforeAnyFrameHasArrivedProducesNothingAndSaysNothing) {
    selectCamera();
    // An unplugged camera starts but sends no frame; its error is read on a
    // later timer tick, so the preview still runs when Snap comes.
    SetSimulatedCamerasUnplugged(true);
    run(kIdPreview);
    ASSERT_TRUE(video().preview()->running());
    ASSERT_TRUE(run(kIdPreviewSnap));
    settle();
    EXPECT_TRUE(frame().documentWindows().empty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(VideoCommandsTest, VideoFilterAdjustsTheDeviceAndCancelPutsItBack) {
    selectCamera();
    run(kIdPreview);
    LiveVideo* stream = video().preview()->stream();
    ASSERT_NE(stream, nullptr);
    const std::vector<VideoAdjustment> before = stream->adjustments();
    ASSERT_FALSE(before.empty());
    int movedTo = 0;
    WithModalDialog([this] { run(kIdVideoFilter); },
                    [&](QDialog& dialog) {
                        EXPECT_EQ(dialog.windowTitle(), "Filter");
                        QList<QSlider*> sliders = dialog.findChildren<QSlider*>();
                        ASSERT_EQ(sliders.size(), static_cast<qsizetype>(before.size()));
                        QSlider* first = sliders.front();
                        movedTo = first->value() == first->maximum() ? first->minimum()
                                                                     : first->maximum();
                        first->setValue(movedTo);
                        EXPECT_EQ(stream->adjustments().front().value, movedTo);
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_EQ(stream->adjustments().front().value, before.front().value);
}

TEST_F(VideoCommandsTest, ADeviceLostWhileTheFilterIsOpenEndsThePreviewAfterIt) {
    selectCamera();
    run(kIdPreview);
    CVideoPreview* preview = video().preview();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(preview->snap()); }, kWaitMs));
    WithModalDialog([this] { run(kIdVideoFilter); },
                    [&](QDialog& dialog) {
                        SetSimulatedCamerasUnplugged(true);
                        QTest::qWait(200);
                        EXPECT_TRUE(preview->running());
                        QSlider* slider = dialog.findChildren<QSlider*>().front();
                        slider->setValue(slider->minimum());
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !preview->running(); }, kWaitMs));
}

// Answers the capture question only after the recording before it has
// reached its time limit, with the timer ticking as under an open message box.
class LateAnswer : public RecordingPrompts {
public:
    explicit LateAnswer(CVideoCommands& video) : video_(video) {}
    MessageAnswer showMessage(const MessageRequest& request) override {
        EXPECT_TRUE(QTest::qWaitFor([this] { return video_.capture() == nullptr; }, kWaitMs))
            << "the recording before the question never reached its time limit";
        return RecordingPrompts::showMessage(request);
    }

private:
    CVideoCommands& video_;
};

TEST_F(VideoCommandsTest, ARecordingThatEndedWhileTheQuestionWasOpenIsMadeAgain) {
    selectCamera();
    app->settings().captureTimeLimit = 0.5;
    app->settings().CaptureFile = tempPath("again.avi");
    run(kIdCaptureToDisc);
    ASSERT_TRUE(video().capture()->running());
    LateAnswer late(video());
    ScopedPrompts answering(late);
    run(kIdCaptureToDisc);
    ASSERT_NE(video().capture(), nullptr);
    EXPECT_TRUE(video().capture()->running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return video().capture() == nullptr; }, kWaitMs));
}

TEST_F(VideoCommandsTest, CaptureAsksFirstAndCancelRecordsNothing) {
    selectCamera();
    app->settings().CaptureFile = tempPath("never.avi");
    prompts.answers.push_back(MessageAnswer::Cancel);
    run(kIdCaptureToDisc);
    ASSERT_EQ(prompts.messages.size(), 1u);
    const MessageRequest& question = prompts.messages.front();
    EXPECT_EQ(question.text,
              CaptureConfirmationText(60.0, 3.0, kSimulatedCameraName, tempPath("never.avi")));
    EXPECT_EQ(question.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_COMMANDS(kCaptureCommands, false);
    EXPECT_FALSE(std::filesystem::exists(tempPath("never.avi")));
}

TEST_F(VideoCommandsTest, TimeLimitEndsTheCaptureClearsPaneOneAndTheFilePlays) {
    selectCamera();
    app->settings().captureRate = 5.0;
    app->settings().captureTimeLimit = 2.0;
    app->settings().CaptureFile = tempPath("limit.avi");
    run(kIdCaptureToDisc);
    CVideoCapture* capture = video().capture();
    ASSERT_NE(capture, nullptr);
    ASSERT_TRUE(capture->running());
    EXPECT_COMMANDS(kCaptureCommands, true);
    ASSERT_NE(capture->window(), nullptr);
    EXPECT_EQ(capture->window()->windowTitle(), "Capture Window");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pane(1).startsWith("Capture time left: "); }, kWaitMs));
    EXPECT_TRUE(pane(1).endsWith("(s) Rate:5.0(fps)")) << pane(1).toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return video().capture() == nullptr; }, kWaitMs));
    EXPECT_EQ(pane(1), " ");
    EXPECT_COMMANDS(kCaptureCommands, false);

    openPlayFile(tempPath("limit.avi"));
    const int64_t frames = video().player().playback()->frameCount();
    EXPECT_GE(frames, 8);
    EXPECT_LE(frames, 12);
    ASSERT_NE(video().player().window(), nullptr);
    EXPECT_EQ(video().player().window()->windowTitle(), "Video Playback Window");
    EXPECT_COMMANDS(kPlayCommands, true);
}

TEST_F(VideoCommandsTest, PausingTheCaptureDoesNotStopTheClock) {
    selectCamera();
    app->settings().captureTimeLimit = 1.0;
    app->settings().captureRate = 10.0;
    app->settings().CaptureFile = tempPath("paused.avi");
    run(kIdCaptureToDisc);
    ASSERT_NE(video().capture(), nullptr);
    VideoRecording* recording = video().capture()->recording();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recording->framesWritten() >= 2; }, kWaitMs));
    ASSERT_TRUE(run(kIdPauseCapture));
    EXPECT_TRUE(QTest::qWaitFor([&] { return video().capture() == nullptr; }, kWaitMs));
    EXPECT_EQ(pane(1), " ");
    EXPECT_TRUE(Video().openFile(tempPath("paused.avi")) != nullptr);
}

TEST_F(VideoCommandsTest, QuitCaptureFinishesTheFileAndClearsPaneOne) {
    selectCamera();
    app->settings().captureRate = 10.0;
    app->settings().CaptureFile = tempPath("quit.avi");
    run(kIdCaptureToDisc);
    ASSERT_NE(video().capture(), nullptr);
    VideoRecording* recording = video().capture()->recording();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recording->framesWritten() >= 2; }, kWaitMs));
    ASSERT_TRUE(run(kIdQuitCapture));
    EXPECT_EQ(video().capture(), nullptr);
    EXPECT_EQ(pane(1), " ");
    std::unique_ptr<VideoPlayback> playback = Video().openFile(tempPath("quit.avi"));
    ASSERT_NE(playback, nullptr);
    EXPECT_GE(playback->frameCount(), 2);
}

TEST_F(VideoCommandsTest, ClosingTheProgramWhileRecordingFinishesTheFile) {
    selectCamera();
    app->settings().captureRate = 10.0;
    app->settings().CaptureFile = tempPath("closing.avi");
    run(kIdCaptureToDisc);
    ASSERT_NE(video().capture(), nullptr);
    VideoRecording* recording = video().capture()->recording();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recording->framesWritten() >= 2; }, kWaitMs));
    ASSERT_TRUE(frame().close());
    std::unique_ptr<VideoPlayback> playback = Video().openFile(tempPath("closing.avi"));
    ASSERT_NE(playback, nullptr);
    EXPECT_GE(playback->frameCount(), 2);
}

TEST_F(VideoCommandsTest, CaptureRateAndTimeDialogsApplyTheirRules) {
    auto typeAndAccept = [this](int command, const char* title, const char* edit, const char* shown,
                                const char* typed) {
        WithModalDialog([this, command] { run(command); },
                        [&](QDialog& dialog) {
                            EXPECT_EQ(dialog.windowTitle(), title);
                            const std::vector<std::string> labels =
                                command == kIdSetCaptureRate
                                    ? std::vector<std::string>{"Capture rate ", "fps"}
                                    : std::vector<std::string>{"Time", "s"};
                            EXPECT_EQ(LabelTexts(dialog), labels);
                            auto* box = Child<QLineEdit>(dialog, edit);
                            EXPECT_EQ(box->text(), shown);
                            TypeInto(box, typed);
                            Press(dialog, QDialogButtonBox::Ok);
                        });
    };
    typeAndAccept(kIdSetCaptureRate, "Capture rate", "rateEdit", "3.000000", "0");
    EXPECT_DOUBLE_EQ(app->settings().captureRate, 24.0);
    typeAndAccept(kIdSetCaptureRate, "Capture rate", "rateEdit", "24.000000", "many");
    EXPECT_DOUBLE_EQ(app->settings().captureRate, 24.0);
    typeAndAccept(kIdSetCaptureRate, "Capture rate", "rateEdit", "24.000000", "7.5");
    EXPECT_DOUBLE_EQ(app->settings().captureRate, 7.5);
    typeAndAccept(kIdSetCaptureTimeLimit, "Capture time", "timeEdit", "60.00", "0");
    EXPECT_DOUBLE_EQ(app->settings().captureTimeLimit, 1.0);
    typeAndAccept(kIdSetCaptureTimeLimit, "Capture time", "timeEdit", "1.00", "90");
    EXPECT_DOUBLE_EQ(app->settings().captureTimeLimit, 90.0);
}

TEST_F(VideoCommandsTest, CaptureFileNameComesFromASaveDialog) {
    prompts.fileNames.push_back(tempPath("chosen.avi"));
    run(kIdSetCaptureFileName);
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    const FileDialogRequest& request = prompts.fileRequests.front();
    EXPECT_TRUE(request.save);
    EXPECT_TRUE(request.promptOverwrite);
    EXPECT_EQ(request.filter, "HLV file(*.avi)|*.avi; |Other files (*.*)|*.*||");
    EXPECT_EQ(app->settings().CaptureFile, tempPath("chosen.avi"));
}

class PlaybackCommandsTest : public VideoCommandsTest {
protected:
    void SetUp() override {
        VideoCommandsTest::SetUp();
        ASSERT_GE(RecordSimulated(tempPath("play.avi"), 1.0, 10.0), 4);
        openPlayFile(tempPath("play.avi"));
    }
    PackedDib shown() { return video().player().snap(); }
};

TEST_F(PlaybackCommandsTest, OpenAsksWithTheVideoFilterAndLeavesTheFileStopped) {
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_FALSE(prompts.fileRequests.front().save);
    EXPECT_TRUE(prompts.fileRequests.front().filter.starts_with(
        "Video(*.avi *.mpg *.mpeg *.mov *.wmv)|*.avi; *.mpg; *.mpeg; *.mov; *.wmv;\t\t\t\t\t   |"));
    settle();
    EXPECT_EQ(video().player().playback()->position().value_or(-1), 0);
}

TEST_F(PlaybackCommandsTest, FrameStepsGoForwardAndReturn) {
    ASSERT_TRUE(run(kIdPlayToStart));
    const PackedDib first = shown();
    ASSERT_TRUE(run(kIdPlayNextFrame));
    const PackedDib second = shown();
    EXPECT_FALSE(SamePicture(first, second));
    ASSERT_TRUE(run(kIdPlayNextFrame));
    EXPECT_FALSE(SamePicture(second, shown()));
    ASSERT_TRUE(run(kIdPlayPrevFrame));
    EXPECT_TRUE(SamePicture(second, shown()));
    ASSERT_TRUE(run(kIdPlayPrevFrame));
    EXPECT_TRUE(SamePicture(first, shown()));
    ASSERT_TRUE(run(kIdPlayToEnd));
    EXPECT_FALSE(SamePicture(first, shown()));
    ASSERT_TRUE(run(kIdPlayRestart));
    ASSERT_TRUE(run(kIdPlayPause));
}

TEST_F(PlaybackCommandsTest, SnapOpensTheShownFrameAsANewImage) {
    ASSERT_TRUE(run(kIdPlayNextFrame));
    ASSERT_TRUE(run(kIdPlaySnap));
    settle();
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    CChildFrame* window = frame().documentWindows().front();
    const CMavDoc& doc = window->document();
    EXPECT_EQ(doc.width(), 320);
    EXPECT_EQ(doc.height(), 240);
    // Unsaved work: closing its window asks.
    EXPECT_TRUE(doc.IsModified());
    prompts.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Save changes to " + doc.title() + "?"});
}

TEST_F(PlaybackCommandsTest, PlayingToTheEndLoopsAndProgressStartsAgain) {
    int highest = -1;
    bool fellBack = false;
    ASSERT_TRUE(run(kIdPlayRun));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QString text = pane(2);
            if (!text.startsWith("Progress: "))
                return false;
            const int percent = text.mid(10).section(' ', 0, 0).toInt();
            if (percent < highest && highest >= 50)
                fellBack = true;
            highest = std::max(highest, percent);
            return fellBack;
        },
        kWaitMs));
    EXPECT_TRUE(video().player().loaded());
}

TEST_F(PlaybackCommandsTest, PlayRateDialogStoresItsRules) {
    auto typeRate = [this](const char* shown, const char* typed) {
        WithModalDialog(
            [this] { run(kIdSetPlayRate); },
            [&](QDialog& dialog) {
                EXPECT_EQ(dialog.windowTitle(), "Play rate ");
                EXPECT_EQ(LabelTexts(dialog), (std::vector<std::string>{"Rate", "Times"}));
                auto* box = Child<QLineEdit>(dialog, "playRateEdit");
                EXPECT_EQ(box->text(), shown);
                TypeInto(box, typed);
                Press(dialog, QDialogButtonBox::Ok);
            });
    };
    typeRate("1.000", "-2");
    EXPECT_DOUBLE_EQ(video().player().rate(), 1.0);
    typeRate("1.000", "0");
    EXPECT_DOUBLE_EQ(video().player().rate(), 0.0);
    typeRate("0.000", "2");
    EXPECT_DOUBLE_EQ(video().player().rate(), 2.0);
}

TEST_F(VideoCommandsTest, ClosingAVideoWindowEndsItsStream) {
    selectCamera();
    app->settings().CaptureFile = tempPath("closed.avi");
    run(kIdPreview);
    run(kIdCaptureToDisc);
    ASSERT_TRUE(video().preview()->running());
    ASSERT_TRUE(video().capture()->running());
    VideoRecording* recording = video().capture()->recording();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recording->framesWritten() >= 1; }, kWaitMs));
    video().preview()->window()->close();
    video().capture()->window()->close();
    EXPECT_FALSE(video().preview()->running());
    EXPECT_FALSE(video().capture()->running());
    EXPECT_COMMANDS(kPreviewCommands, false);
    EXPECT_COMMANDS(kCaptureCommands, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane(1) == " "; }, kWaitMs));
    EXPECT_NE(Video().openFile(tempPath("closed.avi")), nullptr);
}

TEST_F(PlaybackCommandsTest, ClosingThePlaybackWindowClosesTheFile) {
    ASSERT_TRUE(run(kIdPlayRun));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane(2).startsWith("Progress: "); }, kWaitMs));
    video().player().window()->close();
    EXPECT_FALSE(video().player().loaded());
    EXPECT_COMMANDS(kPlayCommands, false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane(2) == " "; }, kWaitMs));
}

TEST_F(PlaybackCommandsTest, QuitPlayClosesTheFileAndBlanksPaneTwo) {
    ASSERT_TRUE(run(kIdQuitPlay));
    EXPECT_FALSE(video().player().loaded());
    EXPECT_EQ(video().player().window(), nullptr);
    EXPECT_EQ(pane(2), " ");
    EXPECT_COMMANDS(kPlayCommands, false);
    EXPECT_TRUE(enabled(kIdOpenPlayFile));
}

} // namespace
} // namespace halvera::testing
