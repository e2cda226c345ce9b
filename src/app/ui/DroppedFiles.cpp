#include "app/ui/DroppedFiles.h"

#include <QMimeData>
#include <QUrl>

namespace halvera {

std::vector<std::string> DroppedFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    }
    return files;
}

} // namespace halvera
