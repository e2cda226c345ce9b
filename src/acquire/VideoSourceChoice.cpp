#include "acquire/VideoSourceChoice.h"

#include "acquire/VideoSystem.h"

namespace halvera {

std::optional<VideoSourceChoice> ChooseVideoSource(const VideoSourceChoice& stored) {
    const std::optional<std::vector<std::string>> names = Video().listSources();
    if (!names)
        return {};
    if (names->size() == 1)
        return VideoSourceChoice{0, names->front()};
    return stored;
}

} // namespace halvera
