#include "platform/MemorySettingsStore.h"

#include <charconv>

namespace halvera {

namespace {

std::pair<std::string, std::string> Key(std::string_view section, std::string_view key) {
    return {std::string(section), std::string(key)};
}

} // namespace

std::optional<int> MemorySettingsStore::readInt(std::string_view section, std::string_view key) {
    const auto text = readString(section, key);
    if (!text)
        return std::nullopt;
    int value = 0;
    const char* last = text->data() + text->size();
    const auto [end, error] = std::from_chars(text->data(), last, value);
    if (error != std::errc() || end != last || text->empty())
        return std::nullopt;
    return value;
}

std::optional<std::string> MemorySettingsStore::readString(std::string_view section,
                                                           std::string_view key) {
    const auto found = values_.find(Key(section, key));
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

void MemorySettingsStore::writeInt(std::string_view section, std::string_view key, int value) {
    values_[Key(section, key)] = std::to_string(value);
}

void MemorySettingsStore::writeString(std::string_view section, std::string_view key,
                                      std::string_view value) {
    values_[Key(section, key)] = std::string(value);
}

} // namespace halvera
