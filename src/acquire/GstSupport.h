#pragma once

#include "acquire/VideoSystem.h"
#include "image/PackedDib.h"

#include <gst/gst.h>
#include <optional>
#include <string>
#include <vector>

namespace halvera {

// Small pieces the GStreamer pipelines share.

// Initialises GStreamer once per process; false when it cannot run. With
// HALVERA_SIMULATED_CAMERA=1 in the environment the simulated camera is
// registered as well.
bool EnsureGStreamer();

// An element from its factory, or null when the plugin is not installed.
GstElement* MakeElement(const char* factory, const char* name = nullptr);

// The frame of an appsink's last sample (BGR, rows padded to 4 bytes) as a
// 24-bit packed DIB with bottom-up rows; empty when there is no sample yet or
// it is not 24-bit BGR.
PackedDib SampleToPicture(GstElement* appsink);
// The size of the frames an appsink receives; nothing before the first.
std::optional<VideoSize> NegotiatedSize(GstElement* appsink);

// The stream-ending reports waiting on `bus`, oldest first; never blocks.
// `live` maps errors to DeviceLost (a device), else to ErrorAbort (a file).
std::vector<VideoEvent> DrainBus(GstBus* bus, bool live);

// The text of the first error waiting on `bus`, taken off it; nothing when
// there is none.
std::optional<std::string> FirstError(GstBus* bus);

// Waits for a state change in progress to finish, at most `timeoutMs`.
bool WaitForState(GstElement* element, int timeoutMs);

// Unreferences a GStreamer object and nulls the pointer.
template <class T> void Unref(T*& object) {
    if (object) {
        gst_object_unref(object);
        object = nullptr;
    }
}

} // namespace halvera
