#pragma once

#include "acquire/VideoSystem.h"

#include <gst/gst.h>
#include <memory>
#include <string>

namespace halvera {

// The live pipelines on a device's source element (which they take over):
//
//   preview:   source ! queue ! videoconvert ! BGR ! appsink
//   recording: source ! videorate ! framerate ! valve ! tee
//                tee ! queue ! videoconvert ! jpegenc ! avimux ! filesink
//                tee ! queue (leaky) ! videoconvert ! BGR ! appsink
//
// The appsink keeps only the newest frame (max-buffers=1, drop=true): an
// appsink that is not drained would block the tee, and the end of a recording
// could then never reach the file.
//
// Both return null, after their message (the framework's reason when it
// gives one, such as a capture file that cannot be opened for writing), when
// the pipeline cannot be built or started; they are running otherwise.
std::unique_ptr<LiveVideo> StartPreviewPipeline(GstElement* source);
std::unique_ptr<VideoRecording> StartRecordingPipeline(GstElement* source, const std::string& file,
                                                       double rate);

// True when every element the pipelines need is installed.
bool PreviewPluginsInstalled();
bool RecordingPluginsInstalled();

} // namespace halvera
