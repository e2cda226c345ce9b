#include "document/UndoMemoryBudget.h"

#include "document/UndoBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace halvera {

std::string UndoMemoryBudget::UserCacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && *cache == '/')
        return std::string(cache) + "/halvera";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "/tmp") + "/.cache/halvera";
}

void UndoMemoryBudget::setLimit(size_t bytes) {
    limit_ = bytes;
    KeepWithinLimit();
}

void UndoMemoryBudget::Register(UndoBuffer* history) {
    histories_.push_back(history);
}

void UndoMemoryBudget::Unregister(UndoBuffer* history) {
    std::erase(histories_, history);
}

size_t UndoMemoryBudget::heldBytes() const {
    size_t bytes = 0;
    for (const UndoBuffer* history : histories_)
        bytes += history->heldBytes();
    return bytes;
}

UndoBuffer* UndoMemoryBudget::HistoryWithOldestStepInMemory() const {
    UndoBuffer* oldest = nullptr;
    uint64_t oldestNumber = std::numeric_limits<uint64_t>::max();
    for (UndoBuffer* history : histories_) {
        const uint64_t number = history->OldestStepInMemory();
        if (number != 0 && number < oldestNumber) {
            oldest = history;
            oldestNumber = number;
        }
    }
    return oldest;
}

void UndoMemoryBudget::KeepWithinLimit() {
    if (keeping_)
        return;
    keeping_ = true;
    while (heldBytes() > limit_) {
        UndoBuffer* history = HistoryWithOldestStepInMemory();
        if (!history)
            break;
        if (history->SpillOldestStep(cacheFolder_))
            continue;
        if (!history->DropOldestStep())
            break;
        if (notice_)
            notice_(kStepDroppedNotice);
    }
    keeping_ = false;
}

UndoMemoryBudget& UndoBudget() {
    static UndoMemoryBudget budget;
    return budget;
}

} // namespace halvera
