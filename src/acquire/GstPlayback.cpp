#include "acquire/GstPlayback.h"

#include "acquire/FrameTimeline.h"
#include "acquire/GstFrameTimes.h"
#include "acquire/GstSupport.h"

#include <algorithm>

namespace halvera {

namespace {

constexpr int kOpenTimeoutMs = 5000;
constexpr int kSeekTimeoutMs = 2000;
// A seek to the frame before a wanted one shows that frame, or the one before
// it cut short: two steps reach the wanted frame; one more is slack.
constexpr int kStepsToFrame = 3;
// playbin's flag for rendering video (and nothing else: no audio, no subtitles).
constexpr guint kPlayVideoOnly = 1;

class GstPlayback final : public VideoPlayback {
public:
    GstPlayback(const std::string& path, GstElement* playbin, GstElement* appsink)
        : path_(path), playbin_(playbin), appsink_(appsink), bus_(gst_element_get_bus(playbin)) {}
    ~GstPlayback() override {
        gst_element_set_state(playbin_, GST_STATE_NULL);
        Unref(bus_);
        Unref(playbin_);
    }
    GstPlayback(const GstPlayback&) = delete;
    GstPlayback& operator=(const GstPlayback&) = delete;

    // Opens the file stopped at its first frame; an empty text, else why not.
    std::string open() {
        if (gst_element_set_state(playbin_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
            !WaitForState(playbin_, kOpenTimeoutMs))
            return FirstError(bus_).value_or("it did not open within " +
                                             std::to_string(kOpenTimeoutMs / 1000) + " seconds");
        if (!videoSize())
            return "it holds no pictures";
        return {};
    }

    bool run() override { return setState(GST_STATE_PLAYING); }
    bool pause() override { return setState(GST_STATE_PAUSED); }

    bool toStart() override { return stopAt(0); }

    bool toEnd() override { return seekFrame(frameCount() - 1); }

    bool step(int frames) override {
        const int64_t count = frameCount();
        if (count <= 0)
            return false;
        const int64_t shown = shownFrame().value_or(0);
        return seekFrame(std::clamp<int64_t>(shown + frames, 0, count - 1));
    }

    bool seekFrame(int64_t index) override {
        if (index < 0 || index >= frameCount())
            return false;
        // The only frame (of a picture, which cannot seek) is always the one shown.
        if (frameCount() == 1)
            return pause();
        if (index == 0)
            return stopAt(timeline().startOf(0));
        // Decoders give each frame the length of the nominal frame rate,
        // which may reach past the next frame's start; an accurate seek to a
        // frame's start then shows the frame before it, cut short and
        // stamped with the seek's time. So the frame is reached in steps from
        // the one before: a stepped frame keeps the file's own timestamp.
        if (!stopAt(timeline().startOf(index - 1)))
            return false;
        for (int steps = 0; steps < kStepsToFrame; ++steps) {
            if (!stepOneFrame())
                return false;
            const std::optional<int64_t> shown = shownFrame();
            if (!shown || *shown > index)
                return false;
            if (*shown == index)
                return true;
        }
        return false;
    }

    bool setRate(double rate) override {
        if (!(rate > 0.0))
            return false;
        const int64_t at = position().value_or(0);
        if (!gst_element_seek(playbin_, rate, GST_FORMAT_TIME,
                              GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                              GST_SEEK_TYPE_SET, at, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE))
            return false;
        rate_ = rate;
        WaitForState(playbin_, kSeekTimeoutMs);
        return true;
    }

    bool loop() override { return seekTo(0); }

    std::optional<VideoSize> videoSize() override { return NegotiatedSize(appsink_); }
    PackedDib snapshot() override { return SampleToPicture(appsink_); }

    std::optional<int64_t> position() override {
        gint64 value = 0;
        if (!gst_element_query_position(playbin_, GST_FORMAT_TIME, &value))
            return {};
        return value;
    }

    std::optional<int64_t> duration() override {
        gint64 value = 0;
        if (!gst_element_query_duration(playbin_, GST_FORMAT_TIME, &value))
            return {};
        return value;
    }

    int64_t frameCount() override { return timeline().count(); }

    std::vector<VideoEvent> takeEvents() override { return DrainBus(bus_, false); }

private:
    bool setState(GstState state) {
        return gst_element_set_state(playbin_, state) != GST_STATE_CHANGE_FAILURE;
    }

    // The file's frames, read from the file when first needed: only frame
    // stepping, the last frame and frame numbers pay for reading it through.
    const FrameTimeline& timeline() {
        if (!timeline_)
            timeline_ = FrameTimeline(ReadFrameTimes(path_).value_or(std::vector<int64_t>()));
        return *timeline_;
    }

    // Seeks to `time` at the rate in force, keeping the state.
    bool seekTo(int64_t time) {
        return gst_element_seek(playbin_, rate_, GST_FORMAT_TIME,
                                GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                GST_SEEK_TYPE_SET, time, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
    }

    // Shows the next frame, staying paused.
    bool stepOneFrame() {
        return gst_element_send_event(
                   playbin_, gst_event_new_step(GST_FORMAT_BUFFERS, 1, 1.0, TRUE, FALSE)) &&
               WaitForState(playbin_, kSeekTimeoutMs);
    }

    // Stops (pauses) at `time` and waits until that frame is shown.
    bool stopAt(int64_t time) {
        if (!pause() || !WaitForState(playbin_, kSeekTimeoutMs))
            return false;
        if (!seekTo(time))
            return false;
        return WaitForState(playbin_, kSeekTimeoutMs);
    }

    // The index of the shown frame, from its timestamp in the stream.
    std::optional<int64_t> shownFrame() {
        GstSample* sample = nullptr;
        g_object_get(appsink_, "last-sample", &sample, nullptr);
        if (!sample)
            return {};
        std::optional<int64_t> index;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        const GstSegment* segment = gst_sample_get_segment(sample);
        if (buffer && GST_BUFFER_PTS_IS_VALID(buffer)) {
            guint64 streamTime = GST_BUFFER_PTS(buffer);
            if (segment && segment->format == GST_FORMAT_TIME)
                gst_segment_to_stream_time_full(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer),
                                                &streamTime);
            // Where the player stops by itself (the first frame, a frame
            // stepped to, a pause while running) a frame carries its own
            // time; a frame an accurate seek cut short carries the seek's.
            index = timeline().frameAt(static_cast<int64_t>(streamTime));
        }
        gst_sample_unref(sample);
        return index;
    }

    std::string path_;
    GstElement* playbin_;
    GstElement* appsink_; // owned by the playbin
    GstBus* bus_;
    std::optional<FrameTimeline> timeline_;
    double rate_ = 1.0;
};

} // namespace

bool PlaybackPluginsInstalled() {
    for (const char* name : {"playbin", "appsink", "fakesink"}) {
        GstElementFactory* factory = gst_element_factory_find(name);
        if (!factory)
            return false;
        gst_object_unref(factory);
    }
    return true;
}

PlaybackOpening OpenPlaybackPipeline(const std::string& path) {
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    if (!uri)
        return {nullptr, "the name is not a file name"};
    GstElement* playbin = MakeElement("playbin");
    GstElement* appsink = MakeElement("appsink");
    GstElement* audio = MakeElement("fakesink");
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", nullptr);
    // The shown frame is read from the last sample; nothing pulls samples, so
    // the appsink keeps one and must not hold the end of the file back.
    g_object_set(appsink, "caps", caps, "max-buffers", 1u, "drop", TRUE, "wait-on-eos", FALSE,
                 nullptr);
    gst_caps_unref(caps);
    g_object_set(playbin, "uri", uri, "flags", kPlayVideoOnly, "video-sink", appsink, "audio-sink",
                 audio, nullptr);
    g_free(uri);
    auto playback = std::make_unique<GstPlayback>(
        path, static_cast<GstElement*>(gst_object_ref_sink(playbin)), appsink);
    std::string failure = playback->open();
    if (!failure.empty())
        return {nullptr, std::move(failure)};
    return {std::move(playback), {}};
}

} // namespace halvera
