#include "image/WholeFileWrite.h"

#include "image/BmpFile.h"
#include "platform/UserPrompts.h"

namespace halvera {

namespace {

constexpr int kSaveError = 2;

} // namespace

bool WriteFileWhole(const std::string& path,
                    const std::function<bool(AtomicFileWriter& file)>& contents) {
    AtomicFileWriter file(path);
    bool written = false;
    if (file.Open()) {
        WaitCursor wait;
        written = contents(file) && file.Commit();
    }
    if (!written)
        CBmpFile::ReportFileError(kSaveError);
    return written;
}

} // namespace halvera
