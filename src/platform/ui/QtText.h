#pragma once

#include <QString>
#include <string_view>

namespace halvera {

// The core's texts are UTF-8; every text a window shows passes through here.
inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace halvera
