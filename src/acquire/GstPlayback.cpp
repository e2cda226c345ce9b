#include "acquire/GstPlayback.h"

#include "acquire/GstSupport.h"

#include <algorithm>
#include <gst/video/video.h>

namespace halvera {

namespace {

constexpr int kOpenTimeoutMs = 5000;
constexpr int kSeekTimeoutMs = 2000;
// playbin's flag for rendering video (and nothing else: no audio, no subtitles).
constexpr guint kPlayVideoOnly = 1;

class GstPlayback final : public VideoPlayback {
public:
    GstPlayback(GstElement* playbin, GstElement* appsink)
        : playbin_(playbin), appsink_(appsink), bus_(gst_element_get_bus(playbin)) {}
    ~GstPlayback() override {
        gst_element_set_state(playbin_, GST_STATE_NULL);
        Unref(bus_);
        Unref(playbin_);
    }
    GstPlayback(const GstPlayback&) = delete;
    GstPlayback& operator=(const GstPlayback&) = delete;

    bool open() {
        if (gst_element_set_state(playbin_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
            return false;
        if (!WaitForState(playbin_, kOpenTimeoutMs))
            return false;
        readFrameDuration();
        return true;
    }

    bool run() override { return setState(GST_STATE_PLAYING); }
    bool pause() override { return setState(GST_STATE_PAUSED); }

    bool toStart() override { return stopAt(0); }

    bool toEnd() override {
        const int64_t count = frameCount();
        if (count > 0)
            return seekFrame(count - 1);
        const std::optional<int64_t> end = duration();
        return end && stopAt(*end);
    }

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
        // The middle of the frame, so that timestamps rounded either way
        // still land on it.
        return stopAt(index * frameDuration_ + frameDuration_ / 2);
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

    int64_t frameCount() override {
        const std::optional<int64_t> length = duration();
        if (frameDuration_ <= 0 || !length || *length <= 0)
            return 0;
        return (*length + frameDuration_ / 2) / frameDuration_;
    }

    std::vector<VideoEvent> takeEvents() override { return DrainBus(bus_, false); }

private:
    bool setState(GstState state) {
        return gst_element_set_state(playbin_, state) != GST_STATE_CHANGE_FAILURE;
    }

    void readFrameDuration() {
        GstPad* pad = gst_element_get_static_pad(appsink_, "sink");
        if (!pad)
            return;
        if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
            GstVideoInfo info;
            if (gst_video_info_from_caps(&info, caps) && info.fps_n > 0 && info.fps_d > 0)
                frameDuration_ = static_cast<int64_t>(
                    gst_util_uint64_scale(GST_SECOND, guint64(info.fps_d), guint64(info.fps_n)));
            gst_caps_unref(caps);
        }
        gst_object_unref(pad);
    }

    // Seeks to `time` at the rate in force, keeping the state.
    bool seekTo(int64_t time) {
        return gst_element_seek(playbin_, rate_, GST_FORMAT_TIME,
                                GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                GST_SEEK_TYPE_SET, time, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
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
            if (segment)
                gst_segment_to_stream_time_full(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer),
                                                &streamTime);
            // An accurate seek into the middle of a frame clips its timestamp
            // to the seek position; a timestamp rounded down lies just below
            // its frame's start. A quarter frame covers both.
            index = (static_cast<int64_t>(streamTime) + frameDuration_ / 4) / frameDuration_;
        }
        gst_sample_unref(sample);
        return index;
    }

    GstElement* playbin_;
    GstElement* appsink_; // owned by the playbin
    GstBus* bus_;
    int64_t frameDuration_ = 0; // nanoseconds; 0 for a picture
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

std::unique_ptr<VideoPlayback> OpenPlaybackPipeline(const std::string& path) {
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    if (!uri)
        return nullptr;
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
        static_cast<GstElement*>(gst_object_ref_sink(playbin)), appsink);
    if (!playback->open())
        return nullptr;
    return playback;
}

} // namespace halvera
