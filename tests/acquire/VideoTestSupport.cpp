#include "VideoTestSupport.h"

#include "acquire/SimulatedCamera.h"
#include "image/BitmapInfoHeader.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace halvera::testing {

void UseSimulatedCamera() {
    RegisterSimulatedCamera();
    SetSimulatedCamerasUnplugged(false);
}

std::optional<int> SimulatedCameraIndex() {
    const std::optional<std::vector<std::string>> names = Video().listSources();
    if (!names)
        return {};
    for (size_t i = 0; i < names->size(); ++i) {
        if ((*names)[i] == kSimulatedCameraName)
            return static_cast<int>(i);
    }
    return {};
}

int64_t RecordSimulated(const std::string& file, double seconds, double rate) {
    const std::optional<int> index = SimulatedCameraIndex();
    if (!index)
        return -1;
    std::unique_ptr<VideoRecording> recording =
        Video().openRecording(*index, kSimulatedCameraName, file, rate);
    if (!recording)
        return -1;
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return recording->finish();
}

bool SamePicture(const PackedDib& a, const PackedDib& b) {
    return a && b && a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0;
}

bool HasDifferentPixels(const PackedDib& picture) {
    if (!picture || picture.size() <= sizeof(BitmapInfoHeader) + 1)
        return false;
    const uint8_t* pixels = picture.data() + sizeof(BitmapInfoHeader);
    const size_t count = picture.size() - sizeof(BitmapInfoHeader);
    for (size_t i = 1; i < count; ++i) {
        if (pixels[i] != pixels[0])
            return true;
    }
    return false;
}

} // namespace halvera::testing
