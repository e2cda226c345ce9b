#pragma once

namespace halvera {

// The device name of the simulated camera.
inline constexpr char kSimulatedCameraName[] = "Simulated camera";

// Registers, once per process, a device provider with one video source named
// "Simulated camera": a live moving test pattern of 320 x 240 at 30 frames
// per second with brightness, contrast, hue and saturation to adjust. The
// framework's own device monitor finds it next to real cameras, so every
// pipeline runs unchanged on a machine without one. GStreamer is initialised
// first when it is not yet. The desktop program and the batch tool register
// it when HALVERA_SIMULATED_CAMERA=1 is set; tests call this directly.
bool RegisterSimulatedCamera();

// How many simulated cameras the provider offers (1 at start): the first is
// "Simulated camera", the others "Simulated camera 2", "... 3" and so on. For
// tests of a choice among several sources.
void SetSimulatedCameraCount(int count);

// Unplugged, every running simulated camera stops sending frames and reports
// a device error, as a real one pulled from its socket does; plugged in again,
// new streams run. For tests of that path.
void SetSimulatedCamerasUnplugged(bool unplugged);

} // namespace halvera
