// A video frame into a picture when the frame's rows are padded: at 322
// pixels a BGR row is 966 bytes and GStreamer lays each one out in 968.
#include "acquire/GstSupport.h"

#include <algorithm>
#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

namespace halvera {
namespace {

// The byte of channel `c` (0 blue, 1 green, 2 red) of frame pixel (x, y),
// distinct enough that a row read from a wrong place shows.
uint8_t FrameByte(int x, int y, int c) {
    return static_cast<uint8_t>(x * 7 + y * 31 + c * 101);
}

// Passes one frame of `width` x `height` through "appsrc ! appsink", its
// rows at GStreamer's own stride with the padding bytes set to 0xEE; the
// picture the appsink's last sample gives.
PackedDib PassFrame(int width, int height, int& sourceStride) {
    GstElement* pipeline = gst_parse_launch("appsrc name=src format=time ! appsink name=sink "
                                            "sync=false",
                                            nullptr);
    if (!pipeline)
        return {};
    GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline), "src");
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    GstVideoInfo info;
    gst_video_info_set_format(&info, GST_VIDEO_FORMAT_BGR, static_cast<guint>(width),
                              static_cast<guint>(height));
    sourceStride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
    GstCaps* caps = gst_video_info_to_caps(&info);
    gst_app_src_set_caps(GST_APP_SRC(source), caps);
    gst_caps_unref(caps);

    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info), nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    std::fill(map.data, map.data + map.size, uint8_t{0xEE});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                map.data[static_cast<size_t>(y) * sourceStride + x * 3 + c] = FrameByte(x, y, c);
    gst_buffer_unmap(buffer, &map);

    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    gst_app_src_push_buffer(GST_APP_SRC(source), buffer); // takes the buffer
    GstSample* pulled = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 10 * GST_SECOND);
    PackedDib picture = pulled ? SampleToPicture(sink) : PackedDib{};
    if (pulled)
        gst_sample_unref(pulled);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(source);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return picture;
}

TEST(VideoFrameRows, PaddedFrameRowsArriveWholeAndInPlace) {
    ASSERT_TRUE(EnsureGStreamer());
    for (const int width : {320, 322, 323}) {
        constexpr int kHeight = 5;
        int sourceStride = 0;
        const PackedDib picture = PassFrame(width, kHeight, sourceStride);
        ASSERT_TRUE(picture) << width;
        if (width != 320) {
            EXPECT_NE(sourceStride, width * 3) << "the frame's rows are padded";
        }
        const BitmapInfoHeader& header = *picture.header();
        ASSERT_EQ(header.biWidth, width);
        ASSERT_EQ(header.biHeight, kHeight);
        const int stride = (width * 3 + 3) / 4 * 4;
        ASSERT_EQ(picture.size(), sizeof(BitmapInfoHeader) + static_cast<size_t>(stride) * kHeight);
        const uint8_t* rows = picture.data() + sizeof(BitmapInfoHeader);
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* row = rows + static_cast<size_t>(kHeight - 1 - y) * stride;
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    wrong += row[x * 3 + c] != FrameByte(x, y, c) ? 1 : 0;
        }
        EXPECT_EQ(wrong, 0) << "bytes out of place at width " << width;
    }
}

} // namespace
} // namespace halvera
