#pragma once

namespace halvera {

// The messages of video preview, capture and playback, shown verbatim.
inline constexpr char kMsgNoEnumerator[] = "Error Creating Device Enumerator!";
inline constexpr char kMsgNoHardware[] = "You have no video capture hardware!";
inline constexpr char kMsgSelectSource[] = "Please select a video source!";
inline constexpr char kMsgCannotCreateSource[] = "Cannot create video capture filter!";
inline constexpr char kMsgCannotRender[] = "Could not render capture pin!";
// The media framework itself (or one of the plugins the pipelines need) is missing.
inline constexpr char kMsgInstallPlugins[] =
    "Please install the GStreamer plugins (gstreamer1.0-plugins-good).";

} // namespace halvera
