#include "app/RecentFileList.h"

#include <algorithm>

namespace halvera {

namespace {

constexpr std::string_view kSection = "Recent File List";

std::string KeyOf(std::size_t index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentFileList::add(const std::string& path) {
    if (path.empty() || capacity_ == 0)
        return;
    remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > capacity_)
        paths_.resize(capacity_);
}

void RecentFileList::remove(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

void RecentFileList::load(SettingsStore& store) {
    paths_.clear();
    for (std::size_t i = 0; i < capacity_; ++i) {
        std::optional<std::string> path = store.readString(kSection, KeyOf(i));
        if (path && !path->empty() &&
            std::find(paths_.begin(), paths_.end(), *path) == paths_.end())
            paths_.push_back(*path);
    }
}

void RecentFileList::save(SettingsStore& store) const {
    // Every slot is written, so entries dropped since the last run disappear.
    for (std::size_t i = 0; i < capacity_; ++i)
        store.writeString(kSection, KeyOf(i), i < paths_.size() ? paths_[i] : std::string());
}

} // namespace halvera
