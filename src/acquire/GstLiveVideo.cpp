#include "acquire/GstLiveVideo.h"

#include "acquire/GstSupport.h"
#include "acquire/VideoMessages.h"
#include "platform/UserPrompts.h"

#include <atomic>
#include <chrono>
#include <gst/video/colorbalance.h>

namespace halvera {

namespace {

constexpr int kFinishTimeoutMs = 5000;

bool Installed(std::initializer_list<const char*> factories) {
    for (const char* name : factories) {
        GstElementFactory* factory = gst_element_factory_find(name);
        if (!factory)
            return false;
        gst_object_unref(factory);
    }
    return true;
}

GstCaps* BgrCaps() {
    return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", nullptr);
}

// queue ! videoconvert ! BGR ! appsink, added to `pipeline`; returns the
// queue (the branch's entry) and the appsink.
struct DisplayBranch {
    GstElement* entry = nullptr;
    GstElement* appsink = nullptr;
};

DisplayBranch AddDisplayBranch(GstElement* pipeline) {
    GstElement* queue = MakeElement("queue");
    GstElement* convert = MakeElement("videoconvert");
    GstElement* format = MakeElement("capsfilter");
    GstElement* appsink = MakeElement("appsink");
    // A frame waiting for the display is dropped when a newer one comes.
    g_object_set(queue, "leaky", 2, "max-size-buffers", 2u, "max-size-bytes", 0u, "max-size-time",
                 guint64(0), nullptr);
    GstCaps* caps = BgrCaps();
    g_object_set(format, "caps", caps, nullptr);
    gst_caps_unref(caps);
    // Nobody pulls from it: it must not hold the end of the stream back either.
    g_object_set(appsink, "max-buffers", 1u, "drop", TRUE, "sync", FALSE, "wait-on-eos", FALSE,
                 nullptr);
    gst_bin_add_many(GST_BIN(pipeline), queue, convert, format, appsink, nullptr);
    if (!gst_element_link_many(queue, convert, format, appsink, nullptr))
        return {};
    return {queue, appsink};
}

// The colour balance of a source element, or of the element inside it that has one.
GstColorBalance* FindColorBalance(GstElement* source) {
    if (GST_IS_COLOR_BALANCE(source))
        return GST_COLOR_BALANCE(gst_object_ref(source));
    if (GST_IS_BIN(source)) {
        if (GstElement* inner = gst_bin_get_by_interface(GST_BIN(source), GST_TYPE_COLOR_BALANCE))
            return GST_COLOR_BALANCE(inner);
    }
    return nullptr;
}

// What every live stream has: the pipeline, its source and the appsink of
// the shown picture.
class LivePipeline {
public:
    LivePipeline() : pipeline_(gst_pipeline_new(nullptr)) {}
    ~LivePipeline() {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        Unref(bus_);
        Unref(pipeline_);
    }
    LivePipeline(const LivePipeline&) = delete;
    LivePipeline& operator=(const LivePipeline&) = delete;

    GstElement* pipeline() const { return pipeline_; }
    GstElement* source() const { return source_; }
    GstBus* bus() const { return bus_; }

    // The source (already in the pipeline) and the appsink of the shown picture.
    void adopt(GstElement* source, GstElement* appsink) {
        source_ = source;
        appsink_ = appsink;
    }

