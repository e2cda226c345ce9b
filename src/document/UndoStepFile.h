#pragma once

#include "document/CompressedBlock.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace halvera {

// One undo step moved out of memory: the compressed chunks of its two
// differences, one after the other, in a file of its own in the cache
// folder. Only the chunk sizes stay in memory. The file is written whole or
// not at all, and removed when this object goes (the step dropped or
// discarded, the image closed, the program ended).
class UndoStepFile {
public:
    // Writes the step as `name` in `folder` (made when missing); null when it
    // cannot be written whole (the disk is full, the folder not writable).
    static std::unique_ptr<UndoStepFile> Write(const std::string& folder, const std::string& name,
                                               const BlockDelta& before, const BlockDelta& after);
    ~UndoStepFile();
    UndoStepFile(const UndoStepFile&) = delete;
    UndoStepFile& operator=(const UndoStepFile&) = delete;

    // Reads the two differences back, byte for byte as written; false when
    // the file can no longer be read.
    bool Read(BlockDelta& before, BlockDelta& after) const;

    const std::string& path() const { return path_; }
    bool beforeChanges() const;
    bool afterChanges() const;

private:
    explicit UndoStepFile(std::string path) : path_(std::move(path)) {}

    std::string path_;
    // Per chunk its compressed size, 0 for a chunk without change.
    std::vector<uint32_t> beforeSizes_;
    std::vector<uint32_t> afterSizes_;
};

// The name of a step's file in the cache folder. It starts with
// "undo-PID-", the number of the program that wrote it, so that the files a
// program left behind when it crashed can be told from those of programs
// still running.
std::string StepFileName(uint64_t history, uint64_t step, bool mask);

// Removes the step files in `folder` whose program is no longer running (it
// crashed before it could remove them); returns how many went. Files of
// running programs and every other file stay.
int RemoveStepFilesOfEndedPrograms(const std::string& folder);

} // namespace halvera
