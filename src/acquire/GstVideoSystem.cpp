#include "acquire/GstVideoSystem.h"

#include "acquire/CaptureFolder.h"
#include "acquire/GstLiveVideo.h"
#include "acquire/GstPlayback.h"
#include "acquire/GstSupport.h"
#include "acquire/VideoMessages.h"
#include "acquire/VideoTexts.h"
#include "platform/UserPrompts.h"

namespace halvera {

namespace {

// The first 16 video sources the device monitor finds, with their names.
class DeviceList {
public:
    DeviceList() = default;
    DeviceList(DeviceList&& other) noexcept : devices_(std::move(other.devices_)) {
        other.devices_.clear();
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;
    ~DeviceList() {
        for (GstDevice* device : devices_)
            gst_object_unref(device);
    }

    void add(GstDevice* device) { devices_.push_back(device); }
    int size() const { return static_cast<int>(devices_.size()); }
    GstDevice* at(int index) const { return devices_[static_cast<size_t>(index)]; }

    static std::string NameOf(GstDevice* device) {
        gchar* name = gst_device_get_display_name(device);
        std::string text = name ? name : "";
        g_free(name);
        return text;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> list;
        for (GstDevice* device : devices_)
            list.push_back(NameOf(device));
        return list;
    }

private:
    std::vector<GstDevice*> devices_;
};

// Enumerates the video sources; nothing, after its message, when there is no
// enumerator or no device.
std::optional<DeviceList> EnumerateDevices() {
    GstDeviceMonitor* monitor = EnsureGStreamer() ? gst_device_monitor_new() : nullptr;
    if (!monitor) {
        ShowMessage(kMsgNoEnumerator);
        return {};
    }
    gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
    GList* found = gst_device_monitor_get_devices(monitor);
    gst_object_unref(monitor);
    DeviceList list;
    for (GList* item = found; item; item = item->next) {
        auto* device = static_cast<GstDevice*>(item->data);
        if (list.size() < kMaxVideoSources && !DeviceList::NameOf(device).empty())
            list.add(device);
        else
            gst_object_unref(device);
    }
    g_list_free(found);
    if (list.size() == 0) {
        ShowMessage(kMsgNoHardware);
        return {};
    }
    return list;
}

// The source element of device `index`, which must still be named `name`;
// null after the message when it is not, or cannot be created.
GstElement* CheckedSource(int index, const std::string& name) {
    std::optional<DeviceList> devices = EnumerateDevices();
    if (!devices)
        return nullptr;
    if (index < 0 || index >= devices->size() || DeviceList::NameOf(devices->at(index)) != name) {
        ShowMessage(kMsgSelectSource);
        return nullptr;
    }
    GstElement* source = gst_device_create_element(devices->at(index), "video-capture");
    if (!source)
        ShowMessage(kMsgCannotCreateSource);
    return source;
}

} // namespace

std::optional<std::vector<std::string>> GstVideoSystem::listSources() {
    std::optional<DeviceList> devices = EnumerateDevices();
    if (!devices)
        return {};
    return devices->names();
}

std::unique_ptr<LiveVideo> GstVideoSystem::openPreview(int index, const std::string& name) {
    if (!EnsureGStreamer() || !PreviewPluginsInstalled()) {
        ShowMessage(kMsgInstallPlugins);
        return nullptr;
    }
    GstElement* source = CheckedSource(index, name);
    return source ? StartPreviewPipeline(source) : nullptr;
}

std::unique_ptr<VideoRecording> GstVideoSystem::openRecording(int index, const std::string& name,
                                                              const std::string& file,
                                                              double rate) {
    if (!EnsureGStreamer() || !RecordingPluginsInstalled()) {
        ShowMessage(kMsgInstallPlugins);
        return nullptr;
    }
    // The file's place is checked before any device is touched.
    if (const std::optional<std::string> problem = CaptureFolderProblem(file)) {
        ShowMessage(*problem);
        return nullptr;
    }
    GstElement* source = CheckedSource(index, name);
    return source ? StartRecordingPipeline(source, file, rate) : nullptr;
}

std::unique_ptr<VideoPlayback> GstVideoSystem::openFile(const std::string& path) {
    if (!EnsureGStreamer() || !PlaybackPluginsInstalled()) {
        ShowMessage(kMsgInstallPlugins);
        return nullptr;
    }
    PlaybackOpening opening = OpenPlaybackPipeline(path);
    if (!opening.playback)
        ShowMessage(CannotPlayMessage(path, opening.failure));
    return std::move(opening.playback);
}

VideoSystem& Video() {
    static GstVideoSystem system;
    return system;
}

} // namespace halvera
