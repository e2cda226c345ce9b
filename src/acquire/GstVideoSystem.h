#pragma once

#include "acquire/VideoSystem.h"

namespace halvera {

// The video system on GStreamer: devices through the framework's device
// monitor (class "Video/Source"), the pipelines of GstLiveVideo.h and
// GstPlayback.h.
class GstVideoSystem final : public VideoSystem {
public:
    std::optional<std::vector<std::string>> listSources() override;
    std::unique_ptr<LiveVideo> openPreview(int index, const std::string& name) override;
    std::unique_ptr<VideoRecording> openRecording(int index, const std::string& name,
                                                  const std::string& file, double rate) override;
    std::unique_ptr<VideoPlayback> openFile(const std::string& path) override;
};

} // namespace halvera
