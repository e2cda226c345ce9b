#pragma once

#include "image/PackedDib.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace halvera {

// The video devices and files, behind one interface so that the desktop
// program, the batch tool and the tests share the same pipelines. The one
// implementation is GStreamer's (GstVideoSystem.h).
//
// Everything is called from one thread. The framework's own streaming threads
// never call back: what they report is queued and handed out by takeEvents(),
// which the owner polls (the desktop program on its frame timer).

// The framework's reports that end a stream.
enum class VideoEvent {
    Complete,   // the end of a file was reached
    ErrorAbort, // the stream stopped with an error
    DeviceLost, // the device went away (unplugged, or it reported an error)
};

struct VideoSize {
    int width = 0;
    int height = 0;
    bool operator==(const VideoSize&) const = default;
};

// One adjustable property of a device (brightness, contrast, exposure, ...).
struct VideoAdjustment {
    std::string name;
    int minimum = 0;
    int maximum = 0;
    int value = 0;
};

// A running live stream from a device: the preview, or the picture shown while
// recording.
class LiveVideo {
public:
    virtual ~LiveVideo() = default;

    // Runs the stream (again, after a pause); false when the framework refused.
    virtual bool run() = 0;
    virtual bool pause() = 0;
    // The size of the frames once the first has arrived, else nothing.
    virtual std::optional<VideoSize> videoSize() = 0;
    // The last frame as a 24-bit packed DIB (bottom-up rows, blue green red);
    // empty while no frame has arrived.
    virtual PackedDib snapshot() = 0;
    // The reports queued since the last call, oldest first; never waits.
    virtual std::vector<VideoEvent> takeEvents() = 0;
    // The device's adjustable properties, and setting one of them.
    virtual std::vector<VideoAdjustment> adjustments() = 0;
    virtual bool setAdjustment(const std::string& name, int value) = 0;
};

// A live stream written to an AVI file while it is shown.
class VideoRecording : public LiveVideo {
public:
    // Ends the stream so that the file is complete and playable, then stops.
    // Waits at most a few seconds; the number of frames written, or -1 when
    // the file could not be finished in time. Called again it only answers.
    virtual int64_t finish() = 0;
    virtual int64_t framesWritten() const = 0;
};

// A video file (or a still picture) opened for playback, stopped at its first frame.
class VideoPlayback {
public:
    virtual ~VideoPlayback() = default;

    virtual bool run() = 0;
    virtual bool pause() = 0;
    // Seeks to the first or the last frame and stays stopped there.
    virtual bool toStart() = 0;
    virtual bool toEnd() = 0;
    // Steps `frames` frames from the shown one (negative: back) and stays
    // stopped; steps before the first or past the last frame stop there.
    // Frames are counted by the file's own timestamps, never by its nominal
    // frame rate, so the last frame is the last the file holds.
    virtual bool step(int frames) = 0;
    // Shows frame `index` (from 0) stopped; false past the end.
    virtual bool seekFrame(int64_t index) = 0;
    // Plays at `rate` times the normal speed from here on; the framework
    // refuses a rate of 0 (false, nothing changes).
    virtual bool setRate(double rate) = 0;
    // Back to the start without stopping: what a running file does at its end.
    virtual bool loop() = 0;
    virtual std::optional<VideoSize> videoSize() = 0;
    // The shown frame, as LiveVideo::snapshot.
    virtual PackedDib snapshot() = 0;
    // Position and duration in nanoseconds; nothing when the framework cannot say.
    virtual std::optional<int64_t> position() = 0;
    virtual std::optional<int64_t> duration() = 0;
    // The number of frames (1 for a still picture); 0 when the file could
    // not be read through.
    virtual int64_t frameCount() = 0;
    virtual std::vector<VideoEvent> takeEvents() = 0;
};

// The device list, and the streams and files built on it. The open calls show
// the program's message on failure (through the prompts) and return nothing.
class VideoSystem {
public:
    virtual ~VideoSystem() = default;

    // The friendly names of the video sources, the first 16 in the framework's
    // order. Nothing, after its message, when there is no enumerator or no device.
    virtual std::optional<std::vector<std::string>> listSources() = 0;
    // A preview of source `index`, which must still be named `name`. Started.
    virtual std::unique_ptr<LiveVideo> openPreview(int index, const std::string& name) = 0;
    // Records source `index` (named `name`) to `file` at `rate` frames per
    // second (the device's own rate when not above 0). Started. A file whose
    // folder does not exist is refused before the device is asked.
    virtual std::unique_ptr<VideoRecording> openRecording(int index, const std::string& name,
                                                          const std::string& file, double rate) = 0;
    // Opens `path` for playback. Nothing, after a message naming the file and
    // the framework's reason, when it cannot be played.
    virtual std::unique_ptr<VideoPlayback> openFile(const std::string& path) = 0;
};

// The video system in force: GStreamer's.
VideoSystem& Video();

// The most devices a list holds.
inline constexpr int kMaxVideoSources = 16;

} // namespace halvera
