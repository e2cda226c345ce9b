#include "document/UndoStepFile.h"

#include "image/AtomicFileWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <new>

namespace halvera {

namespace {

std::vector<uint32_t> SizesOf(const BlockDelta& delta) {
    std::vector<uint32_t> sizes;
    for (const CompressedChunk& chunk : delta.chunks)
        sizes.push_back(chunk ? static_cast<uint32_t>(chunk->size()) : 0);
    return sizes;
}

bool WriteChunks(AtomicFileWriter& file, const BlockDelta& delta) {
    for (const CompressedChunk& chunk : delta.chunks)
        if (chunk && !file.Write(chunk->data(), chunk->size()))
            return false;
    return true;
}

bool ReadChunks(std::FILE* file, const std::vector<uint32_t>& sizes, BlockDelta& delta) {
    delta.chunks.assign(sizes.size(), nullptr);
    for (size_t c = 0; c < sizes.size(); ++c) {
        if (sizes[c] == 0)
            continue;
        auto bytes = std::make_shared<std::vector<uint8_t>>(sizes[c]);
        if (std::fread(bytes->data(), 1, sizes[c], file) != sizes[c])
            return false;
        delta.chunks[c] = std::move(bytes);
    }
    return true;
}

bool AnyChunk(const std::vector<uint32_t>& sizes) {
    return std::any_of(sizes.begin(), sizes.end(), [](uint32_t size) { return size != 0; });
}

} // namespace

std::unique_ptr<UndoStepFile> UndoStepFile::Write(const std::string& folder,
                                                  const std::string& name, const BlockDelta& before,
                                                  const BlockDelta& after) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::unique_ptr<UndoStepFile> step(new UndoStepFile(folder + "/" + name));
    AtomicFileWriter file(step->path_);
    if (!file.Open() || !WriteChunks(file, before) || !WriteChunks(file, after) || !file.Commit()) {
        step->path_.clear(); // nothing of it is on disk
        return nullptr;
    }
    step->beforeSizes_ = SizesOf(before);
    step->afterSizes_ = SizesOf(after);
    return step;
}

UndoStepFile::~UndoStepFile() {
    if (!path_.empty())
        std::remove(path_.c_str());
}

bool UndoStepFile::Read(BlockDelta& before, BlockDelta& after) const {
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (!file)
        return false;
    bool read = false;
    try {
        read = ReadChunks(file, beforeSizes_, before) && ReadChunks(file, afterSizes_, after);
    } catch (const std::bad_alloc&) {
        read = false;
    }
    std::fclose(file);
    return read;
}

bool UndoStepFile::beforeChanges() const {
    return AnyChunk(beforeSizes_);
}

bool UndoStepFile::afterChanges() const {
    return AnyChunk(afterSizes_);
}

} // namespace halvera
