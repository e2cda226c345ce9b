#include "document/UndoStepFile.h"

#include "image/AtomicFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <string_view>
#include <unistd.h>

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

constexpr std::string_view kStepFilePrefix = "undo-";
constexpr std::string_view kStepFileEnding = ".step";

// The number of the program that wrote the step file `name`; none for a
// name of another form.
std::optional<pid_t> WriterOf(std::string_view name) {
    if (!name.starts_with(kStepFilePrefix) || !name.ends_with(kStepFileEnding))
        return std::nullopt;
    name.remove_prefix(kStepFilePrefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || pid <= 0 || end == name.data() + name.size() || *end != '-')
        return std::nullopt;
    return pid;
}

bool IsRunning(pid_t pid) {
    // Signal 0 only asks; a process of another user answers EPERM.
    return kill(pid, 0) == 0 || errno == EPERM;
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

std::string StepFileName(uint64_t history, uint64_t step, bool mask) {
    return std::string(kStepFilePrefix) + std::to_string(getpid()) + "-" + std::to_string(history) +
           "-" + std::to_string(step) + "-" + (mask ? "1" : "0") + std::string(kStepFileEnding);
}

int RemoveStepFilesOfEndedPrograms(const std::string& folder) {
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::optional<pid_t> writer = WriterOf(entry.path().filename().string());
        if (writer && !IsRunning(*writer) && std::filesystem::remove(entry.path(), error))
            ++removed;
    }
    return removed;
}

} // namespace halvera
