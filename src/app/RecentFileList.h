#pragma once

#include "platform/SettingsStore.h"

#include <cstddef>
#include <string>
#include <vector>

namespace halvera {

// The recent-file list of the File menu: the last files opened or saved,
// newest first, each path once (compared exactly), at most `capacity`.
// Kept in the settings store under "Recent File List", keys File1, File2, ...
class RecentFileList {
public:
    explicit RecentFileList(std::size_t capacity) : capacity_(capacity) {}

    // Puts `path` first, dropping an older entry of the same path and the
    // oldest entry when the list is full.
    void add(const std::string& path);
    void remove(const std::string& path);

    const std::vector<std::string>& paths() const { return paths_; }
    std::size_t capacity() const { return capacity_; }

    void load(SettingsStore& store);
    void save(SettingsStore& store) const;

private:
    std::size_t capacity_;
    std::vector<std::string> paths_;
};

} // namespace halvera
