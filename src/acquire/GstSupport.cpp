#include "acquire/GstSupport.h"

#include "acquire/SimulatedCamera.h"
#include "image/BitmapInfoHeader.h"

#include <cstdlib>
#include <cstring>
#include <gst/app/gstappsink.h>
#include <gst/video/video.h>
#include <string_view>

namespace halvera {

bool EnsureGStreamer() {
    static const bool ready = [] {
        if (!gst_init_check(nullptr, nullptr, nullptr))
            return false;
        const char* simulated = std::getenv("HALVERA_SIMULATED_CAMERA");
        if (simulated && std::string_view(simulated) == "1")
            RegisterSimulatedCamera();
        return true;
    }();
    return ready;
}

GstElement* MakeElement(const char* factory, const char* name) {
    return gst_element_factory_make(factory, name);
}

namespace {

GstSample* LastSample(GstElement* appsink) {
    GstSample* sample = nullptr;
    g_object_get(appsink, "last-sample", &sample, nullptr);
    return sample;
}

} // namespace

PackedDib SampleToPicture(GstElement* appsink) {
    GstSample* sample = LastSample(appsink);
    if (!sample)
        return {};
    PackedDib picture;
    GstVideoInfo info;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstCaps* caps = gst_sample_get_caps(sample);
    if (buffer && caps && gst_video_info_from_caps(&info, caps) &&
        GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_BGR) {
        GstVideoFrame frame;
        if (gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
            const int width = GST_VIDEO_FRAME_WIDTH(&frame);
            const int height = GST_VIDEO_FRAME_HEIGHT(&frame);
            const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
            const size_t rowBytes = static_cast<size_t>(width) * 3;
            const size_t size = stride * static_cast<size_t>(height);
            picture = PackedDib::Allocate(sizeof(BitmapInfoHeader) + size);
            if (picture) {
                BitmapInfoHeader& header = *picture.header();
                header.biSize = sizeof(BitmapInfoHeader);
                header.biWidth = width;
                header.biHeight = height;
                header.biPlanes = 1;
                header.biBitCount = 24;
                header.biCompression = 0;
                header.biSizeImage = static_cast<uint32_t>(size);
                // The frame's rows run top-down; the bitmap's bottom-up.
                const auto* source =
                    static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
                const int sourceStride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
                uint8_t* rows = picture.data() + sizeof(BitmapInfoHeader);
                for (int y = 0; y < height; ++y)
                    std::memcpy(rows + stride * static_cast<size_t>(height - 1 - y),
                                source + static_cast<size_t>(sourceStride) * y, rowBytes);
            }
            gst_video_frame_unmap(&frame);
        }
    }
    gst_sample_unref(sample);
    return picture;
}

std::optional<VideoSize> NegotiatedSize(GstElement* appsink) {
    GstPad* pad = gst_element_get_static_pad(appsink, "sink");
    if (!pad)
        return {};
    std::optional<VideoSize> size;
    if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        GstVideoInfo info;
        if (gst_video_info_from_caps(&info, caps))
            size = VideoSize{GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info)};
        gst_caps_unref(caps);
    }
    gst_object_unref(pad);
    return size;
}

std::vector<VideoEvent> DrainBus(GstBus* bus, bool live) {
    std::vector<VideoEvent> events;
    if (!bus)
        return events;
    while (GstMessage* message =
               gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS)
            events.push_back(VideoEvent::Complete);
        else
            events.push_back(live ? VideoEvent::DeviceLost : VideoEvent::ErrorAbort);
        gst_message_unref(message);
    }
    return events;
}

std::optional<std::string> FirstError(GstBus* bus) {
    GstMessage* message = bus ? gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR) : nullptr;
    if (!message)
        return {};
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    std::string text = error && error->message ? error->message : "unknown error";
    if (error)
        g_error_free(error);
    gst_message_unref(message);
    return text;
}

bool WaitForState(GstElement* element, int timeoutMs) {
    const GstStateChangeReturn result = gst_element_get_state(
        element, nullptr, nullptr, static_cast<GstClockTime>(timeoutMs) * GST_MSECOND);
    return result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL;
}

} // namespace halvera
