#include "processing/ArithmeticOverlap.h"

namespace halvera::arithmetic {

namespace {

// Byte offset of a single channel within a blue-green-red pixel.
int ChannelOffset(ArithmeticChannel channel) {
    return 3 - static_cast<int>(channel);
}

ChannelMap SameChannels() {
    return ChannelMap{};
}

ChannelMap OneChannel(int target, int fromA, int fromB) {
    ChannelMap map;
    map.count = 1;
    map.target[0] = target;
    map.fromA[0] = fromA;
    map.fromB[0] = fromB;
    return map;
}

} // namespace

ChannelMap SingleChannelRule(ArithmeticChannel output, ArithmeticChannel input) {
    const bool allOut = output == ArithmeticChannel::Rgb;
    const bool allIn = input == ArithmeticChannel::Rgb;
    if (!allOut && !allIn)
        return OneChannel(ChannelOffset(output), ChannelOffset(output), ChannelOffset(input));
    ChannelMap map = SameChannels();
    for (int c = 0; c < 3; ++c) {
        if (!allOut)
            map.fromA[c] = ChannelOffset(output);
        if (!allIn)
            map.fromB[c] = ChannelOffset(input);
    }
    return map;
}

ChannelMap WholePixelRule(ArithmeticChannel output, ArithmeticChannel input) {
    ChannelMap map = SameChannels();
    if (output != ArithmeticChannel::Rgb && input != ArithmeticChannel::Rgb)
        for (int c = 0; c < 3; ++c)
            map.fromB[c] = ChannelOffset(input);
    return map;
}

ChannelMap NegationRule(ArithmeticChannel output, ArithmeticChannel input) {
    if (output != ArithmeticChannel::Rgb && input != ArithmeticChannel::Rgb)
        return OneChannel(ChannelOffset(output), ChannelOffset(output), ChannelOffset(output));
    return SameChannels();
}

} // namespace halvera::arithmetic