    bool start() {
        bus_ = gst_element_get_bus(pipeline_);
        return gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    }
    bool run() {
        return gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    }
    bool pause() {
        return gst_element_set_state(pipeline_, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    }
    std::optional<VideoSize> videoSize() const { return NegotiatedSize(appsink_); }
    PackedDib snapshot() const { return SampleToPicture(appsink_); }
    std::vector<VideoEvent> takeEvents() { return DrainBus(bus_, true); }

    std::vector<VideoAdjustment> adjustments() const {
        std::vector<VideoAdjustment> list;
        GstColorBalance* balance = FindColorBalance(source_);
        if (!balance)
            return list;
        for (const GList* item = gst_color_balance_list_channels(balance); item;
             item = item->next) {
            auto* channel = static_cast<GstColorBalanceChannel*>(item->data);
            list.push_back({channel->label, channel->min_value, channel->max_value,
                            gst_color_balance_get_value(balance, channel)});
        }
        gst_object_unref(balance);
        return list;
    }

    bool setAdjustment(const std::string& name, int value) {
        GstColorBalance* balance = FindColorBalance(source_);
        if (!balance)
            return false;
        bool found = false;
        for (const GList* item = gst_color_balance_list_channels(balance); item;
             item = item->next) {
            auto* channel = static_cast<GstColorBalanceChannel*>(item->data);
            if (name == channel->label) {
                gst_color_balance_set_value(balance, channel, value);
                found = true;
            }
        }
        gst_object_unref(balance);
        return found;
    }

private:
    GstElement* pipeline_;
    GstElement* source_ = nullptr;
    GstElement* appsink_ = nullptr;
    GstBus* bus_ = nullptr;
};

// The LiveVideo operations of a stream, answered by its pipeline.
template <class Interface> class GstLiveStream : public Interface {
public:
    bool run() override { return live_.run(); }
    bool pause() override { return live_.pause(); }
    std::optional<VideoSize> videoSize() override { return live_.videoSize(); }
    PackedDib snapshot() override { return live_.snapshot(); }
    std::vector<VideoEvent> takeEvents() override { return live_.takeEvents(); }
    std::vector<VideoAdjustment> adjustments() override { return live_.adjustments(); }
    bool setAdjustment(const std::string& name, int value) override {
        return live_.setAdjustment(name, value);
    }

    LivePipeline live_;
};

class GstPreview final : public GstLiveStream<LiveVideo> {};

// A recording. The file is complete only once the end of the stream has
// reached the file writer (the muxer then writes its index): a probe on the
// writer's input reports it.
class GstRecording final : public GstLiveStream<VideoRecording> {
public:
    ~GstRecording() override { finish(); }

    bool build(GstElement* source, const std::string& file, double rate) {
        GstElement* pipeline = live_.pipeline();
        GstElement* videorate = MakeElement("videorate");
        GstElement* framerate = MakeElement("capsfilter");
        valve_ = MakeElement("valve");
        GstElement* tee = MakeElement("tee");
        fileQueue_ = MakeElement("queue");
        GstElement* convert = MakeElement("videoconvert");
        GstElement* encoder = MakeElement("jpegenc");
        GstElement* muxer = MakeElement("avimux");
        GstElement* writer = MakeElement("filesink");
        g_object_set(videorate, "skip-to-first", TRUE, nullptr);
        GstCaps* caps = gst_caps_new_empty_simple("video/x-raw");
        if (rate > 0.0) {
            int numerator = 0;
            int denominator = 1;
            gst_util_double_to_fraction(rate, &numerator, &denominator);
            gst_caps_set_simple(caps, "framerate", GST_TYPE_FRACTION, numerator, denominator,
                                nullptr);
        }
        g_object_set(framerate, "caps", caps, nullptr);
        gst_caps_unref(caps);
        g_object_set(writer, "location", file.c_str(), nullptr);
        gst_bin_add_many(GST_BIN(pipeline), source, videorate, framerate, valve_, tee, fileQueue_,
                         convert, encoder, muxer, writer, nullptr);
        const DisplayBranch display = AddDisplayBranch(pipeline);
        live_.adopt(source, display.appsink);
        if (!display.appsink ||
            !gst_element_link_many(source, videorate, framerate, valve_, tee, nullptr) ||
            !gst_element_link_many(tee, fileQueue_, convert, encoder, muxer, writer, nullptr) ||
            !gst_element_link(tee, display.entry))
            return false;
        AddProbe(encoder, "src", GST_PAD_PROBE_TYPE_BUFFER, &GstRecording::CountFrame);
        AddProbe(writer, "sink", GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &GstRecording::WatchEnd);
        return true;
    }

    bool start() {
        started_ = live_.start();
        return started_;
    }

