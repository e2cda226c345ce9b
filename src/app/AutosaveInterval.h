#pragma once

#include <chrono>

namespace halvera {

// How often modified images are copied to the recovery folder: every
// `minutes` (the "Autosave minutes" setting; 0 or less turns autosave off).
// `testSeconds`, the value of the environment variable
// HALVERA_AUTOSAVE_SECONDS, is a hook for tests that cannot wait minutes:
// a whole number of seconds above 0 there takes the setting's place.
// Zero means off.
std::chrono::milliseconds AutosaveInterval(int minutes, const char* testSeconds);

} // namespace halvera
