#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace halvera {

// The per-user settings store: integers and strings under a section and a key.
// The desktop program keeps them in the platform's per-user configuration; the
// batch tool and tests use MemorySettingsStore. A value that is absent, or that
// cannot be read as the type asked for, reads as nothing and the caller takes
// its default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::optional<int> readInt(std::string_view section, std::string_view key) = 0;
    virtual std::optional<std::string> readString(std::string_view section,
                                                  std::string_view key) = 0;
    virtual void writeInt(std::string_view section, std::string_view key, int value) = 0;
    virtual void writeString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    // Brings the store level with its file: pending writes go out, and what
    // another program wrote meanwhile (the batch tool's presets) comes in. A
    // store without a file has nothing to do.
    virtual void sync() {}
};

} // namespace halvera
