#pragma once

#include <optional>
#include <string>
#include <utility>

namespace halvera {

// How far from a given position an edge is searched, in pixels, unless the
// user asks otherwise.
inline constexpr double kDefaultSnapRadius = 8.0;

// Why a measurement on edges found nothing.
enum class EdgeMiss {
    None,
    OutsidePicture,    // the search does not reach into the picture
    NoEdge,            // a flat picture, or no edge with contrast within reach
    TooFewPoints,      // fewer edge points than the fit needs
    FewerThanTwoEdges, // a width's segment crosses one edge or none
};

// The reason in words, for a one-line message: "no edge with contrast within
// 8 pixels".
std::string EdgeMissText(EdgeMiss miss, double radius);

// What a measurement on edges gives: what it found, or why it found nothing.
template <typename Found> class EdgeResult {
public:
    EdgeResult(Found found) : found_(std::move(found)) {}
    EdgeResult(EdgeMiss miss) : miss_(miss) {}

    explicit operator bool() const { return found_.has_value(); }
    const Found& operator*() const { return *found_; }
    const Found* operator->() const { return &*found_; }
    EdgeMiss miss() const { return miss_; }

private:
    std::optional<Found> found_;
    EdgeMiss miss_ = EdgeMiss::None;
};

} // namespace halvera
