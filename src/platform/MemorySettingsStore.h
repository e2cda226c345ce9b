#pragma once

#include "platform/SettingsStore.h"

#include <map>
#include <string>
#include <utility>

namespace halvera {

// A settings store that lives in memory, for the batch tool and tests. Values
// are kept as text, as a profile file would: an integer written is read back
// as text, and text that is a whole decimal number reads as an integer.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<int> readInt(std::string_view section, std::string_view key) override;
    std::optional<std::string> readString(std::string_view section, std::string_view key) override;
    void writeInt(std::string_view section, std::string_view key, int value) override;
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Number of values held, for tests that check what was written.
    size_t size() const { return values_.size(); }

private:
    std::map<std::pair<std::string, std::string>, std::string, std::less<>> values_;
};

} // namespace halvera
