#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace halvera {

class UndoBuffer;

// The memory the undo histories of all open images may hold together
// ("Undo memory"). Past it the oldest steps, whichever image they belong to,
// move to files in the cache folder and are read back when undone or
// redone, as exact as in memory. Only when a step cannot be written (the disk
// is full too) is the oldest step of that image dropped, and the notice says
// so. The step files are removed with their steps: when a step is dropped or
// discarded, when its image closes, when the program ends.
class UndoMemoryBudget {
public:
    static constexpr size_t kDefaultLimit = size_t{512} << 20;
    // Shown in the status bar when a step had to go.
    static constexpr const char* kStepDroppedNotice =
        "The oldest undo step was dropped: undo memory and disk are full.";

    size_t limit() const { return limit_; }
    // Sets the limit and keeps to it at once.
    void setLimit(size_t bytes);
    // The "Undo memory" setting, in megabytes (AppSettings::UndoMemory).
    void setLimitMegabytes(int megabytes) { setLimit(static_cast<size_t>(megabytes) << 20); }

    // `$XDG_CACHE_HOME/halvera`, else `~/.cache/halvera`, unless set.
    const std::string& cacheFolder() const { return cacheFolder_; }
    void setCacheFolder(std::string folder) { cacheFolder_ = std::move(folder); }
    static std::string UserCacheFolder();

    // Where a dropped step is told of (the main window's status bar).
    void setNotice(std::function<void(const std::string&)> notice) { notice_ = std::move(notice); }

    // The histories register themselves while they live.
    void Register(UndoBuffer* history);
    void Unregister(UndoBuffer* history);

    // Bytes the registered histories hold in memory.
    size_t heldBytes() const;
    // Moves the oldest steps to the cache folder until the histories are
    // within the limit or nothing more can move.
    void KeepWithinLimit();

    // A running number for each recorded step, oldest first, over all images.
    uint64_t NextStepNumber() { return ++steps_; }

private:
    UndoBuffer* HistoryWithOldestStepInMemory() const;

    size_t limit_ = kDefaultLimit;
    std::string cacheFolder_ = UserCacheFolder();
    std::function<void(const std::string&)> notice_;
    std::vector<UndoBuffer*> histories_;
    uint64_t steps_ = 0;
    bool keeping_ = false;
};

// The program's one budget, shared by every document.
UndoMemoryBudget& UndoBudget();

} // namespace halvera
