#include "acquire/GstFrameTimes.h"

#include "acquire/GstSupport.h"

#include <mutex>
#include <string_view>

namespace halvera {

namespace {

// Reading a file end to end: a parse reads a few hundred megabytes a second,
// a decode some hundred frames.
constexpr GstClockTime kReadTimeout = 60 * GST_SECOND;

// What the first video stream's frames carried, collected on the streaming thread.
struct FrameTimes {
    std::mutex mutex;
    bool videoFound = false; // the first video stream has its probe
    GstSegment segment{};
    std::vector<int64_t> starts;
    int64_t untimed = 0;
};

bool IsPictureStream(GstPad* pad) {
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps)
        caps = gst_pad_query_caps(pad, nullptr);
    bool picture = false;
    if (caps && !gst_caps_is_empty(caps)) {
        const std::string_view name = gst_structure_get_name(gst_caps_get_structure(caps, 0));
        picture = name.starts_with("video/") || name.starts_with("image/");
    }
    if (caps)
        gst_caps_unref(caps);
    return picture;
}

GstPadProbeReturn TakeFrameTime(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto& times = *static_cast<FrameTimes*>(data);
    std::lock_guard lock(times.mutex);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
            const GstSegment* segment = nullptr;
            gst_event_parse_segment(event, &segment);
            gst_segment_copy_into(segment, &times.segment);
        }
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    // A stream cut by bytes (a picture file) times nothing.
    if (!GST_BUFFER_PTS_IS_VALID(buffer) || times.segment.format != GST_FORMAT_TIME) {
        ++times.untimed;
        return GST_PAD_PROBE_OK;
    }
    // Frames before the segment's start (lead-in that an edit list cuts
    // off) are never shown and have no stream time.
    guint64 streamTime = 0;
    if (gst_segment_to_stream_time_full(&times.segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer),
                                        &streamTime) == 1 &&
        gst_segment_clip(&times.segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer),
                         GST_BUFFER_PTS(buffer) + 1, nullptr, nullptr))
        times.starts.push_back(static_cast<int64_t>(streamTime));
    return GST_PAD_PROBE_OK;
}

// Every stream the splitter finds ends in a fakesink; the first video stream
// has its frames timed on the way.
void OnStreamFound(GstElement* splitter, GstPad* pad, gpointer data) {
    auto& times = *static_cast<FrameTimes*>(data);
    GstElement* pipeline = GST_ELEMENT(gst_element_get_parent(splitter));
    GstElement* sink = MakeElement("fakesink");
    if (!pipeline || !sink) {
        if (pipeline)
            gst_object_unref(pipeline);
        return;
    }
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add(GST_BIN(pipeline), sink);
    gst_element_sync_state_with_parent(sink);
    GstPad* sinkPad = gst_element_get_static_pad(sink, "sink");
    bool timed = false;
    {
        std::lock_guard lock(times.mutex);
        timed = !times.videoFound && IsPictureStream(pad);
        times.videoFound = times.videoFound || timed;
    }
    if (timed)
        gst_pad_add_probe(
            pad, GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
            TakeFrameTime, &times, nullptr);
    gst_pad_link(pad, sinkPad);
    gst_object_unref(sinkPad);
    gst_object_unref(pipeline);
}

// Runs file ! `splitter` (parsebin, or decodebin stopping at raw video) to
// the end; false when it failed or did not end in time.
bool RunToEnd(const std::string& path, const char* splitterName, FrameTimes& times) {
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* source = MakeElement("filesrc");
    GstElement* splitter = MakeElement(splitterName);
    if (!source || !splitter) {
        for (GstElement* element : {source, splitter})
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        gst_object_unref(pipeline);
        return false;
    }
    g_object_set(source, "location", path.c_str(), nullptr);
    gst_segment_init(&times.segment, GST_FORMAT_TIME);
    gst_bin_add_many(GST_BIN(pipeline), source, splitter, nullptr);
    g_signal_connect(splitter, "pad-added", G_CALLBACK(OnStreamFound), &times);
    bool ended = false;
    if (gst_element_link(source, splitter) &&
        gst_element_set_state(pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
        GstBus* bus = gst_element_get_bus(pipeline);
        GstMessage* message = gst_bus_timed_pop_filtered(
            bus, kReadTimeout, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        ended = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
        if (message)
            gst_message_unref(message);
        gst_object_unref(bus);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ended && times.videoFound;
}

} // namespace

std::optional<std::vector<int64_t>> ReadFrameTimes(const std::string& path) {
    if (!EnsureGStreamer())
        return {};
    for (const char* splitter : {"parsebin", "decodebin"}) {
        FrameTimes times;
        if (!RunToEnd(path, splitter, times))
            continue;
        if (times.untimed == 0)
            return std::move(times.starts);
        if (times.untimed == 1 && times.starts.empty())
            return std::vector<int64_t>{0};
    }
    return {};
}

} // namespace halvera