    int64_t finish() override {
        if (finished_ || !started_)
            return result_;
        finished_ = true;
        // The end enters at the file branch, so it arrives even when the
        // device has stopped with an error.
        if (GstPad* pad = gst_element_get_static_pad(fileQueue_, "sink")) {
            gst_pad_send_event(pad, gst_event_new_eos());
            gst_object_unref(pad);
        }
        // Wait for the end at the writer; an error of the file branch (a
        // recording that never received a frame has nothing to end) stops
        // the wait early.
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kFinishTimeoutMs);
        bool complete = false;
        while (!(complete = fileEnded_.load()) && std::chrono::steady_clock::now() < deadline) {
            if (fileBranchFailed())
                break;
        }
        gst_element_set_state(live_.pipeline(), GST_STATE_NULL);
        result_ = complete ? frames_.load() : -1;
        return result_;
    }

    int64_t framesWritten() const override { return frames_.load(); }

    // A recording pauses by holding its frames back at the valve while the
    // pipeline keeps running: a paused live pipeline would hold the end of
    // the stream in its sinks, and the file could not be finished.
    bool run() override {
        g_object_set(valve_, "drop", FALSE, nullptr);
        return live_.run();
    }
    bool pause() override {
        g_object_set(valve_, "drop", TRUE, nullptr);
        return true;
    }

private:
    void AddProbe(GstElement* element, const char* padName, GstPadProbeType type,
                  GstPadProbeCallback callback) {
        if (GstPad* pad = gst_element_get_static_pad(element, padName)) {
            gst_pad_add_probe(pad, type, callback, this, nullptr);
            gst_object_unref(pad);
        }
    }

    static GstPadProbeReturn CountFrame(GstPad*, GstPadProbeInfo*, gpointer self) {
        ++static_cast<GstRecording*>(self)->frames_;
        return GST_PAD_PROBE_OK;
    }

    static GstPadProbeReturn WatchEnd(GstPad*, GstPadProbeInfo* info, gpointer data) {
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS)
            static_cast<GstRecording*>(data)->fileEnded_.store(true);
        return GST_PAD_PROBE_OK;
    }

    // Waits up to 20 ms for an error on the bus; true when one came from an
    // element of the file branch rather than from the device.
    bool fileBranchFailed() {
        GstMessage* message =
            gst_bus_timed_pop_filtered(live_.bus(), 20 * GST_MSECOND, GST_MESSAGE_ERROR);
        if (!message)
            return false;
        GstObject* origin = GST_MESSAGE_SRC(message);
        GstObject* device = GST_OBJECT(live_.source());
        const bool fromFile = origin != device && !gst_object_has_as_ancestor(origin, device);
        gst_message_unref(message);
        return fromFile;
    }

    GstElement* valve_ = nullptr;
    GstElement* fileQueue_ = nullptr;
    std::atomic<int64_t> frames_{0};
    std::atomic<bool> fileEnded_{false};
    bool started_ = false;
    bool finished_ = false;
    int64_t result_ = -1;
};

} // namespace

bool PreviewPluginsInstalled() {
    return Installed({"queue", "videoconvert", "capsfilter", "appsink"});
}

bool RecordingPluginsInstalled() {
    return PreviewPluginsInstalled() &&
           Installed({"videorate", "valve", "tee", "jpegenc", "avimux", "filesink"});
}

std::unique_ptr<LiveVideo> StartPreviewPipeline(GstElement* source) {
    auto preview = std::make_unique<GstPreview>();
    GstElement* pipeline = preview->live_.pipeline();
    gst_bin_add(GST_BIN(pipeline), source);
    const DisplayBranch display = AddDisplayBranch(pipeline);
    preview->live_.adopt(source, display.appsink);
    if (!display.appsink || !gst_element_link(source, display.entry) || !preview->live_.start()) {
        ShowMessage(FirstError(preview->live_.bus()).value_or(kMsgCannotRender));
        return nullptr;
    }
    return preview;
}

std::unique_ptr<VideoRecording> StartRecordingPipeline(GstElement* source, const std::string& file,
                                                       double rate) {
    auto recording = std::make_unique<GstRecording>();
    // A file that cannot be opened fails the start; the framework says why.
    if (!recording->build(source, file, rate) || !recording->start()) {
        ShowMessage(FirstError(recording->live_.bus()).value_or(kMsgCannotRender));
        return nullptr;
    }
    return recording;
}

} // namespace halvera
