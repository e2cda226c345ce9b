#pragma once

#include <cstdio>
#include <string>

namespace halvera {

// Writes a file so that the target is replaced only by a complete file: the
// bytes go to a new file beside the target, which is flushed to disk and then
// renamed over the target. Until Commit succeeds the target is untouched; a
// writer destroyed without a successful Commit removes its temporary file.
//
// The new file takes the permissions of the file it replaces, or the usual
// ones (0666 less the umask) when there is none.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file. False when the target's folder cannot be written.
    bool Open();
    // The open temporary file for writing, or null.
    std::FILE* stream() const { return stream_; }
    // Writes `size` bytes; false when not all of them could be written.
    bool Write(const void* data, size_t size);
    // Flushes, closes and renames the temporary file over the target. False on
    // any failure, including an earlier write error; the target is then untouched.
    bool Commit();

private:
    void Discard();

    std::string targetPath_;
    std::string temporaryPath_;
    std::FILE* stream_ = nullptr;
};

} // namespace halvera
