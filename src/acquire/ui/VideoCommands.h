#pragma once

#include "image/AppSettings.h"
#include "image/PackedDib.h"
#include "view/ui/CommandMap.h"

#include <QElapsedTimer>
#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace halvera {

class CVideoCapture;
class CVideoPlayer;
class CVideoPreview;

// The Video menu's commands, which the main window routes here: preview and
// snap, capture to disc with its time limit, rate, file and source, and
// playback. It owns the preview and capture objects (created on demand) and
// the player (created with it), and follows the main window's timer: each
// tick passes on the framework's reports, ends a capture at its time limit
// and shows the time left in status pane 1 and the playback progress in
// pane 2. Every snapped picture is handed to `deliver` (the application's
// new image from a picture).
class CVideoCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    using Deliver = std::function<void(PackedDib picture)>;

    CVideoCommands(AppSettings& settings, QWidget* owner, Deliver deliver);
    ~CVideoCommands() override;

    bool onCommand(int id) override;
    bool onUpdateCommand(int id, CommandState& state) override;
    static const CommandMap<CVideoCommands>& Commands();

    // One tick of the main window's timer.
    void onTick();
    // Ends preview, capture (finishing its file) and playback; the main window closes.
    void closeAll();

    CVideoPreview* preview() const { return preview_.get(); }
    CVideoCapture* capture() const { return capture_.get(); }
    CVideoPlayer& player() const { return *player_; }

private:
    void startPreview();
    void snapPreview();
    void captureToDisc();
    void quitCapture();
    void setCaptureTimeLimit();
    void setCaptureRate();
    void setCaptureFileName();
    void selectVideoSource();
    void openPlayFile();
    void setPlayRate();
    void snapPlayback();
    void quitPlay();
    void newDocumentFrom(PackedDib picture);

    // With exactly one video source, makes it the chosen one (Preview and
    // Capture ask for no choice then); false after the message when there
    // is no source.
    bool chooseSource();
    bool previewRunning() const;
    bool captureRunning() const;
    bool playLoaded() const;
    void followCapture();
    void followPlayback();
    // Sets a status pane only when its text changes: the timer ticks every millisecond.
    void setPane(int pane, const std::string& text);

    AppSettings& settings_;
    Deliver deliver_;
    QWidget* owner_;
    std::unique_ptr<CVideoPreview> preview_;
    std::unique_ptr<CVideoCapture> capture_;
    std::unique_ptr<CVideoPlayer> player_;
    QElapsedTimer captureClock_;
    std::array<std::string, 4> paneTexts_;
};

} // namespace halvera
