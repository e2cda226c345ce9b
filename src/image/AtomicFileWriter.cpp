#include "image/AtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halvera {

namespace {

// The file a write to `path` should end up in: the file a symbolic link points
// to (so the link survives), otherwise `path` itself.
std::string ResolvedTarget(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

// A name in the target's folder that no other writer of this process uses.
std::string TemporaryName(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + name + "." + std::to_string(getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + "-" + std::to_string(attempt) + ".tmp";
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : targetPath_(ResolvedTarget(targetPath)) {}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Open() {
    Discard();
    struct stat existing {};
    const bool replacing = stat(targetPath_.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode))
        return false; // a folder or a device is never replaced by a file

    int descriptor = -1;
    for (unsigned attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporaryPath_ = TemporaryName(targetPath_, attempt);
        descriptor = open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST)
            break;
    }
    if (descriptor < 0) {
        temporaryPath_.clear();
        return false;
    }
    if (replacing)
        fchmod(descriptor, existing.st_mode & 07777); // best effort, as for a truncated file
    stream_ = fdopen(descriptor, "wb");
    if (stream_ == nullptr) {
        close(descriptor);
        Discard();
        return false;
    }
    return true;
}

bool AtomicFileWriter::Write(const void* data, size_t size) {
    return stream_ != nullptr && std::fwrite(data, 1, size, stream_) == size;
}

bool AtomicFileWriter::Commit() {
    if (stream_ == nullptr)
        return false;
    const bool written =
        std::fflush(stream_) == 0 && !std::ferror(stream_) && fsync(fileno(stream_)) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed || std::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporaryPath_.clear();
    return true;
}

void AtomicFileWriter::Discard() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temporaryPath_.empty()) {
        unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}

} // namespace halvera
