#include "TestVideoFiles.h"

#include "image/BitmapInfoHeader.h"

#include <cstring>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

namespace halvera::testing {

namespace {

constexpr GstClockTime kPipelineTimeout = 60 * GST_SECOND;

// Runs `description` to its end; false on an error or a time-out.
bool RunToEnd(const std::string& description) {
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (error) {
        g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, kPipelineTimeout, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ended = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ended;
}

FramePixels PixelsOfSample(GstSample* sample) {
    FramePixels pixels;
    GstVideoInfo info;
    GstVideoFrame frame;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) ||
        !gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ))
        return pixels;
    const size_t rowBytes = static_cast<size_t>(GST_VIDEO_FRAME_WIDTH(&frame)) * 3;
    const auto* rows = static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    for (int y = 0; y < GST_VIDEO_FRAME_HEIGHT(&frame); ++y) {
        const uint8_t* row =
            rows + static_cast<size_t>(GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0)) * y;
        pixels.insert(pixels.end(), row, row + rowBytes);
    }
    gst_video_frame_unmap(&frame);
    return pixels;
}

} // namespace

bool EncodeTestVideo(const std::string& path, const std::string& encoding, int frames) {
    if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
        return false;
    gchar* location = g_strescape(path.c_str(), nullptr);
    const std::string description =
        "videotestsrc num-buffers=" + std::to_string(frames) +
        " pattern=ball ! video/x-raw,format=I420,width=320,height=240,framerate=30/1 ! " +
        encoding + " ! filesink location=\"" + location + "\"";
    g_free(location);
    return RunToEnd(description);
}

std::vector<FramePixels> DecodeEveryFrame(const std::string& path) {
    std::vector<FramePixels> frames;
    if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
        return frames;
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    const std::string description = std::string("uridecodebin uri=") + uri +
                                    " caps=video/x-raw ! videoconvert ! video/x-raw,format=BGR ! "
                                    "appsink name=frames sync=false";
    g_free(uri);
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (error) {
        g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return frames;
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "frames");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), kPipelineTimeout)) {
        frames.push_back(PixelsOfSample(sample));
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return frames;
}

FramePixels PixelsOf(const PackedDib& picture) {
    FramePixels pixels;
    if (!picture || picture.header()->biBitCount != 24)
        return pixels;
    const BitmapInfoHeader& header = *picture.header();
    const size_t rowBytes = static_cast<size_t>(header.biWidth) * 3;
    const size_t stride = (rowBytes + 3) / 4 * 4;
    const uint8_t* rows = picture.data() + header.biSize;
    for (int32_t y = header.biHeight - 1; y >= 0; --y) {
        const uint8_t* row = rows + stride * static_cast<size_t>(y);
        pixels.insert(pixels.end(), row, row + rowBytes);
    }
    return pixels;
}

} // namespace halvera::testing
