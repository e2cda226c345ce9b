#include "acquire/SimulatedCamera.h"

#include <atomic>
#include <gst/gst.h>
#include <string>

namespace halvera {

namespace {

std::atomic<bool> gUnplugged{false};
std::atomic<int> gCameraCount{1};

// The source: a moving colour-bar pattern, live, at a fixed size and rate,
// through a balance element that gives the device its adjustable properties.
// The caps go through an explicit capsfilter: a caps string at the end of a
// bin description does not parse.
constexpr char kSourceDescription[] =
    "videotestsrc name=pattern is-live=true pattern=smpte horizontal-speed=4 "
    "! capsfilter caps=\"video/x-raw,format=I420,width=320,height=240,framerate=30/1\" "
    "! videobalance";

// Once unplugged, the stream drops every frame, and the first one dropped
// reports the device error that a real source reports.
GstPadProbeReturn DropWhenUnplugged(GstPad* pad, GstPadProbeInfo*, gpointer) {
    if (!gUnplugged.load())
        return GST_PAD_PROBE_OK;
    GstElement* source = gst_pad_get_parent_element(pad);
    if (source && !g_object_get_data(G_OBJECT(source), "halvera-unplugged")) {
        g_object_set_data(G_OBJECT(source), "halvera-unplugged", GINT_TO_POINTER(1));
        GError* error =
            g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_READ, "Device unplugged");
        gst_element_post_message(
            source, gst_message_new_error(GST_OBJECT(source), error, "simulated unplug"));
        g_error_free(error);
    }
    if (source)
        gst_object_unref(source);
    return GST_PAD_PROBE_DROP;
}

} // namespace

} // namespace halvera

// ---- GObject types (C linkage names, as GStreamer's own plugins declare them)

extern "C" {

struct HalveraSimCamera {
    GstDevice parent;
};
struct HalveraSimCameraClass {
    GstDeviceClass parent_class;
};
struct HalveraSimProvider {
    GstDeviceProvider parent;
};
struct HalveraSimProviderClass {
    GstDeviceProviderClass parent_class;
};

G_DEFINE_TYPE(HalveraSimCamera, halvera_sim_camera, GST_TYPE_DEVICE)
G_DEFINE_TYPE(HalveraSimProvider, halvera_sim_provider, GST_TYPE_DEVICE_PROVIDER)

static GstElement* halvera_sim_camera_create_element(GstDevice*, const gchar* name) {
    GError* error = nullptr;
    GstElement* bin = gst_parse_bin_from_description(halvera::kSourceDescription, TRUE, &error);
    if (!bin) {
        if (error)
            g_error_free(error);
        return nullptr;
    }
    if (name)
        gst_object_set_name(GST_OBJECT(bin), name);
    if (GstElement* pattern = gst_bin_get_by_name(GST_BIN(bin), "pattern")) {
        if (GstPad* pad = gst_element_get_static_pad(pattern, "src")) {
            gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, halvera::DropWhenUnplugged, nullptr,
                              nullptr);
            gst_object_unref(pad);
        }
        gst_object_unref(pattern);
    }
    return bin;
}

static void halvera_sim_camera_class_init(HalveraSimCameraClass* klass) {
    GST_DEVICE_CLASS(klass)->create_element = halvera_sim_camera_create_element;
}

static void halvera_sim_camera_init(HalveraSimCamera*) {}

static GList* halvera_sim_provider_probe(GstDeviceProvider*) {
    GstCaps* caps = gst_caps_from_string("video/x-raw,width=320,height=240,framerate=30/1");
    GList* cameras = nullptr;
    for (int number = 1; number <= halvera::gCameraCount.load(); ++number) {
        const std::string name =
            number == 1 ? std::string(halvera::kSimulatedCameraName)
                        : halvera::kSimulatedCameraName + (" " + std::to_string(number));
        cameras = g_list_append(cameras, g_object_new(halvera_sim_camera_get_type(), "display-name",
                                                      name.c_str(), "device-class", "Video/Source",
                                                      "caps", caps, nullptr));
    }
    gst_caps_unref(caps);
    return cameras;
}

static void halvera_sim_provider_class_init(HalveraSimProviderClass* klass) {
    GstDeviceProviderClass* provider = GST_DEVICE_PROVIDER_CLASS(klass);
    provider->probe = halvera_sim_provider_probe;
    gst_device_provider_class_set_static_metadata(provider, "Simulated camera provider",
                                                  "Source/Video",
                                                  "A moving test pattern as a camera", "Halvera");
}

static void halvera_sim_provider_init(HalveraSimProvider*) {}

static gboolean halvera_sim_plugin_init(GstPlugin* plugin) {
    return gst_device_provider_register(plugin, "halverasimulatedcamera", GST_RANK_PRIMARY,
                                        halvera_sim_provider_get_type());
}

} // extern "C"

namespace halvera {

bool RegisterSimulatedCamera() {
    if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
        return false;
    static const bool registered = gst_plugin_register_static(
        GST_VERSION_MAJOR, GST_VERSION_MINOR, "halverasimulatedcamera",
        "A simulated camera for tests and demonstrations", halvera_sim_plugin_init, "0.1",
        "unknown", "halvera", "Halvera", "https://halvera.invalid");
    return registered;
}

void SetSimulatedCameraCount(int count) {
    gCameraCount.store(count);
}

void SetSimulatedCamerasUnplugged(bool unplugged) {
    gUnplugged.store(unplugged);
}

} // namespace halvera
