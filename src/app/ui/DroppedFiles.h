#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace halvera {

// The local files a drag from a file manager carries, in their order; links
// to anything but local files are left out. Empty when there is nothing the
// main window could open.
std::vector<std::string> DroppedFiles(const QMimeData* data);

} // namespace halvera
