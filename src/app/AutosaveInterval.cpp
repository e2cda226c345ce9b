#include "app/AutosaveInterval.h"

#include <charconv>
#include <cstring>

namespace halvera {

std::chrono::milliseconds AutosaveInterval(int minutes, const char* testSeconds) {
    if (testSeconds) {
        int seconds = 0;
        const char* end = testSeconds + std::strlen(testSeconds);
        const auto [stop, error] = std::from_chars(testSeconds, end, seconds);
        if (error == std::errc() && stop == end && seconds > 0)
            return std::chrono::seconds(seconds);
    }
    return std::chrono::minutes(minutes > 0 ? minutes : 0);
}

} // namespace halvera
